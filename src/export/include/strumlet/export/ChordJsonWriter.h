// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(const std::string& utf8);

// The JSON file of a database in the chord position format of web chord libraries (described
// by docs/chord-positions.schema.json): its name, the instrument of its first chord, the
// category names, and the chords in the collection's order, each with one position. A chord of
// another instrument names its own. `complete` false says that the database could not be read
// to its end.
std::string WriteChordJson(const std::string& title, const ChordCollection& chords,
                           const CategoryTable& categories, int sortOrder, bool complete = true);

}  // namespace strumlet
