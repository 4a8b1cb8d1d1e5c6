// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/MidiWriter.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/export/ChordStrum.h"
#include "strumlet/pdb/HeadingTracker.h"

namespace strumlet {
namespace {

constexpr int kTicksPerQuarter = kStrumTicksPerQuarter;
constexpr int kTicksPerBar = 4 * kTicksPerQuarter;
constexpr int kMicrosecondsPerQuarter = kStrumMicrosecondsPerQuarter;
constexpr int kVelocity = kStrumVelocity;
constexpr int kDrumChannel = 9;  // General MIDI's percussion
constexpr std::string_view kIncomplete =
    "The database could not be read to its end: only the chords read completely are here.";

struct Event {
  uint32_t tick = 0;
  std::string bytes;  // status and data, without the delta time
};

void AppendVariable(std::string& out, uint32_t value) {
  char buffer[5];
  int n = 0;
  buffer[n++] = static_cast<char>(value & 0x7F);
  while ((value >>= 7) != 0) buffer[n++] = static_cast<char>(0x80 | (value & 0x7F));
  while (n > 0) out += buffer[--n];
}

void AppendBigEndian(std::string& out, uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out += static_cast<char>((value >> shift) & 0xFF);
  }
}

Event Meta(uint32_t tick, uint8_t type, std::string_view data) {
  Event event{tick, std::string("\xFF", 1)};
  event.bytes += static_cast<char>(type);
  AppendVariable(event.bytes, static_cast<uint32_t>(data.size()));
  event.bytes += data;
  return event;
}

Event Channel(uint32_t tick, uint8_t status, int channel, int data1, int data2 = -1) {
  Event event{tick, {}};
  event.bytes += static_cast<char>(status | channel);
  event.bytes += static_cast<char>(data1);
  if (data2 >= 0) event.bytes += static_cast<char>(data2);
  return event;
}

// A track chunk of `events`, which are in time order, ending the track at `end`.
std::string Track(const std::vector<Event>& events, uint32_t end) {
  std::string body;
  uint32_t now = 0;
  for (const Event& event : events) {
    AppendVariable(body, event.tick - now);
    body += event.bytes;
    now = event.tick;
  }
  AppendVariable(body, std::max(end, now) - now);
  body += std::string("\xFF\x2F\x00", 3);
  std::string chunk = "MTrk";
  AppendBigEndian(chunk, static_cast<uint32_t>(body.size()), 4);
  return chunk + body;
}

}  // namespace

std::string WriteMidi(const std::string& title, const ChordCollection& chords,
                      const CategoryTable& categories, int sortOrder, bool complete) {
  const ExportParts score = PartsOf(chords);
  const uint32_t end =
      static_cast<uint32_t>(std::max<std::size_t>(chords.size(), 1)) * kTicksPerBar;

  std::vector<Event> conductor;
  conductor.push_back(Meta(0, 0x03, FileNameText(title)));
  std::string tempo;
  AppendBigEndian(tempo, kMicrosecondsPerQuarter, 3);
  conductor.push_back(Meta(0, 0x51, tempo));
  conductor.push_back(Meta(0, 0x58, std::string("\x04\x02\x18\x08", 4)));
  if (!complete) conductor.push_back(Meta(0, 0x01, kIncomplete));

  std::vector<std::vector<Event>> tracks(score.parts.size());
  std::vector<int> channels;
  for (std::size_t p = 0; p < score.parts.size(); ++p) {
    // Sixteen channels, less the drums': parts past them share the last one.
    const int channel = std::min<int>(
        static_cast<int>(p) < kDrumChannel ? static_cast<int>(p) : static_cast<int>(p) + 1, 15);
    channels.push_back(channel);
    tracks[p].push_back(Meta(0, 0x03, score.parts[p].instrument.name));
    tracks[p].push_back(Channel(0, 0xC0, channel, score.parts[p].instrument.midiProgram & 0x7F));
  }

  HeadingTracker headings(categories, sortOrder);
  uint32_t bar = 0;
  std::size_t index = 0;
  for (const ChordRecord& record : chords) {
    const uint32_t start = bar * kTicksPerBar;
    if (const std::optional<std::string> heading = headings.Next(record);
        heading && !heading->empty()) {
      conductor.push_back(Meta(start, 0x06, CodePageToUtf8(*heading)));
    }
    const ChordShape shape = ShapeOf(record);
    conductor.push_back(Meta(start, 0x06, shape.name));
    if (!shape.strings.empty()) {
      const std::size_t part = score.partOf[index];
      const ExportInstrument instrument = InstrumentOf(record);
      std::vector<Event>& track = tracks[part];
      const std::vector<int> struck = StrumNotes(instrument, shape);
      uint32_t at = start;
      for (const int note : struck) {
        track.push_back(Channel(at, 0x90, channels[part], note, kVelocity));
        at += kStrumTicks;
      }
      for (const int note : struck) {
        track.push_back(Channel(start + kTicksPerBar, 0x80, channels[part], note, 0));
      }
    }
    ++bar;
    ++index;
  }

  std::string out = "MThd";
  AppendBigEndian(out, 6, 4);
  AppendBigEndian(out, 1, 2);  // format 1: tracks played together
  AppendBigEndian(out, static_cast<uint32_t>(tracks.size() + 1), 2);
  AppendBigEndian(out, kTicksPerQuarter, 2);
  out += Track(conductor, end);
  for (const std::vector<Event>& track : tracks) out += Track(track, end);
  return out;
}

}  // namespace strumlet
