// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordShape.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "strumlet/core/CodePage.h"
#include "strumlet/core/Utf8.h"
#include "strumlet/export/ChordName.h"

namespace strumlet {
namespace {

// The frets a reader's chord grid shows from the nut: four in the common readers.
constexpr int kNutWindow = 4;

// A finger glyph number as readers take a finger: 1 to 9, 0 for none.
int Finger(int value) { return value >= 1 && value <= 9 ? value : 0; }

bool Sounds(const StringSound& s) {
  return s.kind == StringSound::kFretted || s.kind == StringSound::kBarred;
}

}  // namespace

int ChordShape::Relative(const StringSound& s) const {
  return Sounds(s) ? s.fret - baseFret + 1 : 0;
}

int ChordShape::FretsShown() const {
  int rows = kNutWindow;
  for (const StringSound& s : strings) rows = std::max(rows, Relative(s));
  return rows;
}

ChordShape ShapeOf(const ChordRecord& record) {
  ChordShape shape;
  shape.name = record.name.empty() ? ImageStem(record.recordOffset) : CodePageToUtf8(record.name);
  shape.strings = SoundsLowestFirst(record);

  // The diagram's first fret row. A note below it cannot be written relative to it, so the
  // window moves down to the lowest note instead of giving a fret of 0 or less.
  int lowest = kMutedFret;
  int highest = 0;
  for (const StringSound& s : shape.strings) {
    if (Sounds(s)) {
      lowest = std::min(lowest, s.fret);
      highest = std::max(highest, s.fret);
    }
  }
  int base = record.baseFret() >= 1 ? record.baseFret() : 1;
  if (record.baseFret() < 1 && highest > kNutWindow) {
    // A chord up the neck without a base fret (a barre shape): counted from its lowest note, as
    // a player writes it, so that a reader's grid holds it.
    base = lowest;
  } else if (highest > 0 && lowest < base) {
    shape.remarks.push_back("a note at fret " + std::to_string(lowest) +
                            " lies below the diagram's first fret " + std::to_string(base) +
                            ": base-fret " + std::to_string(lowest) + " instead");
    base = lowest;
  }
  shape.baseFret = base;

  const bool hasFingers = (record.flags & ChordRecord::kFingers) != 0;
  bool anyBarred = false;
  std::vector<int> fingers;
  for (const StringSound& s : shape.strings) {
    const int stored = hasFingers ? Finger(record.fingers[s.string]) : 0;
    switch (s.kind) {
      case StringSound::kMuted:
        fingers.push_back(0);
        if (s.storedFret > kMutedFret) {
          shape.remarks.push_back("fret value " + std::to_string(s.storedFret) + " on string " +
                                  std::to_string(s.string) +
                                  " (1 = highest-pitched) shows nothing in the diagram: "
                                  "written as muted");
        }
        break;
      case StringSound::kOpen:
        fingers.push_back(0);
        break;
      case StringSound::kFretted:
        fingers.push_back(stored);
        break;
      case StringSound::kBarred:
        fingers.push_back(stored != 0 ? stored : 1);  // the barre is held by the first finger
        anyBarred = true;
        break;
    }
  }
  if (hasFingers || anyBarred) shape.fingers = std::move(fingers);
  return shape;
}

std::vector<ShapeBarre> BarresOf(const ChordShape& shape) {
  std::vector<ShapeBarre> barres;
  for (int i = 0; i < static_cast<int>(shape.strings.size()); ++i) {
    const StringSound& s = shape.strings[i];
    if (s.kind != StringSound::kBarred) continue;
    auto same = std::find_if(barres.begin(), barres.end(),
                             [&](const ShapeBarre& b) { return b.fret == s.fret; });
    if (same == barres.end()) {
      barres.push_back({s.fret, i, i});
    } else {
      same->last = i;
    }
  }
  std::erase_if(barres, [](const ShapeBarre& b) { return b.first == b.last; });
  std::sort(barres.begin(), barres.end(),
            [](const ShapeBarre& a, const ShapeBarre& b) { return a.fret < b.fret; });
  return barres;
}

ExportInstrument InstrumentOf(const ChordRecord& record) {
  const int strings = std::max(0, static_cast<int>(record.entryCount) - 1);
  const std::string count = std::to_string(strings) + (strings == 1 ? " string" : " strings");
  const Instrument& row = InstrumentFor(record.instrumentCode);
  ExportInstrument instrument;
  instrument.midiProgram = row.midiProgram;
  if (row.tuning.empty() || strings != row.strings) {
    // Another tuning, or none: nothing but the strings can be said.
    instrument.name = count;
    instrument.selector = "strings" + std::to_string(strings);
    return instrument;
  }
  // An unnamed instrument the user gave pitches to is still known only by its strings.
  instrument.name = row.name.empty() ? count : std::string(row.name) + ", " + count;
  if (!row.tuningName.empty()) instrument.name += ", " + std::string(row.tuningName);
  for (const int midi : row.tuning) {
    const NoteName note = SharpSpelling(midi);
    instrument.tuning.push_back(std::string(1, note.step) + (note.alter != 0 ? "#" : ""));
  }
  instrument.openMidi.assign(row.tuning.begin(), row.tuning.end());
  instrument.shortString = row.shortString;
  for (const char c : row.name) {
    // A directive selector is one word: "Tenor banjo" is "tenorbanjo".
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) continue;
    instrument.selector += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (row.name.empty()) instrument.selector = "strings" + std::to_string(strings);
  return instrument;
}

std::string InstrumentName(const ChordRecord& record) { return InstrumentOf(record).name; }

ExportParts PartsOf(const ChordCollection& chords) {
  ExportParts out;
  for (const ChordRecord& record : chords) {
    const ExportInstrument instrument = InstrumentOf(record);
    const int strings = static_cast<int>(ShapeOf(record).strings.size());
    std::size_t part = out.partOf.empty() ? 0 : out.partOf.back();
    if (strings > 0) {
      part = 0;
      while (part < out.parts.size() && out.parts[part].instrument.name != instrument.name) ++part;
      if (part == out.parts.size()) out.parts.push_back({instrument, strings});
    }
    out.partOf.push_back(part);
  }
  return out;
}

std::optional<int> MidiNote(const ExportInstrument& instrument, const ChordShape& shape,
                            const StringSound& s) {
  Instrument row;
  row.tuning = instrument.openMidi;
  row.shortString = instrument.shortString;
  return SoundingNote(row, static_cast<int>(shape.strings.size()), s);
}

std::string FileNameText(const std::string& name) {
  if (IsUtf8(name)) return name;
  // A name in a single-byte set, most likely the handheld's own: read in its code page like
  // the chord names, one byte a character, so that every text file gets well-formed UTF-8.
  std::string utf8;
  for (const char byte : name) {
    const std::string character = CodePageToUtf8(std::string_view(&byte, 1));
    // The five codes the page leaves undefined come back as C1 controls: no character.
    const bool undefined = character.size() == 2 && character[0] == '\xC2' &&
                           static_cast<unsigned char>(character[1]) < 0xA0;
    utf8 += undefined ? "\xEF\xBF\xBD" : character;  // U+FFFD
  }
  return utf8;
}

}  // namespace strumlet
