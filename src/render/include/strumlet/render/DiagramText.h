// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// The words for a diagram, for a screen reader to speak and a search to find: the chord name,
// then each string from the lowest-pitched, as a player reads the diagram ("x" muted, "0" open,
// else the fret it sounds at), the base fret when there is one, the barre, and the fingers when
// the chord has them: "C: x 3 2 0 1 0, fingers x 3 2 0 1 0". With `notes`, and an instrument
// whose tuning is known, the notes that sound follow from the lowest string: "..., notes C E G C
// E". UTF-8, not escaped.
std::string DescribeDiagram(const ChordRecord& record, bool notes = false);

}  // namespace strumlet
