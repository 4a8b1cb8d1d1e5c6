// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "strumlet/pdb/ChordRecord.h"
#include "strumlet/pdb/StringSound.h"

namespace strumlet {

// A string that does not run the whole neck, like a banjo's fifth: it starts at a fret, and a
// barre below that fret does not reach it.
struct ShortString {
  int string = 0;     // the record's string number (1 = the highest-pitched); 0: none
  int firstFret = 0;  // the fret it starts at; its own frets carry the neck's numbers
};

// An instrument as chord records name it, by a code. Whatever draws, sounds or exports a chord
// learns its instrument here, so that a new instrument is one row.
struct Instrument {
  uint8_t code = 0;
  // Empty for the codes the database format leaves unnamed: their diagrams are drawn for
  // their strings, the exports know them only by their string count.
  std::string_view name;
  int strings = 6;     // the strings its diagrams are drawn for
  int fretsShown = 4;  // the fret rows of its diagrams
  // The open strings as MIDI note numbers (60: middle C), in the order a diagram shows them
  // from left to right: the record's last string first. Empty when unknown.
  std::span<const int> tuning;
  // Empty while it has its usual tuning; else what names the one chosen ("Drop D tuning",
  // "tuned D2 A2 D3 G3 A3 D4"), so that chords of two tunings are never taken for one instrument.
  std::string_view tuningName;
  ShortString shortString;
  // The General MIDI program (0 to 127) its chords sound with.
  int midiProgram = 24;
};

inline constexpr uint8_t kGuitarCode = 0;
inline constexpr uint8_t kUkuleleCode = 1;
inline constexpr uint8_t kBanjoCode = 4;

// The row of `code`, with the tuning chosen for it (UseTunings in Tuning.h). A code past the
// table is drawn and exported as the guitar's, the code a record without one has.
const Instrument& InstrumentFor(uint8_t code);

// Every row, in code order, with the tunings chosen.
std::span<const Instrument> Instruments();

// The pitch string `s` of a chord of `strings` strings sounds on `row`, as a MIDI note number
// (60: middle C): none for a muted string, an unknown tuning or a string it has no tuning for.
std::optional<int> SoundingNote(const Instrument& row, int strings, const StringSound& s);

// The notes a record sounds, a string each from the lowest-pitched, muted strings left out: on
// its instrument's tuning when the record has that instrument's strings, else none.
std::vector<int> SoundingNotes(const ChordRecord& record);

}  // namespace strumlet
