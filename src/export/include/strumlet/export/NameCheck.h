// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "strumlet/pdb/ChordCollection.h"
#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// Whether a chord's sounding notes make the chord its name says. A note the name's chord does
// not hold makes it misnamed; a voicing that leaves tones out (a fifth, a root) does not.
struct NameCheck {
  enum class Verdict {
    kMatches,
    kMisnamed,
    kUnread,  // the name is no chord name the parser reads
    kSilent,  // nothing sounds, or the instrument's tuning is unknown
  };
  Verdict verdict = Verdict::kSilent;
  std::string frets;               // per string, lowest first: "x", "0" or the fret
  std::vector<std::string> notes;  // the sounding pitch classes, lowest first, each once
  std::string soundsLike;          // the chord those notes make exactly; empty for none
};

NameCheck CheckChordName(const ChordRecord& record);

// What a check of a database finds, a line each: its misnamed chords ("TITLE: Am (x 0 2 2 1 0)
// sounds A C# E - that is A, not Am") and then, on one line, the names it could not read.
// Empty when every name it read fits. Counts are added to `misnamed` and `unread`.
std::string NameCheckReport(const std::string& title, const ChordCollection& chords, int& misnamed,
                            int& unread);

}  // namespace strumlet
