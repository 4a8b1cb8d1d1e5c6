// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

// The whole Standard MIDI File (format 1) of a database, as bytes: every chord of the
// collection's order strummed for one bar of 4/4 at 120 beats a minute, from its lowest
// string to its highest 30 ticks (about 31 ms) apart, ringing to the bar's end; muted strings
// and chords without a known tuning are silent. The first track holds the tempo, the title and
// a marker naming each chord, after the heading's marker where a heading starts; then one track
// per instrument, with its General MIDI program, on a channel of its own. `complete` false adds
// a text event saying the database could not be read to its end.
std::string WriteMidi(const std::string& title, const ChordCollection& chords,
                      const CategoryTable& categories, int sortOrder, bool complete = true);

}  // namespace strumlet
