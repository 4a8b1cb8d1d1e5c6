// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordProWriter.h"

#include <map>
#include <optional>
#include <set>

#include "strumlet/core/CodePage.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/HeadingTracker.h"

namespace strumlet {
namespace {

// A define name a reader splits at blanks and trims: quoted when it holds a blank or starts
// with a quote, so the reader gets every character back. Inside the quotes a quote is escaped
// like a backslash, or it would end the name there and let the rest read as more directive.
std::string DefineName(const std::string& utf8) {
  std::string escaped = EscapeDirectiveText(utf8);
  const bool quote = utf8.find(' ') != std::string::npos || (!utf8.empty() && utf8[0] == '"');
  if (!quote) return escaped;
  std::string quoted = "\"";
  for (const char c : escaped) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
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

ChordProChord MapChord(const ChordRecord& record) {
  ChordShape shape = ShapeOf(record);
  ChordProChord chord;
  chord.name = std::move(shape.name);
  chord.baseFret = shape.baseFret;
  for (const StringSound& s : shape.strings) {
    chord.frets.push_back(s.kind == StringSound::kMuted  ? std::string("x")
                          : s.kind == StringSound::kOpen ? std::string("0")
                                                         : std::to_string(shape.Relative(s)));
  }
  chord.fingers = std::move(shape.fingers);
  chord.remarks = std::move(shape.remarks);
  return chord;
}

std::string DefineLine(const ChordProChord& chord) {
  const std::string directive = chord.selector.empty() ? "define" : "define-" + chord.selector;
  std::string line = "{" + directive + ": " + DefineName(chord.name) + " base-fret " +
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
  // The names each instrument's definitions take, so that a repeat's new name is none of them.
  std::map<std::string, std::set<std::string>> taken;
  for (const ChordRecord& record : chords) {
    const ChordProChord chord = MapChord(record);
    if (!chord.frets.empty()) taken[InstrumentOf(record).selector].insert(chord.name);
  }
  // One instrument needs no selector, which readers before ChordPro 6 do not know.
  const bool selectors = taken.size() > 1;
  std::map<std::string, std::set<std::string>> defined;
  std::optional<std::string> instrument;
  HeadingTracker headings(categories, sortOrder);
  for (const ChordRecord& record : chords) {
    const std::string thisInstrument = InstrumentName(record);
    if (instrument != thisInstrument) {
      out += Comment(thisInstrument);
      instrument = thisInstrument;
    }
    const std::optional<std::string> heading = headings.Next(record);
    if (heading && !heading->empty()) out += Comment(CodePageToUtf8(*heading));

    ChordProChord chord = MapChord(record);
    if (!options.fingers) chord.fingers.clear();
    if (chord.frets.empty()) {
      for (const std::string& remark : chord.remarks) {
        out += "# " + EscapeDirectiveText(chord.name) + ": " + remark + "\n";
      }
      out += "# " + EscapeDirectiveText(chord.name) + ": the chord has no strings to define\n";
      continue;
    }
    const std::string selector = InstrumentOf(record).selector;
    std::set<std::string>& names = defined[selector];
    const std::string original = chord.name;
    if (names.count(chord.name) != 0) {
      // A repeat: named after the first, with a name no other chord of the instrument has.
      int n = 2;
      do {
        chord.name = original + "(v" + std::to_string(n++) + ")";
      } while (taken[selector].count(chord.name) != 0 || names.count(chord.name) != 0);
    }
    names.insert(chord.name);
    if (chord.name != original) {
      out += "# " + EscapeDirectiveText(chord.name) + ": another " + EscapeDirectiveText(original) +
             "\n";
    }
    for (const std::string& remark : chord.remarks) {
      out += "# " + EscapeDirectiveText(chord.name) + ": " + remark + "\n";
    }
    if (selectors) chord.selector = selector;
    out += DefineLine(chord) + "\n";
  }
  return out;
}

}  // namespace strumlet
