// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/Instrument.h"

#include <algorithm>
#include <array>
#include <string>

#include "strumlet/pdb/Tuning.h"

namespace strumlet {
namespace {

constexpr std::array kStandardGuitar = {40, 45, 50, 55, 59, 64};  // E A D G B E
// Its G above middle C (re-entrant).
constexpr std::array kStandardUkulele = {67, 60, 64, 69};  // G C E A
// Open G, the short fifth string's high G first, as it lies on the neck.
constexpr std::array kOpenGBanjo = {67, 50, 55, 59, 62};  // g D G B D

// General MIDI programs, counted from 0.
constexpr int kNylonGuitar = 24;
constexpr int kSteelGuitar = 25;
constexpr int kBanjoProgram = 105;
constexpr int kHighestMidiNote = 127;

// Indexed by code: a new instrument is the next row. Each with its usual tuning.
constexpr auto kInstruments = std::to_array<Instrument>({
    // General MIDI has no ukulele: a nylon-string guitar comes nearest.
    {kGuitarCode, "Guitar", 6, 4, kStandardGuitar, {}, {}, kSteelGuitar},
    {kUkuleleCode, "Ukulele", 4, 6, kStandardUkulele, {}, {}, kNylonGuitar},
    {2, "", 4, 4, {}, {}, {}, kNylonGuitar},
    {3, "", 4, 4, {}, {}, {}, kNylonGuitar},
    {kBanjoCode, "Banjo", 5, 4, kOpenGBanjo, {}, {5, 5}, kBanjoProgram},
});

// The rows as the chosen tunings make them, and the text their views point into.
struct TunedTable {
  std::array<Instrument, kInstruments.size()> rows = kInstruments;
  std::array<std::vector<int>, kInstruments.size()> notes;
  std::array<std::string, kInstruments.size()> names;
  std::array<std::string, kInstruments.size()> tuningNames;
  std::array<std::string, kInstruments.size()> keys;
};

TunedTable& Table() {
  static TunedTable table;
  return table;
}

const CommonTuning* Common(uint8_t code, const std::string& key) {
  for (const CommonTuning& common : CommonTunings(code)) {
    if (common.key == key) return &common;
  }
  return nullptr;
}

}  // namespace

const Instrument& InstrumentFor(uint8_t code) {
  const auto& rows = Table().rows;
  return code < rows.size() ? rows[code] : rows[kGuitarCode];
}

std::span<const Instrument> Instruments() { return Table().rows; }

void UseTunings(std::span<const Tuning> tunings) {
  TunedTable& table = Table();
  table = TunedTable();
  for (const Tuning& tuning : tunings) {
    if (tuning.code >= kInstruments.size()) continue;
    const std::size_t i = tuning.code;
    Instrument& row = table.rows[i];
    row = kInstruments[i];
    table.notes[i] = tuning.notes;
    table.keys[i] = tuning.key;
    table.names[i] = std::string(kInstruments[i].name);
    table.tuningNames[i].clear();
    const bool usual = std::equal(tuning.notes.begin(), tuning.notes.end(),
                                  kInstruments[i].tuning.begin(), kInstruments[i].tuning.end());
    if (!usual) {
      const CommonTuning* common = Common(tuning.code, tuning.key);
      if (common != nullptr && !common->instrument.empty()) {
        // A tuning that says what an unnamed instrument is names it.
        table.names[i] = std::string(common->instrument);
        row.midiProgram = common->midiProgram;
      } else if (common != nullptr && !tuning.notes.empty()) {
        table.tuningNames[i] = std::string(common->label) + " tuning";
      } else if (!tuning.notes.empty()) {
        std::string pitches;
        for (const int note : tuning.notes)
          pitches += (pitches.empty() ? "" : " ") + PitchName(note);
        table.tuningNames[i] = "tuned " + pitches;
      }
    }
    row.name = table.names[i];
    row.tuning = table.notes[i];
    row.tuningName = table.tuningNames[i];
  }
}

std::vector<Tuning> TuningsInUse() {
  std::vector<Tuning> tunings;
  const TunedTable& table = Table();
  for (std::size_t i = 0; i < kInstruments.size(); ++i) {
    Tuning tuning;
    tuning.code = static_cast<uint8_t>(i);
    tuning.notes.assign(table.rows[i].tuning.begin(), table.rows[i].tuning.end());
    tuning.key = table.keys[i];
    if (tuning.key.empty() && tuning.notes.empty()) {
      tuning.key = std::string(CommonTunings(tuning.code).front().key);
    } else if (tuning.key.empty()) {
      // The usual tuning, or typed pitches: ReadTuning gives the key of a common one.
      tuning = ReadTuning(tuning.code, TuningText(tuning)).value_or(tuning);
    }
    tunings.push_back(std::move(tuning));
  }
  return tunings;
}

std::optional<int> SoundingNote(const Instrument& row, int strings, const StringSound& s) {
  const int i = strings - s.string;
  if (s.kind == StringSound::kMuted || i < 0 || i >= static_cast<int>(row.tuning.size())) {
    return std::nullopt;
  }
  const int open = row.tuning[static_cast<std::size_t>(i)];
  if (s.kind == StringSound::kOpen) return open;
  int note = open + s.fret;
  const ShortString& shortString = row.shortString;
  if (shortString.string != 0 && s.string == shortString.string) {
    // The short string's frets carry the neck's numbers; below its first one it sounds open.
    note = open + std::max(0, s.fret - shortString.firstFret);
  }
  // A fret value far up a neck no instrument has gives no note.
  if (note > kHighestMidiNote) return std::nullopt;
  return note;
}

std::vector<int> SoundingNotes(const ChordRecord& record) {
  const Instrument& row = InstrumentFor(record.instrumentCode);
  const std::vector<StringSound> sounds = SoundsLowestFirst(record);
  const int strings = static_cast<int>(sounds.size());
  std::vector<int> notes;
  if (strings != row.strings) return notes;
  for (const StringSound& s : sounds) {
    if (const std::optional<int> note = SoundingNote(row, strings, s)) notes.push_back(*note);
  }
  return notes;
}

}  // namespace strumlet
