// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordCollection.h"
#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// One chord as a songbook program reads it: the frets of a ChordPro chord definition, lowest-
// pitched string first, and what the conversion had to say about it.
struct ChordProChord {
  std::string name;  // UTF-8, as a reader should get it back (not escaped)
  int baseFret = 1;
  std::vector<std::string> frets;    // "x" muted, "0" open, else the fret relative to baseFret
  std::vector<int> fingers;          // empty when the chord names no fingers
  std::vector<std::string> remarks;  // what the file cannot show as the diagram does
  // The instrument the definition is for (`{define-ukulele: ...}`); empty: for every reader.
  std::string selector;
};

// The mapping of one record: string n (the left-most line of the diagram) first, string 1 last.
ChordProChord MapChord(const ChordRecord& record);

// The `{define: ...}` line of a mapped chord, without a line end.
std::string DefineLine(const ChordProChord& chord);

// Text for a directive's argument: braces and backslashes escaped, control characters replaced,
// so that no name or heading can end the directive or start a new line.
std::string EscapeDirectiveText(const std::string& utf8);

// Choices for readers that do not know every part of a definition.
struct ChordProOptions {
  bool fingers = true;  // write the `fingers` list where a chord has one
};

// The whole ChordPro file of a database: `{title: TITLE}`, then one definition per chord in the
// collection's order, with a `{comment}` heading where the category (sort order 0) or the root
// (sort order 1) changes and where the instrument changes. A file of several instruments gives
// every definition its instrument's selector, and a name repeated within one instrument is
// defined under its own name once and as NAME(v2), NAME(v3), ... after that, so that a reader,
// which keeps the last definition of a name, can reach every chord. `title` is a file name (UTF-8,
// or taken as the code page when it is not); chord and category names are in the handheld's code
// page. The file is UTF-8.
std::string WriteChordPro(const std::string& title, const ChordCollection& chords,
                          const CategoryTable& categories, int sortOrder,
                          const ChordProOptions& options = {});

}  // namespace strumlet
