// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordJsonWriter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/HeadingTracker.h"

namespace strumlet {
namespace {

std::string Numbers(const std::vector<int>& values) {
  std::string out = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) out += ", ";
    out += std::to_string(values[i]);
  }
  return out + "]";
}

std::string Strings(const std::vector<std::string>& values) {
  std::string out = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) out += ", ";
    out += JsonString(values[i]);
  }
  return out + "]";
}

std::string InstrumentObject(const ExportInstrument& instrument, int strings, int fretsOnChord,
                             const std::string& indent) {
  return "{\n" + indent + "  \"name\": " + JsonString(instrument.name) + ",\n" + indent +
         "  \"strings\": " + std::to_string(strings) + ",\n" + indent +
         "  \"fretsOnChord\": " + std::to_string(fretsOnChord) + ",\n" + indent +
         "  \"tunings\": {\"standard\": " + Strings(instrument.tuning) + "}\n" + indent + "}";
}

// The one position of a chord, as web chord libraries draw it.
std::string Position(const ChordShape& shape, const ExportInstrument& instrument) {
  std::vector<int> frets;
  std::vector<int> midi;
  for (const StringSound& s : shape.strings) {
    frets.push_back(s.kind == StringSound::kMuted ? -1 : shape.Relative(s));
    if (const std::optional<int> note = MidiNote(instrument, shape, s)) midi.push_back(*note);
  }
  std::vector<int> fingers = shape.fingers;
  fingers.resize(shape.strings.size(), 0);
  std::vector<int> barres;
  for (const ShapeBarre& barre : BarresOf(shape)) {
    barres.push_back(barre.fret - shape.baseFret + 1);
  }
  return "{\"frets\": " + Numbers(frets) + ", \"fingers\": " + Numbers(fingers) +
         ", \"baseFret\": " + std::to_string(shape.baseFret) + ", \"barres\": " + Numbers(barres) +
         ", \"capo\": false, \"midi\": " + Numbers(midi) + "}";
}

}  // namespace

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string WriteChordJson(const std::string& title, const ChordCollection& chords,
                           const CategoryTable& categories, int sortOrder, bool complete) {
  HeadingTracker names(categories, sortOrder);
  std::vector<std::string> categoryNames;
  for (int slot = 0; slot < CategoryTable::kSlots; ++slot) {
    const CategoryEntry* entry = categories.Lookup(slot);
    if (entry && !entry->name.empty()) categoryNames.push_back(CodePageToUtf8(entry->name));
  }

  // The file's instrument is its first chord's; its grid holds every chord of that instrument.
  std::optional<ExportInstrument> instrument;
  int strings = 0;
  int fretsOnChord = 4;
  for (const ChordRecord& record : chords) {
    const ExportInstrument each = InstrumentOf(record);
    if (!instrument) {
      instrument = each;
      strings = std::max(0, static_cast<int>(record.entryCount) - 1);
    }
    if (each.name == instrument->name) {
      fretsOnChord = std::max(fretsOnChord, ShapeOf(record).FretsShown());
    }
  }

  std::string out = "{\n  \"name\": " + JsonString(FileNameText(title)) + ",\n";
  out += "  \"complete\": " + std::string(complete ? "true" : "false") + ",\n";
  out += "  \"instrument\": " +
         (instrument ? InstrumentObject(*instrument, strings, fretsOnChord, "  ") : "null") + ",\n";
  out += "  \"categories\": " + Strings(categoryNames) + ",\n";
  out += "  \"chords\": [";
  bool first = true;
  for (const ChordRecord& record : chords) {
    const ChordShape shape = ShapeOf(record);
    const ExportInstrument own = InstrumentOf(record);
    out += first ? "\n" : ",\n";
    first = false;
    out += "    {\n      \"name\": " + JsonString(shape.name) + ",\n";
    out += "      \"category\": " + JsonString(CodePageToUtf8(names.CategoryName(record))) + ",\n";
    if (own.name != instrument->name) {
      out += "      \"instrument\": " +
             InstrumentObject(own, static_cast<int>(shape.strings.size()), shape.FretsShown(),
                              "      ") +
             ",\n";
    }
    if (!shape.remarks.empty()) out += "      \"remarks\": " + Strings(shape.remarks) + ",\n";
    out += "      \"positions\": [";
    if (!shape.strings.empty()) out += Position(shape, own);
    out += "]\n    }";
  }
  out += first ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace strumlet
