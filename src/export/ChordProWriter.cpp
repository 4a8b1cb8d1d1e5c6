// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordProWriter.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "strumlet/core/CodePage.h"
#include "strumlet/pdb/StringSound.h"

namespace strumlet {
namespace {

constexpr int kMuted = kMutedFret;
// The frets a songbook program's chord grid shows from the nut: four in the common readers.
constexpr int kNutWindow = 4;

// A finger glyph number as ChordPro writes a finger: 1 to 9, 0 for none.
int Finger(int value) { return value >= 1 && value <= 9 ? value : 0; }

std::string ImageStem(int32_t recordOffset) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", static_cast<uint32_t>(recordOffset));
  return buffer;
}

// A define name a reader splits at blanks and trims: quoted when it holds a blank or starts
// with a quote, so the reader gets every character back.
std::string DefineName(const std::string& utf8) {
  std::string escaped = EscapeDirectiveText(utf8);
  const bool quote = utf8.find(' ') != std::string::npos || (!utf8.empty() && utf8[0] == '"');
  return quote ? "\"" + escaped + "\"" : escaped;
}

// A file name as the file system gives it: UTF-8 as a rule, taken as the code page otherwise.
std::string FileNameText(const std::string& name) {
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > name.size()) return CodePageToUtf8(name);
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return CodePageToUtf8(name);
    }
    i += length;
  }
  return name;
}

std::string Comment(const std::string& utf8) {
  return "{comment: " + EscapeDirectiveText(utf8) + "}\n";
}

}  // namespace

std::string EscapeDirectiveText(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += '?';
    } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      // U+0080..U+009F: control characters, one of them a line break for some readers.
      out += '?';
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string InstrumentName(const ChordRecord& record) {
  const int strings = std::max(0, static_cast<int>(record.entryCount) - 1);
  const std::string count = std::to_string(strings) + (strings == 1 ? " string" : " strings");
  if (record.instrumentCode == 1 && strings == 4) return "Ukulele, " + count;
  if (record.instrumentCode == 4 && strings == 5) return "Banjo, " + count;
  const bool guitarCode = record.instrumentCode == 0 || record.instrumentCode > 4;
  if (guitarCode && strings == 6) return "Guitar, " + count;
  return count;
}

ChordProChord MapChord(const ChordRecord& record) {
  ChordProChord chord;
  chord.name = record.name.empty() ? ImageStem(record.recordOffset) : CodePageToUtf8(record.name);
  const std::vector<StringSound> sounds = SoundsLowestFirst(record);

  // The diagram's first fret row. A note below it cannot be written relative to it, so the
  // window moves down to the lowest note instead of giving a fret of 0 or less.
  int lowest = kMuted;
  int highest = 0;
  for (const StringSound& s : sounds) {
    if (s.kind == StringSound::kFretted || s.kind == StringSound::kBarred) {
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
    chord.remarks.push_back("a note at fret " + std::to_string(lowest) +
                            " lies below the diagram's first fret " + std::to_string(base) +
                            ": base-fret " + std::to_string(lowest) + " instead");
    base = lowest;
  }
  chord.baseFret = base;

  const bool hasFingers = (record.flags & ChordRecord::kFingers) != 0;
  bool anyBarred = false;
  std::vector<int> fingers;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    const StringSound& s = sounds[i];
    const int r = s.string;
    const int stored = hasFingers ? Finger(record.fingers[r]) : 0;
    switch (s.kind) {
      case StringSound::kMuted:
        chord.frets.push_back("x");
        fingers.push_back(0);
        if (s.storedFret > kMuted) {
          chord.remarks.push_back("fret value " + std::to_string(s.storedFret) + " on string " +
                                  std::to_string(r) +
                                  " (1 = highest-pitched) shows nothing in the diagram: "
                                  "written as muted");
        }
        break;
      case StringSound::kOpen:
        chord.frets.push_back("0");
        fingers.push_back(0);
        break;
      case StringSound::kFretted:
        chord.frets.push_back(std::to_string(s.fret - base + 1));
        fingers.push_back(stored);
        break;
      case StringSound::kBarred:
        chord.frets.push_back(std::to_string(s.fret - base + 1));
        fingers.push_back(stored != 0 ? stored : 1);  // the barre is held by the first finger
        anyBarred = true;
        break;
    }
  }
  if (hasFingers || anyBarred) chord.fingers = std::move(fingers);
  return chord;
}

std::string DefineLine(const ChordProChord& chord) {
  std::string line = "{define: " + DefineName(chord.name) + " base-fret " +
                     std::to_string(chord.baseFret) + " frets";
  for (const std::string& fret : chord.frets) line += " " + fret;
  if (!chord.fingers.empty()) {
    line += " fingers";
    for (int finger : chord.fingers) line += " " + std::to_string(finger);
  }
  return line + "}";
}

std::string WriteChordPro(const std::string& title, const ChordCollection& chords,
                          const CategoryTable& categories, int sortOrder,
                          const ChordProOptions& options) {
  std::string out = "{title: " + EscapeDirectiveText(FileNameText(title)) + "}\n";
  std::optional<std::string> instrument;
  std::optional<int> category;
  std::optional<std::string> root;
  for (const ChordRecord& record : chords) {
    const std::string thisInstrument = InstrumentName(record);
    if (instrument != thisInstrument) {
      out += Comment(thisInstrument);
      instrument = thisInstrument;
    }
    std::optional<std::string> heading;
    if (sortOrder == kSortByCategory && category != record.category) {
      category = record.category;
      const CategoryEntry* entry = categories.Lookup(record.category);
      heading = entry ? entry->name : std::string("Unfiled");
    } else if (sortOrder == kSortByName && root != record.RootNote()) {
      root = record.RootNote();
      heading = *root;
    }
    if (heading && !heading->empty()) out += Comment(CodePageToUtf8(*heading));

    ChordProChord chord = MapChord(record);
    if (!options.fingers) chord.fingers.clear();
    for (const std::string& remark : chord.remarks) {
      out += "# " + EscapeDirectiveText(chord.name) + ": " + remark + "\n";
    }
    if (chord.frets.empty()) {
      out += "# " + EscapeDirectiveText(chord.name) + ": the chord has no strings to define\n";
      continue;
    }
    out += DefineLine(chord) + "\n";
  }
  return out;
}

}  // namespace strumlet
