// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <vector>

#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

// How a chord is strummed wherever it sounds: in the MIDI file, in the window and in the audio
// files. One schedule, so that the three sound alike.
inline constexpr int kStrumTicksPerQuarter = 480;
inline constexpr int kStrumMicrosecondsPerQuarter = 500000;  // 120 beats a minute
// From one string to the next: 30 ticks, about 31 ms.
inline constexpr int kStrumTicks = 30;
inline constexpr double kStrumStepSeconds =
    kStrumTicks * (kStrumMicrosecondsPerQuarter / 1e6) / kStrumTicksPerQuarter;
inline constexpr int kStrumVelocity = 80;

// The notes a chord sounds, in the order they are struck (its lowest string first); muted
// strings and strings of an unknown tuning are silent, and a pitch two strings share sounds once
// (a second note-on would end the first early). Note k starts k steps after the first.
std::vector<int> StrumNotes(const ExportInstrument& instrument, const ChordShape& shape);

// One chord as it sounds.
struct ChordStrum {
  int program = 0;         // the General MIDI program of the chord's part
  std::vector<int> notes;  // as StrumNotes; empty for a chord that sounds nothing
};

// Every chord of the collection as it sounds, in its order: the notes of StrumNotes and the
// program of the chord's part (PartsOf), as the MIDI file plays them.
std::vector<ChordStrum> StrumsOf(const ChordCollection& chords);

}  // namespace strumlet
