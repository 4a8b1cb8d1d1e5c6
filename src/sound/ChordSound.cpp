// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/sound/ChordSound.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "strumlet/core/AtomicFile.h"

namespace strumlet {
namespace {

// A plucked chord keeps its sound, and a file stays near 11 kB (0.5 took a third more). (Opus,
// at the same size, took twice the time to encode, without a setting for its effort.)
constexpr double kCompressionLevel = 0.8;

// The file's bytes, kept in memory until they are whole.
struct MemoryFile {
  std::string bytes;
  sf_count_t at = 0;
};

sf_count_t Length(void* data) { return static_cast<MemoryFile*>(data)->bytes.size(); }

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  auto* file = static_cast<MemoryFile*>(data);
  const sf_count_t base = whence == SEEK_SET   ? 0
                          : whence == SEEK_CUR ? file->at
                                               : static_cast<sf_count_t>(file->bytes.size());
  file->at = std::max<sf_count_t>(0, base + offset);
  return file->at;
}

sf_count_t Read(void* out, sf_count_t count, void* data) {
  auto* file = static_cast<MemoryFile*>(data);
  const sf_count_t size = static_cast<sf_count_t>(file->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(size - file->at, 0, count);
  std::memcpy(out, file->bytes.data() + file->at, static_cast<std::size_t>(n));
  file->at += n;
  return n;
}

sf_count_t Write(const void* in, sf_count_t count, void* data) {
  auto* file = static_cast<MemoryFile*>(data);
  const std::size_t end = static_cast<std::size_t>(file->at + count);
  if (file->bytes.size() < end) file->bytes.resize(end);
  std::memcpy(file->bytes.data() + file->at, in, static_cast<std::size_t>(count));
  file->at += count;
  return count;
}

sf_count_t Tell(void* data) { return static_cast<MemoryFile*>(data)->at; }

}  // namespace

Result<std::string> EncodeOgg(const std::vector<float>& samples, int sampleRate) {
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  MemoryFile file;
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (sound == nullptr) {
    return Error{Error::Kind::kUnavailable, {}, sf_strerror(nullptr), 0};
  }
  double level = kCompressionLevel;
  sf_command(sound, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
  sf_command(sound, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const sf_count_t written =
      sf_writef_float(sound, samples.data(), static_cast<sf_count_t>(samples.size()));
  std::string problem =
      written == static_cast<sf_count_t>(samples.size()) ? std::string() : sf_strerror(sound);
  if (sf_close(sound) != 0 && problem.empty()) problem = "the audio file could not be finished";
  if (!problem.empty()) return Error{Error::Kind::kUnavailable, {}, problem, 0};
  return std::move(file.bytes);
}

Result<void> WriteChordSound(ChordSynth& synth, const ChordStrum& strum,
                             const std::filesystem::path& path) {
  Result<std::string> bytes = EncodeOgg(synth.RenderStrum(strum), synth.sampleRate());
  if (!bytes) {
    Error error = bytes.error();
    error.path = path.native();
    return error;
  }
  AtomicFile file;
  // Like the diagrams, many small files of a page: no sync of each.
  AtomicFile::Options options;
  options.sync = false;
  if (!file.Open(path, options) || !file.Write(*bytes) || !file.Commit()) {
    return Error{Error::Kind::kIo, path.native(), {}, file.error()};
  }
  return {};
}

}  // namespace strumlet
