// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/StringSound.h"

#include <algorithm>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {

int BarreOver(const ChordRecord& record, int r) {
  if ((record.flags & ChordRecord::kBarre) == 0) return 0;
  const int c =
      (record.flags & ChordRecord::kPerStringBarres) ? record.barres[r] : record.barres[0];
  // A barre at a fret the diagram cannot show would otherwise turn muted strings into fretted.
  return c >= 1 && c < kMutedFret ? c : 0;
}

StringSound SoundOf(const ChordRecord& record, int r) {
  const int v = record.frets[r];
  StringSound s;
  s.storedFret = v;
  s.string = r;
  int barre = BarreOver(record, r);
  const ShortString& shortString = InstrumentFor(record.instrumentCode).shortString;
  if (shortString.string != 0 && r == shortString.string && v <= 0 &&
      barre <= shortString.firstFret) {
    barre = 0;  // the drone of many banjo barre chords
  }
  if (v >= kMutedFret) {
    s.kind = StringSound::kMuted;
  } else if (barre != 0 && v <= barre) {
    // The diagram shows an open circle under the barre label: the string sounds at the barre.
    s.kind = StringSound::kBarred;
    s.fret = barre;
  } else if (v <= 0) {
    s.kind = StringSound::kOpen;
  } else {
    s.kind = StringSound::kFretted;
    s.fret = v;
  }
  return s;
}

std::vector<StringSound> SoundsLowestFirst(const ChordRecord& record) {
  const int strings =
      std::clamp(static_cast<int>(record.entryCount) - 1, 0, ChordRecord::kMaxEntries - 1);
  std::vector<StringSound> sounds;
  sounds.reserve(static_cast<std::size_t>(strings));
  for (int r = strings; r >= 1; --r) sounds.push_back(SoundOf(record, r));
  return sounds;
}

}  // namespace strumlet
