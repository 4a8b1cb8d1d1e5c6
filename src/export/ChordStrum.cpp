// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordStrum.h"

#include <algorithm>
#include <optional>

namespace strumlet {

std::vector<int> StrumNotes(const ExportInstrument& instrument, const ChordShape& shape) {
  std::vector<int> struck;
  for (const StringSound& s : shape.strings) {
    const std::optional<int> note = MidiNote(instrument, shape, s);
    if (!note || std::find(struck.begin(), struck.end(), *note) != struck.end()) continue;
    struck.push_back(*note);
  }
  return struck;
}

std::vector<ChordStrum> StrumsOf(const ChordCollection& chords) {
  const ExportParts score = PartsOf(chords);
  std::vector<ChordStrum> strums;
  strums.reserve(chords.size());
  std::size_t index = 0;
  for (const ChordRecord& record : chords) {
    ChordStrum strum;
    const ChordShape shape = ShapeOf(record);
    if (!shape.strings.empty()) {
      strum.program = score.parts[score.partOf[index]].instrument.midiProgram & 0x7F;
      strum.notes = StrumNotes(InstrumentOf(record), shape);
    }
    strums.push_back(std::move(strum));
    ++index;
  }
  return strums;
}

}  // namespace strumlet
