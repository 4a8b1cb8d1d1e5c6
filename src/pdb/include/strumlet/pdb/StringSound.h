// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// The fret value a diagram draws as a cross above the grid; values above it show nothing.
inline constexpr int kMutedFret = 100;

// How one string of a chord sounds, read from its diagram.
struct StringSound {
  enum Kind { kOpen, kMuted, kFretted, kBarred } kind = kOpen;
  int fret = 0;        // absolute, for kFretted and kBarred
  int storedFret = 0;  // the record's value
  int string = 0;      // the record's string number, 1 = the highest-pitched
};

// The barre the diagram draws over string `r` (1 = the highest-pitched), or 0 when there is
// none. A value outside the frets a diagram can show is no barre.
int BarreOver(const ChordRecord& record, int r);

// String `r` of the record. A string the diagram shows open under a barre sounds at the barre
// fret, except an instrument's short string under a barre at or below the fret it starts at,
// which the barre does not reach.
StringSound SoundOf(const ChordRecord& record, int r);

// Every string of the record, the lowest-pitched first (string n down to string 1): the order
// in which a player reads a diagram from left to right.
std::vector<StringSound> SoundsLowestFirst(const ChordRecord& record);

}  // namespace strumlet
