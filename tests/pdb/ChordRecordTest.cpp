// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading single records: the variable layout of fingers, name and barres, and the name length.
#include <gtest/gtest.h>

#include "PdbTestSupport.h"
#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {
namespace {

using testing::Parsed;
using testing::ParseInto;

const ChordRecord& OnlyChord(const Parsed& p) {
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.db.chords.size(), 1u);
  return p.db.chords[0];
}

TEST(ChordRecord, GuitarChordLandsWithLowStringInTheLastEntry) {
  Parsed p;
  ParseInto(R"(
{define: C base-fret 1 frets x 3 2 0 1 0 fingers x 3 2 0 1 0}
)",
            2, p);
  const ChordRecord& c = OnlyChord(p);
  EXPECT_EQ(c.entryCount, 7);
  EXPECT_EQ(c.flags, ChordRecord::kFingers);
  EXPECT_EQ(c.baseFret(), 0);
  // Entry 1 is the string drawn right-most: the high e; entry 6 the low E.
  const int frets[] = {0, 0, 1, 0, 2, 3, 100};
  const int fingers[] = {0, 0, 1, 0, 2, 3, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(c.frets[i], frets[i]) << "entry " << i;
    EXPECT_EQ(c.fingers[i], fingers[i]) << "entry " << i;
  }
  EXPECT_EQ(c.name, "C");
  EXPECT_EQ(c.marker, 1);
  EXPECT_TRUE(p.messages.Texts().empty());
}

TEST(ChordRecord, BaseFretMakesRelativeFretsAbsolute) {
  Parsed p;
  ParseInto("{define: Bm base-fret 2 frets x 1 3 3 2 1}\n", 2, p);
  const ChordRecord& c = OnlyChord(p);
  const int frets[] = {2, 2, 3, 4, 4, 2, 100};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(c.frets[i], frets[i]) << "entry " << i;
}

TEST(ChordRecord, NameSitsBetweenFingersAndBarres) {
  // If the reader took the name from the end of the record, the barre values and the name
  // would swap places and every later record would be read from the wrong offset.
  Parsed p;
  ParseInto(R"(
{define: F frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}
barres 1 0 0 0 1 1
{define: G frets 3 2 0 0 0 3}
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 2u);
  const ChordRecord& f = p.db.chords[0];
  EXPECT_EQ(f.name, "F");
  EXPECT_EQ(f.flags, ChordRecord::kFingers | ChordRecord::kBarre | ChordRecord::kPerStringBarres);
  const int barres[] = {0, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f.barres[i], barres[i]) << "entry " << i;
  EXPECT_EQ(p.db.chords[1].name, "G");
  EXPECT_EQ(p.db.chords[1].frets[6], 3);
  EXPECT_TRUE(p.db.complete);
}

TEST(ChordRecord, BarreFlagsDecideHowManyBarreBytesFollow) {
  // 0x04 alone: one byte; 0x06: one per entry; 0x02 alone: none. A wrong count shifts the next
  // record, so each case is followed by a chord that must still read correctly.
  Parsed p;
  ParseInto(R"(
{define: One frets 3 3 3 3 3 3}
barre 3
{define: After1 frets 0 2 2 1 0 0}
{define: PerString frets 5 5 5 5 5 5}
set barres 9 1 2 3 4 5 6
{define: After2 frets 0 2 2 0 0 0}
{define: FlagOnly frets 0 0 0 0 0 0}
flags 0x02
{define: After3 frets x 0 2 2 2 0}
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 6u);
  EXPECT_EQ(p.db.chords[0].barres[0], 3);
  EXPECT_EQ(p.db.chords[0].barres[1], 0);
  EXPECT_EQ(p.db.chords[1].name, "After1");
  EXPECT_EQ(p.db.chords[2].barres[0], 9);
  EXPECT_EQ(p.db.chords[2].barres[6], 6);
  EXPECT_EQ(p.db.chords[3].name, "After2");
  EXPECT_EQ(p.db.chords[4].barres[0], 0);
  EXPECT_EQ(p.db.chords[5].name, "After3");
  EXPECT_EQ(p.db.chords[5].frets[6], 100);
  EXPECT_TRUE(p.db.complete);
}

TEST(ChordRecord, WithoutFingerFlagNoFingerBytesAreRead) {
  Parsed p;
  ParseInto(R"(
{define: Am frets x 0 2 2 1 0}
set fingers 0 9 9 9 9 9 9   # present in the description, but flag 0x08 is off
flags 0
{define: E frets 0 2 2 1 0 0}
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 2u);
  for (int f : p.db.chords[0].fingers) EXPECT_EQ(f, 0);
  EXPECT_EQ(p.db.chords[1].name, "E");
}

TEST(ChordRecord, NameLengthLimits) {
  Parsed p;
  ParseInto(R"(
{define: "" frets 0 0 0 0 0 0}
{define: "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" frets 0 0 0 0 0 0}
{define: Next frets 0 0 0 0 0 0}
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 3u);
  EXPECT_EQ(p.db.chords[0].name, "");
  EXPECT_EQ(p.db.chords[1].name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_EQ(p.db.chords[2].name, "Next");
  EXPECT_TRUE(p.messages.Texts().empty());
}

TEST(ChordRecord, OutOfRangeNameLengthReadsThirtyTwoBytesAndSaysSo) {
  for (const char* length : {"33", "0x80", "-1"}) {
    SCOPED_TRACE(length);
    Parsed p;
    ParseInto(std::string(R"(
{define: "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" frets 0 0 0 0 0 0}
name-length )") + length +
                  R"(
{define: Next frets 0 0 0 0 0 0}
)",
              2, p);
    ASSERT_EQ(p.db.chords.size(), 2u);
    EXPECT_EQ(p.db.chords[0].name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    EXPECT_EQ(p.db.chords[1].name, "Next");
    ASSERT_EQ(p.messages.Texts().size(), 1u);
    EXPECT_EQ(p.messages.Texts()[0], "Invalid Chord name length.");
    EXPECT_EQ(p.messages.Captions()[0], "");
  }
}

TEST(ChordRecord, NameStopsAtTheFirstZeroByte) {
  Parsed p;
  ParseInto("{define: \"G7\\0junk\" frets 3 2 0 0 0 1}\n", 2, p);
  EXPECT_EQ(OnlyChord(p).name, "G7");
}

TEST(ChordRecord, RootNote) {
  ChordRecord r;
  const std::pair<const char*, const char*> cases[] = {{"C", "C"},  {"C#m7", "C#"}, {"Bb", "Bb"},
                                                       {"Am", "A"}, {"AB", "A"},    {"", ""}};
  for (auto [name, root] : cases) {
    r.name = name;
    EXPECT_EQ(r.RootNote(), root) << name;
  }
}

TEST(ChordRecord, CompareNamesRanksFlatsNaturalsSharps) {
  EXPECT_LT(CompareChordNames("Ab", "A"), 0);
  EXPECT_LT(CompareChordNames("Am", "A#"), 0);
  EXPECT_GT(CompareChordNames("A#", "Ab7"), 0);
  EXPECT_LT(CompareChordNames("A#", "Bb"), 0);  // the first letter decides first
  EXPECT_LT(CompareChordNames("A", "Am"), 0);   // a name that ends first is smaller
  EXPECT_EQ(CompareChordNames("G", "G"), 0);
  EXPECT_EQ(CompareChordNames("", ""), 0);
  EXPECT_GT(CompareChordNames("AB", "Ab"), 0);  // only a lower-case b is a flat
  EXPECT_LT(CompareChordNames("A\xE9", "A#"), 0);
  EXPECT_GT(PlainCompare("A\xE9", "Az"), 0);  // bytes compare unsigned
  ChordRecord r;
  r.name = "Ebm";
  EXPECT_LT(r.CompareNames("E"), 0);
}

}  // namespace
}  // namespace strumlet
