// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Each chord is written as a guitarist (or ukulele or banjo player) would write it by hand.

#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"
#include "FixtureDatabase.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {
namespace {

// The first chord of the database described by `text`.
ChordRecord Chord(const std::string& text) {
  const ChordDatabase db = testing::ReadFixtureDatabase(text);
  EXPECT_FALSE(db.chords.empty());
  return db.chords.empty() ? ChordRecord{} : db.chords[0];
}

std::string Define(const std::string& text) { return DefineLine(MapChord(Chord(text))); }

TEST(ChordMapping, OpenChordsListTheLowStringFirst) {
  EXPECT_EQ(Define("{define: C frets x 3 2 0 1 0 fingers x 3 2 0 1 0}"),
            "{define: C base-fret 1 frets x 3 2 0 1 0 fingers 0 3 2 0 1 0}");
  EXPECT_EQ(Define("{define: Am frets x 0 2 2 1 0}"), "{define: Am base-fret 1 frets x 0 2 2 1 0}");
  // Stored high e first: the list is the reverse of the record's order.
  ChordRecord g = Chord("{define: G frets 3 2 0 0 0 3}");
  EXPECT_EQ(g.frets[1], 3);
  EXPECT_EQ(g.frets[5], 2);
  EXPECT_EQ(DefineLine(MapChord(g)), "{define: G base-fret 1 frets 3 2 0 0 0 3}");
}

TEST(ChordMapping, BarredStringsSoundAtTheBarreWithTheFirstFinger) {
  // F at base fret 1, the barred strings stored as the diagram's open circles.
  EXPECT_EQ(Define("{define: F frets 1 3 3 2 1 1}\nbarre 1\nset frets 1 0 0 2 3 3 0"),
            "{define: F base-fret 1 frets 1 3 3 2 1 1 fingers 1 0 0 0 1 1}");
  // B minor at base fret 2: the barre covers the A and the high e string.
  EXPECT_EQ(Define("{define: Bm base-fret 2 frets x 1 3 3 2 1}\nbarre 2"),
            "{define: Bm base-fret 2 frets x 1 3 3 2 1 fingers 0 1 0 0 0 1}");
  // The record's own fingers win; a barred string without one still gets the first finger.
  EXPECT_EQ(Define("{define: Bm base-fret 2 frets x 1 3 3 2 1 fingers x 0 3 4 2 1}\nbarre 2"),
            "{define: Bm base-fret 2 frets x 1 3 3 2 1 fingers 0 1 3 4 2 1}");
  // A muted string stays muted under a barre.
  EXPECT_EQ(Define("{define: Bb frets x 1 3 3 3 1}\nbarre 1"),
            "{define: Bb base-fret 1 frets x 1 3 3 3 1 fingers 0 1 0 0 0 1}");
}

TEST(ChordMapping, PerStringBarresApplyStringByString) {
  // A partial barre at fret 2 over the three highest strings only.
  EXPECT_EQ(Define("{define: D frets x x 0 2 3 2}\nbarres 0 0 0 2 0 2"),
            "{define: D base-fret 1 frets x x 0 2 3 2 fingers 0 0 0 1 0 1}");
  // A barre value outside the frets a diagram shows is no barre.
  EXPECT_EQ(Define("{define: E frets 0 2 2 1 0 0}\nbarre -3"),
            "{define: E base-fret 1 frets 0 2 2 1 0 0}");
}

TEST(ChordMapping, HigherPositionsAreRelativeToTheBaseFret) {
  EXPECT_EQ(Define("{define: A base-fret 5 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}"),
            "{define: A base-fret 5 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}");
  EXPECT_EQ(Define("{define: E7#9 base-fret 6 frets 0 2 1 2 3 x}"),
            "{define: E7#9 base-fret 6 frets 0 2 1 2 3 x}");
  // A stored base fret of 1 is the nut position as well.
  EXPECT_EQ(Define("{define: C frets x 3 2 0 1 0}\nset frets 1 0 1 0 2 3 100"),
            "{define: C base-fret 1 frets x 3 2 0 1 0}");
}

TEST(ChordMapping, ABarreShapeUpTheNeckIsCountedFromItsBarre) {
  // Stored from the nut with a barre at fret 4; a reader's grid would not hold fret 6.
  EXPECT_EQ(Define("{define: Ab frets 4 6 6 5 4 4 fingers 1 3 4 2 1 1}\nbarre 4"),
            "{define: Ab base-fret 4 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}");
  // Fret 5 already lies below the four frets a reader's grid shows from the nut.
  EXPECT_EQ(Define("{define: G frets 3 5 5 4 3 3}\nbarre 3"),
            "{define: G base-fret 3 frets 1 3 3 2 1 1 fingers 1 0 0 0 1 1}");
  EXPECT_EQ(Define("{define: F# frets 2 4 4 3 2 2}\nbarre 2"),
            "{define: F# base-fret 1 frets 2 4 4 3 2 2 fingers 1 0 0 0 1 1}");
}

TEST(ChordMapping, ANoteBelowTheBaseFretMovesTheWindowDown) {
  // Base fret 5 but a note at fret 3: relative frets would be 0 or less, read as open strings.
  const ChordProChord chord =
      MapChord(Chord("{define: X frets 3 5 5 x x x}\nset frets 5 100 100 100 5 5 3"));
  EXPECT_EQ(DefineLine(chord), "{define: X base-fret 3 frets 1 3 3 x x x}");
  ASSERT_EQ(chord.remarks.size(), 1u);
  EXPECT_NE(chord.remarks[0].find("fret 3"), std::string::npos);
}

TEST(ChordMapping, MutedAndUndrawnFretValues) {
  const ChordProChord chord =
      MapChord(Chord("{define: D frets x x 0 2 3 2}\nset frets 0 2 3 2 0 120 -4"));
  // -4 is open; 120 shows nothing in the diagram and is written muted with a remark.
  EXPECT_EQ(DefineLine(chord), "{define: D base-fret 1 frets 0 x 0 2 3 2}");
  ASSERT_EQ(chord.remarks.size(), 1u);
  EXPECT_NE(chord.remarks[0].find("120 on string 5"), std::string::npos);
  EXPECT_TRUE(MapChord(Chord("{define: D frets x x 0 2 3 2}")).remarks.empty());
}

TEST(ChordMapping, UkuleleAndBanjoWriteTheirOwnStringCounts) {
  const ChordRecord g7 = Chord("instrument 1\n{define: G7 frets 0 2 1 2 fingers 0 2 1 3}");
  EXPECT_EQ(DefineLine(MapChord(g7)), "{define: G7 base-fret 1 frets 0 2 1 2 fingers 0 2 1 3}");
  EXPECT_EQ(InstrumentName(g7), "Ukulele, 4 strings");
  // Five-string banjo, short fifth string first.
  const ChordRecord d = Chord("instrument 4\n{define: D frets x 0 2 3 4 fingers x 0 1 2 3}");
  EXPECT_EQ(DefineLine(MapChord(d)), "{define: D base-fret 1 frets x 0 2 3 4 fingers 0 0 1 2 3}");
  EXPECT_EQ(InstrumentName(d), "Banjo, 5 strings");
  // The short fifth string begins at the fifth fret: a lower barre leaves it open, a higher one
  // covers it.
  EXPECT_EQ(Define("instrument 4\n{define: F frets 0 3 3 3 3}\nbarre 3"),
            "{define: F base-fret 1 frets 0 3 3 3 3 fingers 0 1 1 1 1}");
  EXPECT_EQ(Define("instrument 4\n{define: D frets 0 7 7 7 7}\nbarre 7"),
            "{define: D base-fret 7 frets 1 1 1 1 1 fingers 1 1 1 1 1}");
  EXPECT_EQ(InstrumentName(Chord("{define: C frets x 3 2 0 1 0}")), "Guitar, 6 strings");
  EXPECT_EQ(InstrumentName(Chord("instrument 2\n{define: C frets 0 0 0 3}")), "4 strings");
  const ChordRecord seven = Chord("{define: B frets x 2 4 4 4 2 x}");
  EXPECT_EQ(DefineLine(MapChord(seven)), "{define: B base-fret 1 frets x 2 4 4 4 2 x}");
  EXPECT_EQ(InstrumentName(seven), "7 strings");
}

TEST(ChordMapping, NamesReadBackAsThemselves) {
  // Degree sign in the handheld's code page, UTF-8 in the file.
  EXPECT_EQ(Define("{define: \"C\\xB0\" frets x 3 4 2 4 x}"),
            "{define: C\xC2\xB0 base-fret 1 frets x 3 4 2 4 x}");
  EXPECT_EQ(Define("{define: \"C}\" frets x 3 2 0 1 0}"),
            "{define: C\\} base-fret 1 frets x 3 2 0 1 0}");
  EXPECT_EQ(Define("{define: \"{\\\\\" frets x 3 2 0 1 0}"),
            "{define: \\{\\\\ base-fret 1 frets x 3 2 0 1 0}");
  EXPECT_EQ(Define("{define: \" C add9\" frets x 3 2 0 3 0}"),
            "{define: \" C add9\" base-fret 1 frets x 3 2 0 3 0}");
  // A line break in a name cannot start a directive of its own.
  EXPECT_EQ(Define("{define: \"C\\x0A{title: x\" frets x 3 2 0 1 0}"),
            "{define: \"C?\\{title: x\" base-fret 1 frets x 3 2 0 1 0}");
  // No empty definition: the name of the chord's image stands in.
  ChordRecord unnamed = Chord("{define: \"\" frets x 3 2 0 1 0}\noffset 0x1bc");
  EXPECT_EQ(DefineLine(MapChord(unnamed)), "{define: 1bc base-fret 1 frets x 3 2 0 1 0}");
}

TEST(ChordMapping, AQuoteInsideAQuotedNameStaysInTheName) {
  // Read back under the quoting rule (a quoted string with backslash escapes) by the fixture's
  // reader: each name whole, and nothing of it as a second name or a keyword.
  for (const std::string name : {"a\" \"b", "Am\" base-fret 5", "\"C maj", "\"C", "C \\"}) {
    SCOPED_TRACE(name);
    ChordRecord record = Chord("{define: C frets x 3 2 0 1 0}");
    record.name = name;
    const std::string line = DefineLine(MapChord(record));
    const ChordProChord back = MapChord(Chord(line));
    EXPECT_EQ(back.name, name) << line;
    EXPECT_EQ(DefineLine(back), line);
  }
}

TEST(ChordMapping, ARecordWithoutStringsDefinesNothing) {
  const ChordProChord chord = MapChord(Chord("{define: Odd frets 0}\nentry-count 1"));
  EXPECT_TRUE(chord.frets.empty());
}

}  // namespace
}  // namespace strumlet
