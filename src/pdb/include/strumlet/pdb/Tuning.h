// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "strumlet/core/Result.h"

namespace strumlet {

// A tuning players know by name, offered for an instrument code.
struct CommonTuning {
  std::string_view key;      // what the user types ("drop-d"); letter case, blanks and dashes aside
  std::string_view label;    // what the window shows ("Drop D")
  std::string_view pitches;  // the open strings, left to right as a diagram shows them; empty: none
  // For the codes the database format leaves unnamed: what the tuning says the instrument is
  // ("Mandolin"), and the General MIDI program it sounds with. Empty and -1 elsewhere.
  std::string_view instrument;
  int midiProgram = -1;
};

// The tunings offered for `code`, its usual one first. None for a code past the table.
std::span<const CommonTuning> CommonTunings(uint8_t code);

// A tuning chosen for one instrument code.
struct Tuning {
  uint8_t code = 0;
  std::string key;         // the common tuning's key; empty for pitches the user typed
  std::vector<int> notes;  // MIDI note numbers (60: middle C), left to right as a diagram shows
  bool operator==(const Tuning&) const = default;
};

// Reads `text` for `code`: a common tuning's key, or one pitch per string ("D2 A2 D3 G3 A3 D4",
// "Eb2", "F#3"), left to right as a diagram shows them. Typed pitches that make a common tuning
// are that tuning. The error's reason names the instrument, its string count and what is wrong.
Result<Tuning> ReadTuning(uint8_t code, std::string_view text);

// Reads "INSTRUMENT=TUNING", the instrument as a word (guitar, ukulele, banjo) or a code.
Result<Tuning> ReadTuningChoice(std::string_view text);

// What ReadTuning reads back to `tuning`: its key, or its pitches.
std::string TuningText(const Tuning& tuning);

// The instrument of `code` as the user knows it ("guitar", "code 2").
std::string InstrumentWord(uint8_t code);

// A MIDI note as a pitch with its octave, sharps for the black keys ("F#3"); and its pitch class
// alone ("F#").
std::string PitchName(int midi);
std::string PitchClassName(int midi);

// Makes `tunings` the ones every row of the instrument table has (the last for a code given
// twice); every other code gets its usual tuning back. For the front ends, before a run or an
// export: the table is read by whatever draws, sounds or exports a chord, so it is not changed
// while one of them runs.
void UseTunings(std::span<const Tuning> tunings);

// The tuning each code has now, in code order.
std::vector<Tuning> TuningsInUse();

}  // namespace strumlet
