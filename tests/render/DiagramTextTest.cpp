// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/DiagramText.h"

#include <gtest/gtest.h>

#include <vector>

#include "RenderTestSupport.h"
#include "strumlet/pdb/Tuning.h"

namespace strumlet {
namespace {

using test::MakeChord;

ChordRecord WithFingers(ChordRecord record, std::initializer_list<int> highFirst) {
  record.flags |= ChordRecord::kFingers;
  int r = 1;
  for (const int finger : highFirst) record.fingers[r++] = static_cast<int8_t>(finger);
  return record;
}

TEST(DiagramTextTest, ReadsTheStringsLowestFirstAsThePlayerSeesThem) {
  // Muted, open and fretted strings, fingers (a barred string without one says 0).
  EXPECT_EQ(
      DescribeDiagram(WithFingers(MakeChord("C", 0, {0, 1, 0, 2, 3, 100}), {0, 1, 0, 2, 3, 0})),
      "C: x 3 2 0 1 0, fingers x 3 2 0 1 0");
  // No fingers in the record: no finger list; a value past the cross is not played.
  EXPECT_EQ(DescribeDiagram(MakeChord("D", 0, {2, 3, 2, 0, 101, 100})), "D: x x 0 2 3 2");
  // A base fret is said; the strings keep the frets they sound at.
  EXPECT_EQ(DescribeDiagram(MakeChord("C#m7", 4, {4, 5, 4, 6, 4, 100})),
            "C#m7: x 4 6 4 5 4, base fret 4");
  // The name comes through in UTF-8; an unnamed chord still says what it is.
  EXPECT_EQ(DescribeDiagram(MakeChord("C\xB0", 0, {0, 0, 0})), "C\xC2\xB0: 0 0 0");
  EXPECT_EQ(DescribeDiagram(MakeChord("", 0, {0, 0})), "Unnamed chord: 0 0");
  EXPECT_EQ(DescribeDiagram(MakeChord("\xD8", 0, {})), "\xC3\x98: no strings");
}

TEST(DiagramTextTest, BarredStringsSoundAtTheBarreExceptTheBanjosShortString) {
  ChordRecord f = MakeChord("F", 0, {1, 1, 2, 3, 3, 1});
  f.flags |= ChordRecord::kBarre;
  f.barres[0] = 1;
  EXPECT_EQ(DescribeDiagram(f), "F: 1 3 3 2 1 1, barre 1");

  // A banjo barre at the third fret does not reach the short fifth string, which stays open.
  ChordRecord banjo = MakeChord("G", 0, {0, 3, 3, 3, 0}, 4);
  banjo.flags |= ChordRecord::kBarre;
  banjo.barres[0] = 3;
  EXPECT_EQ(DescribeDiagram(banjo), "G: 0 3 3 3 3, barre 3");

  // Barres of their own per string, where they differ.
  ChordRecord perString = MakeChord("X", 0, {2, 2, 0, 0});
  perString.flags |= ChordRecord::kBarre | ChordRecord::kPerStringBarres;
  perString.barres[1] = 2;
  perString.barres[2] = 3;
  EXPECT_EQ(DescribeDiagram(perString), "X: 0 0 3 2, barres 0 0 3 2");
}

TEST(DiagramTextTest, WithNotesSaysWhatSoundsOnTheTuningInUse) {
  const ChordRecord c = MakeChord("C", 0, {0, 1, 0, 2, 3, 100});
  EXPECT_EQ(DescribeDiagram(c, true), "C: x 3 2 0 1 0, notes C E G C E");
  // Without notes the words are as they always were: an SVG diagram's title stays as it is.
  EXPECT_EQ(DescribeDiagram(c), "C: x 3 2 0 1 0");
  // Re-entrant ukulele: the G string comes first, above the C.
  EXPECT_EQ(DescribeDiagram(MakeChord("C", 0, {3, 0, 0, 0}, 1), true), "C: 0 0 0 3, notes G C E C");
  UseTunings(std::vector<Tuning>{*ReadTuningChoice("guitar=dadgad")});
  EXPECT_EQ(DescribeDiagram(MakeChord("D", 0, {0, 0, 0, 0, 0, 0}), true),
            "D: 0 0 0 0 0 0, notes D A D G A D");
  UseTunings({});
  // An instrument of unknown tuning, or with other strings than its own, names no notes.
  EXPECT_EQ(DescribeDiagram(MakeChord("G", 0, {0, 0, 0, 0}, 2), true), "G: 0 0 0 0");
  EXPECT_EQ(DescribeDiagram(MakeChord("G", 0, {0, 0, 0, 0}), true), "G: 0 0 0 0");
}

}  // namespace
}  // namespace strumlet
