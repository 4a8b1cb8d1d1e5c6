// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <vector>

#include "RenderTestSupport.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/render/DiagramLayout.h"

namespace strumlet {
namespace {

using test::MakeChord;
using Kind = StringMark::Kind;

// The worked metrics: Lw 15, Lh 10, Nh 24, Nw 30.
constexpr TextMetrics kWorked{24, 10, 15, 30};
// Only the hand of a style counts for the layout.
const DiagramStyle kRightHanded;

std::vector<int> StringXs(const DiagramLayout& l) {
  std::vector<int> xs;
  for (const auto& s : l.strings) xs.push_back(s.x);
  return xs;
}

TEST(DiagramLayout, WorkedSixStringLayout) {
  auto record = MakeChord("C", 3, {3, 3, 3, 3, 3, 3});
  const DiagramLayout l = ComputeLayout(record, kWorked, kRightHanded);
  EXPECT_EQ(l.rightOffset, 16);
  EXPECT_EQ(l.width, 100);
  EXPECT_EQ(l.height, 98);
  EXPECT_EQ(StringXs(l), (std::vector<int>{77, 63, 49, 35, 21, 7}));
  for (const auto& s : l.strings) {
    EXPECT_EQ(s.y1, 14);
    EXPECT_EQ(s.y2, 70);
  }
  ASSERT_EQ(l.frets.size(), 5u);
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(l.frets[j].y, 14 * (j + 1));
    EXPECT_EQ(l.frets[j].x1, 7);
    EXPECT_EQ(l.frets[j].x2, 77);
  }
  EXPECT_EQ(l.nameX, 27);
  EXPECT_EQ(l.nameY, 91);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].text, " 3");
  EXPECT_EQ(l.labels[0].x, 84);
  EXPECT_EQ(l.labels[0].y, 24);
  // Every note sits on the base fret: glyphs centred in the first fret space.
  ASSERT_EQ(l.marks.size(), 6u);
  for (const auto& m : l.marks) {
    EXPECT_EQ(m.kind, Kind::kGlyph);
    EXPECT_EQ(m.y, 21);
  }
}

TEST(DiagramLayout, WideNameWidensImageAndCentresGrid) {
  TextMetrics metrics = kWorked;
  metrics.nameWidth = 130;
  const DiagramLayout l =
      ComputeLayout(MakeChord("Cmaj7", 0, {0, 0, 0, 0, 0, 0}), metrics, kRightHanded);
  EXPECT_EQ(l.width, 130);
  EXPECT_EQ(l.rightOffset, 31);
  EXPECT_EQ(StringXs(l), (std::vector<int>{92, 78, 64, 50, 36, 22}));
  EXPECT_EQ(l.nameX, 1);
  for (const auto& m : l.marks) {
    EXPECT_EQ(m.kind, Kind::kOpen);
    EXPECT_EQ(m.y, 7);
  }
}

TEST(DiagramLayout, InstrumentProfilesSetWidthAndFretsShown) {
  struct Case {
    uint8_t code;
    int width, height, frets;
  };
  for (const Case& c :
       {Case{0, 100, 98, 5}, Case{1, 72, 126, 7}, Case{2, 72, 98, 5}, Case{3, 72, 98, 5},
        Case{4, 86, 98, 5}, Case{9, 100, 98, 5}, Case{255, 100, 98, 5}}) {
    SCOPED_TRACE(c.code);
    const DiagramLayout l =
        ComputeLayout(MakeChord("A", 0, {0, 0, 0, 0}, c.code), kWorked, kRightHanded);
    EXPECT_EQ(l.width, c.width);
    EXPECT_EQ(l.height, c.height);
    EXPECT_EQ(static_cast<int>(l.frets.size()), c.frets);
  }
}

TEST(DiagramLayout, BaseFretLabels) {
  EXPECT_TRUE(ComputeLayout(MakeChord("A", 0, {1, 2}), kWorked, kRightHanded).labels.empty());
  EXPECT_EQ(ComputeLayout(MakeChord("A", 12, {12, 13}), kWorked, kRightHanded).labels.at(0).text,
            "12");
  EXPECT_EQ(ComputeLayout(MakeChord("A", 9, {9}), kWorked, kRightHanded).labels.at(0).text, " 9");
  EXPECT_TRUE(ComputeLayout(MakeChord("A", 25, {25}), kWorked, kRightHanded).labels.empty());
  EXPECT_TRUE(ComputeLayout(MakeChord("A", 30, {30}), kWorked, kRightHanded).labels.empty());
  EXPECT_TRUE(ComputeLayout(MakeChord("A", -3, {1}), kWorked, kRightHanded).labels.empty());
}

TEST(DiagramLayout, BarreLabelsAndWhenTheBaseFretLabelGivesWay) {
  auto barreChord = [](int base, int barre, uint8_t flags = ChordRecord::kBarre) {
    auto r = MakeChord("F", base, {1, 1, 2, 3, 3, 1});
    r.flags = flags;
    r.barres[0] = static_cast<int8_t>(barre);
    return ComputeLayout(r, kWorked, kRightHanded);
  };
  // Barre one below the base fret: both labels, the barre one lower.
  auto l = barreChord(5, 3);
  ASSERT_EQ(l.labels.size(), 2u);
  EXPECT_EQ(l.labels[0].text, " 5");
  EXPECT_EQ(l.labels[1].text, "c3");
  EXPECT_EQ(l.labels[1].x, 84);
  EXPECT_EQ(l.labels[1].y, 14 + 2 * 10 + 5);
  // Barre at the base fret: the base-fret label is left out.
  l = barreChord(4, 3);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].text, "c3");
  // Barre above 9: "c" with the number one label line lower.
  l = barreChord(12, 12);
  ASSERT_EQ(l.labels.size(), 2u);
  EXPECT_EQ(l.labels[0].text, "c");
  EXPECT_EQ(l.labels[1].text, "12");
  EXPECT_EQ(l.labels[1].y, l.labels[0].y + 10 + 5);
  // Outside the table: the "c" alone, or nothing.
  l = barreChord(0, 40);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].text, "c");
  EXPECT_TRUE(barreChord(0, -2).labels.empty());
  // Barre 0 reads "c!"; without a base fret the barre label still stays in the label column,
  // clear of the grid.
  l = barreChord(0, 0);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].text, "c!");
  EXPECT_EQ(l.labels[0].x, 84);
  // Per-string barres: "c!", except on the five-string instrument.
  l = barreChord(0, 3, ChordRecord::kBarre | ChordRecord::kPerStringBarres);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].text, "c!");
  auto banjo = MakeChord("G", 0, {0, 0, 0, 0, 0}, kBanjoCode);
  banjo.flags = ChordRecord::kBarre | ChordRecord::kPerStringBarres;
  EXPECT_TRUE(ComputeLayout(banjo, kWorked, kRightHanded).labels.empty());
  // The per-string flag alone means no barre.
  EXPECT_EQ(barreChord(0, 3, ChordRecord::kPerStringBarres).labels.size(), 0u);
}

TEST(DiagramLayout, NotesAtOrBelowTheBarreAreOpen) {
  auto r = MakeChord("G", 0, {3, 3, 4, 5, 5, 3});
  r.flags = ChordRecord::kBarre;
  r.barres[0] = 3;
  const DiagramLayout l = ComputeLayout(r, kWorked, kRightHanded);
  ASSERT_EQ(l.marks.size(), 6u);
  const std::vector<Kind> kinds{Kind::kOpen,  Kind::kOpen,  Kind::kGlyph,
                                Kind::kGlyph, Kind::kGlyph, Kind::kOpen};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(l.marks[i].kind, kinds[i]) << i;
  EXPECT_EQ(l.marks[2].y, 21);  // fret 4: first space below the barre
  EXPECT_EQ(l.marks[3].y, 35);  // fret 5: second space

  // Per-string barres compare each string with its own barre value.
  r.flags = ChordRecord::kBarre | ChordRecord::kPerStringBarres;
  r.barres = {};
  r.barres[3] = 4;
  const DiagramLayout p = ComputeLayout(r, kWorked, kRightHanded);
  EXPECT_EQ(p.marks[0].kind, Kind::kGlyph);
  EXPECT_EQ(p.marks[2].kind, Kind::kOpen);
  EXPECT_EQ(p.marks[3].kind, Kind::kGlyph);
}

TEST(DiagramLayout, MarksForOpenMutedAndOutOfRangeFrets) {
  auto r = MakeChord("X", 0, {0, -5, 100, 101, 127, 99});
  const DiagramLayout l = ComputeLayout(r, kWorked, kRightHanded);
  ASSERT_EQ(l.marks.size(), 4u);
  EXPECT_EQ(l.marks[0].kind, Kind::kOpen);
  EXPECT_EQ(l.marks[1].kind, Kind::kOpen);
  EXPECT_EQ(l.marks[2].kind, Kind::kMuted);
  EXPECT_EQ(l.marks[2].x, 49);
  EXPECT_EQ(l.marks[2].y, 0);
  EXPECT_EQ(l.marks[3].kind, Kind::kGlyph);  // fret 99, far below the image: clipped
  EXPECT_EQ(l.marks[3].x, 7);
}

TEST(DiagramLayout, FingerGlyphChoice) {
  auto r = MakeChord("D", 0, {2, 3, 2, 0});
  r.fingers = {4, 2, 3, 1, 0};
  // Without the fingers flag every note uses fingers[0].
  auto l = ComputeLayout(r, kWorked, kRightHanded);
  ASSERT_EQ(l.marks.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(l.marks[i].glyph, 4);
  r.flags = ChordRecord::kFingers;
  l = ComputeLayout(r, kWorked, kRightHanded);
  EXPECT_EQ(l.marks[0].glyph, 2);
  EXPECT_EQ(l.marks[1].glyph, 3);
  EXPECT_EQ(l.marks[2].glyph, 1);
  // Finger numbers without a glyph draw nothing for that note.
  r.fingers = {0, 6, -1, 5, 0};
  l = ComputeLayout(r, kWorked, kRightHanded);
  ASSERT_EQ(l.marks.size(), 2u);
  EXPECT_EQ(l.marks[0].glyph, 5);
  EXPECT_EQ(l.marks[1].kind, Kind::kOpen);
}

TEST(DiagramLayout, FiveStringWithBaseFretThree) {
  auto r = MakeChord("G", 3, {3, 3, 4, 5, 0}, kBanjoCode);
  const DiagramLayout l = ComputeLayout(r, kWorked, kRightHanded);
  ASSERT_EQ(l.strings.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(l.strings[i].y1, 14);
  EXPECT_EQ(l.strings[4].y1, 56);  // the last fret space only
  EXPECT_EQ(l.strings[4].y2, 70);
  const int fifth = l.strings[4].x, fourth = l.strings[3].x;
  ASSERT_EQ(l.frets.size(), 5u);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(l.frets[j].x1, fourth) << j;
  EXPECT_EQ(l.frets[3].x1, fifth);
  EXPECT_EQ(l.frets[4].x1, fifth);
}

TEST(DiagramLayout, FiveStringFifthStringByBaseFret) {
  auto line = [](int base) {
    return ComputeLayout(MakeChord("G", base, {0, 0, 0, 0, 0}, kBanjoCode), kWorked, kRightHanded);
  };
  // At the nut (and base fret 1 or 2) the short string is a single point on the bottom line.
  for (int base : {0, 1, 2, -4}) {
    auto l = line(base);
    EXPECT_EQ(l.strings[4].y1, 70) << base;
    EXPECT_EQ(l.strings[4].y2, 70) << base;
    for (const auto& f : l.frets) EXPECT_EQ(f.x1, l.strings[3].x) << base;
  }
  auto l5 = line(5);
  EXPECT_EQ(l5.strings[4].y1, 28);
  EXPECT_EQ(l5.frets[0].x1, l5.strings[3].x);
  EXPECT_EQ(l5.frets[1].x1, l5.strings[4].x);
  // From base fret 6 on, the fifth string runs the whole grid.
  auto l6 = line(6);
  EXPECT_EQ(l6.strings[4].y1, 14);
  for (const auto& f : l6.frets) EXPECT_EQ(f.x1, l6.strings[4].x);
}

TEST(DiagramLayout, EntryCountsOutsideTheArrays) {
  for (int count : {0, 1}) {
    auto r = MakeChord("N", 0, {});
    r.entryCount = static_cast<uint8_t>(count);
    const DiagramLayout l = ComputeLayout(r, kWorked, kRightHanded);
    EXPECT_TRUE(l.strings.empty());
    EXPECT_TRUE(l.frets.empty());
    EXPECT_TRUE(l.marks.empty());
    EXPECT_EQ(l.width, 100);
  }
  auto r = MakeChord("N", 0, {});
  r.entryCount = 200;
  const DiagramLayout l = ComputeLayout(r, kWorked, kRightHanded);
  EXPECT_EQ(l.strings.size(), 12u);
  EXPECT_EQ(l.marks.size(), 12u);
  // The image is as wide as the record's grid: its lowest string stands where a six-string
  // record's does, none falls off on the left.
  EXPECT_EQ(l.width, 100 + 6 * 14);
  EXPECT_EQ(l.strings.back().x, 7);
}

TEST(DiagramLayout, UnusableFontStillGivesAPositiveSize) {
  const DiagramLayout l =
      ComputeLayout(MakeChord("C", 0, {0, 1, 0, 2, 3, 100}), TextMetrics{}, kRightHanded);
  EXPECT_EQ(l.width, 1 + 6 * 14);
  EXPECT_EQ(l.height, 5 * 14 + 4);
}

}  // namespace
}  // namespace strumlet

namespace strumlet {
namespace {

const DiagramStyle kLeftHanded = [] {
  DiagramStyle style;
  style.leftHanded = true;
  return style;
}();

// Left-handed: the grid and every mark mirrored, each mark on its own string, the labels moved
// to the other side of the grid and never mirrored.
TEST(DiagramLayout, LeftHandedMirrorsTheNeckButNotTheTexts) {
  auto barre = MakeChord("E7#9", 6, {100, 8, 7, 6, 7, 0});
  barre.flags |= ChordRecord::kBarre | ChordRecord::kFingers;
  barre.barres[0] = 3;
  barre.fingers[2] = 4;
  auto wideName = MakeChord("Cmaj7(add9)", 0, {0, 3, 0, 2, 3, 100});
  const ChordRecord records[] = {barre, wideName, MakeChord("G", 3, {3, 3, 4, 5, 0}, 4)};
  for (const ChordRecord& record : records) {
    SCOPED_TRACE(record.name);
    const TextMetrics metrics{24, 10, 15, record.name.size() > 4 ? 130 : 30};
    const DiagramLayout right = ComputeLayout(record, metrics, kRightHanded);
    const DiagramLayout left = ComputeLayout(record, metrics, kLeftHanded);
    const int w = right.width;
    ASSERT_EQ(left.width, w);
    ASSERT_EQ(left.height, right.height);
    ASSERT_EQ(left.strings.size(), right.strings.size());
    for (std::size_t i = 0; i < right.strings.size(); ++i) {
      EXPECT_EQ(left.strings[i].x, w - 1 - right.strings[i].x);
      EXPECT_EQ(left.strings[i].y1, right.strings[i].y1);  // the banjo's short string stays short
      EXPECT_EQ(left.strings[i].y2, right.strings[i].y2);
    }
    ASSERT_EQ(left.frets.size(), right.frets.size());
    for (std::size_t j = 0; j < right.frets.size(); ++j) {
      EXPECT_EQ(left.frets[j].x1, w - 1 - right.frets[j].x2);
      EXPECT_EQ(left.frets[j].x2, w - 1 - right.frets[j].x1);
    }
    ASSERT_EQ(left.marks.size(), right.marks.size());
    for (std::size_t m = 0; m < right.marks.size(); ++m) {
      EXPECT_EQ(left.marks[m].kind, right.marks[m].kind);
      EXPECT_EQ(left.marks[m].glyph, right.marks[m].glyph);
      EXPECT_EQ(left.marks[m].y, right.marks[m].y);
      EXPECT_EQ(left.marks[m].x, w - 1 - right.marks[m].x);
    }
    // The highest-pitched string (string 1) is now the left-most line.
    if (!left.strings.empty()) {
      EXPECT_LT(left.strings.front().x, left.strings.back().x);
    }
    ASSERT_EQ(left.labels.size(), right.labels.size());
    const int gridLeft = left.strings.empty() ? w : left.strings.front().x;
    for (std::size_t k = 0; k < right.labels.size(); ++k) {
      EXPECT_EQ(left.labels[k].text, right.labels[k].text);
      EXPECT_EQ(left.labels[k].y, right.labels[k].y);
      EXPECT_GE(left.labels[k].x, 0);
      EXPECT_LE(left.labels[k].x + metrics.labelWidth, gridLeft);
    }
    EXPECT_EQ(left.nameY, right.nameY);
    EXPECT_GE(left.nameX, 1);
    EXPECT_LE(left.nameX + metrics.nameWidth, w + 1);
  }
}

}  // namespace
}  // namespace strumlet
