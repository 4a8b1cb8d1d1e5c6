// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "strumlet/pdb/ChordCollection.h"
#include "strumlet/pdb/ChordRecord.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/pdb/StringSound.h"

namespace strumlet {

// One chord as every export writes it: how each string sounds, the fret row its diagram starts
// at, and the fingers. Each format only spells this out in its own way, so a chord reads the
// same in a songbook program, a notation program and a web app.
struct ChordShape {
  std::string name;  // UTF-8; the image file's stem for a chord without a name
  // The first fret row of a reader's diagram (1: the nut). Every fretted string lies at or
  // above it.
  int baseFret = 1;
  std::vector<StringSound> strings;  // the lowest-pitched string first
  std::vector<int> fingers;          // per string as `strings`, 0 for none; empty for none at all
  std::vector<std::string> remarks;  // what no format can show as the diagram does

  // The fret of a sounding string counted from the base fret (1: its first row); 0 when open.
  int Relative(const StringSound& s) const;
  // The rows a reader's grid needs to hold the chord: at least four.
  int FretsShown() const;
};

// A barre as readers draw it: one fret held across two or more strings.
struct ShapeBarre {
  int fret = 0;   // absolute
  int first = 0;  // index into ChordShape::strings of the lowest-pitched barred string
  int last = 0;   // ... and of the highest-pitched
};

// The mapping of one record.
ChordShape ShapeOf(const ChordRecord& record);

// The barres of a shape, lowest fret first. A string the record bars alone is a plain note.
std::vector<ShapeBarre> BarresOf(const ChordShape& shape);

// The instrument of a record as the exports name it: its row of the instrument table when the
// record has the row's strings, else only its string count.
struct ExportInstrument {
  std::string name;                 // e.g. "Guitar, 6 strings", or "5 strings"
  std::vector<std::string> tuning;  // open notes, the record's last string first; empty if unknown
  std::vector<int> openMidi;        // the same as MIDI note numbers (60: middle C)
  ShortString shortString;
  // The instrument type a songbook reader is set to, as a directive selector ("guitar",
  // "ukulele", "banjo"; "strings7" for an instrument known only by its strings).
  std::string selector;
  int midiProgram = 0;  // the General MIDI program it sounds with
};
ExportInstrument InstrumentOf(const ChordRecord& record);

// The parts of a score of the chords: one per instrument, in the order the chords with strings
// bring them in, each with the strings of its first chord. `partOf` gives each chord's part; a
// chord without strings stays in the part before it. No part when no chord has strings.
struct ExportParts {
  struct Part {
    ExportInstrument instrument;
    int strings = 0;
  };
  std::vector<Part> parts;
  std::vector<std::size_t> partOf;
};
ExportParts PartsOf(const ChordCollection& chords);
// Its name alone, e.g. "Ukulele, 4 strings".
std::string InstrumentName(const ChordRecord& record);

// The MIDI note of a sounding string `s` of `shape` on `instrument`, none for a muted string or
// an unknown tuning.
std::optional<int> MidiNote(const ExportInstrument& instrument, const ChordShape& shape,
                            const StringSound& s);

// A file name as the file system gives it, as well-formed UTF-8 for every export: UTF-8 as a
// rule, read in the code page otherwise (a code the page leaves undefined as U+FFFD).
std::string FileNameText(const std::string& name);

}  // namespace strumlet
