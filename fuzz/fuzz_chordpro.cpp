// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The ChordPro file of whatever a database's bytes decode to: every line must stay one
// directive or one remark, whatever the names and fret values hold. The MusicXML and JSON
// writers run over the same chords: no markup character of a name may reach them unescaped.
// The MIDI file must stay well-formed: every chunk as long as it says, every event whole, every
// data byte below 0x80, every track ended.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordJsonWriter.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/export/MidiWriter.h"
#include "strumlet/export/MusicXmlWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace {

uint32_t Variable(std::string_view& in) {
  uint32_t value = 0;
  for (int n = 0; n < 4; ++n) {
    if (in.empty()) __builtin_trap();
    const auto byte = static_cast<unsigned char>(in.front());
    in.remove_prefix(1);
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return value;
  }
  __builtin_trap();
}

uint32_t BigEndian(std::string_view in, std::size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | static_cast<unsigned char>(in[at + i]);
  return value;
}

void CheckMidi(std::string_view midi) {
  if (midi.size() < 14 || midi.substr(0, 4) != "MThd") __builtin_trap();
  const uint32_t tracks = BigEndian(midi, 10, 2);
  std::string_view rest = midi.substr(14);
  for (uint32_t t = 0; t < tracks; ++t) {
    if (rest.size() < 8 || rest.substr(0, 4) != "MTrk") __builtin_trap();
    const uint32_t length = BigEndian(rest, 4, 4);
    if (rest.size() - 8 < length) __builtin_trap();
    std::string_view track = rest.substr(8, length);
    rest.remove_prefix(8 + length);
    bool ended = false;
    while (!track.empty()) {
      if (ended) __builtin_trap();  // nothing after the end of the track
      Variable(track);
      if (track.empty()) __builtin_trap();
      const auto status = static_cast<unsigned char>(track.front());
      track.remove_prefix(1);
      std::size_t data = 0;
      if (status == 0xFF) {
        if (track.empty()) __builtin_trap();
        ended = track.front() == 0x2F;
        track.remove_prefix(1);
        data = Variable(track);
      } else if ((status & 0xF0) == 0x90 || (status & 0xF0) == 0x80) {
        data = 2;
      } else if ((status & 0xF0) == 0xC0) {
        data = 1;
      } else {
        __builtin_trap();
      }
      if (track.size() < data) __builtin_trap();
      if (status != 0xFF) {
        for (std::size_t i = 0; i < data; ++i) {
          if (static_cast<unsigned char>(track[i]) >= 0x80) __builtin_trap();
        }
      }
      track.remove_prefix(data);
    }
    if (!ended) __builtin_trap();
  }
  if (!rest.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static strumlet::SilentMessenger discard;
  static strumlet::ScopedMessenger scoped(discard);
  for (int order : {0, 1, 2, 3}) {
    strumlet::ChordDatabase db;
    strumlet::MemorySource source(std::span<const uint8_t>(data, size));
    if (strumlet::ParseDatabase(source, order, db) != 0) return 0;
    const std::string file = strumlet::WriteChordPro(
        std::string(reinterpret_cast<const char*>(db.header.name.data()), 32), db.chords,
        db.categories, order);
    const std::string title(reinterpret_cast<const char*>(db.header.name.data()), 32);
    const std::string xml = strumlet::WriteMusicXml(title, db.chords, db.categories, order);
    // Every "<" opens one of the writer's own elements or comments.
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
      const char next = at + 1 < xml.size() ? xml[at + 1] : '\0';
      if (!(next >= 'a' && next <= 'z') && next != '/' && next != '!' && next != '?') {
        __builtin_trap();
      }
    }
    CheckMidi(strumlet::WriteMidi(title, db.chords, db.categories, order));
    const std::string json = strumlet::WriteChordJson(title, db.chords, db.categories, order);
    for (const char c : json) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\n') __builtin_trap();
    }
    std::string_view rest = file;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      if (end == std::string_view::npos) __builtin_trap();  // every line is ended
      const std::string_view line = rest.substr(0, end);
      const bool directive = line.size() >= 2 && line.front() == '{' && line.back() == '}';
      const bool remark = line.starts_with("# ");
      if (!directive && !remark) __builtin_trap();
      if (line.find('\r') != std::string_view::npos) __builtin_trap();
      rest.remove_prefix(end + 1);
    }
  }
  return 0;
}
