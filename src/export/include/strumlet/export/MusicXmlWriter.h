// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

// The whole MusicXML file (4.0, score-partwise, UTF-8) of a database: one part named `title`
// on a tablature staff with the instrument's strings and tuning, and one measure per chord in
// the collection's order, holding a whole-measure rest and the chord as a chord symbol with
// its fret diagram. The category (sort order 0) or the root (sort order 1) stands as a
// rehearsal mark where it changes, the instrument as words where it changes. `complete` false
// says in the first measure that the database could not be read to its end.
std::string WriteMusicXml(const std::string& title, const ChordCollection& chords,
                          const CategoryTable& categories, int sortOrder, bool complete = true);

}  // namespace strumlet
