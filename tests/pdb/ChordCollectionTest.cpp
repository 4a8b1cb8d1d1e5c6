// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three placement orders, and the fast ordering against the literal placement rule.
#include <gtest/gtest.h>

#include <random>

#include "PdbTestSupport.h"

namespace strumlet {
namespace {

using testing::Names;
using testing::Parsed;
using testing::ParseInto;

std::string Describe(const std::vector<std::pair<std::string, int>>& chords) {
  std::string text = "category 0 Unfiled id 0\n";
  for (int slot = 1; slot < 16; ++slot) {
    text += "category " + std::to_string(slot) + " C" + std::to_string(slot) + "\n";
  }
  for (const auto& [name, category] : chords) {
    text +=
        "{define: \"" + name + "\" frets 0 0 0 0 0 0}\ncategory " + std::to_string(category) + "\n";
  }
  return text;
}

std::string Indexes(const ChordCollection& chords) {
  std::string joined;
  for (const auto& c : chords) joined += std::to_string(c.recordIndex) + " ";
  return joined;
}

TEST(ChordCollection, ByNameFlatsNaturalsSharps) {
  Parsed p;
  ParseInto(Describe({{"A", 0}, {"Am", 0}, {"A#", 0}, {"Ab", 0}, {"Bb", 0}, {"B7", 0}, {"B", 0}}),
            kSortByName, p);
  EXPECT_EQ(Names(p.db.chords), "Ab A Am A# Bb B B7");
}

TEST(ChordCollection, ByNameKeepsListOrderOfEqualNames) {
  Parsed p;
  ParseInto(Describe({{"G", 3}, {"E", 0}, {"G", 1}, {"GB", 2}, {"G", 2}}), kSortByName, p);
  EXPECT_EQ(Names(p.db.chords), "E G G G GB");  // an upper-case B is a natural
  EXPECT_EQ(Indexes(p.db.chords), "1 0 2 4 3 ");
}

TEST(ChordCollection, ByCategoryIsStable) {
  Parsed p;
  ParseInto(Describe({{"W", 3}, {"X", 0}, {"Y", 3}, {"Z", 1}}), kSortByCategory, p);
  EXPECT_EQ(Names(p.db.chords), "X Z W Y");
}

TEST(ChordCollection, ByPositionKeepsTheList) {
  Parsed p;
  ParseInto(Describe({{"G", 3}, {"C", 0}, {"A", 1}}), kSortByPosition, p);
  EXPECT_EQ(Names(p.db.chords), "G C A");
}

TEST(ChordCollection, UnknownOrderPlacesByPosition) {
  // An edited setting must not leave the pages without chords.
  for (int order : {3, -1}) {
    Parsed p;
    ParseInto(Describe({{"G", 3}, {"C", 0}}), order, p);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(Names(p.db.chords), "G C");
  }
}

TEST(ChordCollection, BeginEmptiesAndPlacingAfterFinishKeepsTheOrder) {
  ChordCollection c;
  ChordRecord r;
  c.Begin(kSortByName, ChordCollection::NameOrdering::kChordNames, 4);
  for (const char* name : {"D", "B", "C"}) {
    r.name = name;
    c.Place(r);
  }
  c.Finish();
  r.name = "A";
  c.Place(r);
  c.Finish();
  EXPECT_EQ(Names(c), "A B C D");
  c.Begin(kSortByName, ChordCollection::NameOrdering::kChordNames, 0);
  EXPECT_TRUE(c.empty());
}

// The placement rule as stated: each record goes before the first element that compares
// greater, found by scanning from the front.
std::vector<ChordRecord> Literal(const std::vector<ChordRecord>& in, int order,
                                 ChordCollection::NameOrdering ordering) {
  std::vector<ChordRecord> out;
  for (const auto& r : in) {
    std::size_t j = 0;
    for (; j < out.size(); ++j) {
      bool greater = false;
      if (order == kSortByCategory) {
        greater = static_cast<uint32_t>(out[j].category) > static_cast<uint32_t>(r.category);
      } else if (order == kSortByName) {
        greater = ordering == ChordCollection::NameOrdering::kChordNames
                      ? out[j].CompareNames(r.name) > 0
                      : PlainCompare(out[j].name, r.name) > 0;
      }
      if (greater) break;
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(j), r);
  }
  return out;
}

TEST(ChordCollection, FastOrderingEqualsLiteralPlacement) {
  std::mt19937 random(20261208);
  // Few distinct bytes so that names share roots, accidentals, long prefixes and duplicates.
  const std::string alphabet = "ABb#m7\xE9\x01";
  for (int round = 0; round < 60; ++round) {
    std::vector<ChordRecord> records(random() % 300);
    for (std::size_t i = 0; i < records.size(); ++i) {
      auto& r = records[i];
      r.recordIndex = static_cast<int32_t>(i);
      std::size_t length = random() % (round % 3 == 0 ? 12 : 4);
      r.name.assign(length, ' ');
      for (char& c : r.name) c = alphabet[random() % alphabet.size()];
      r.category = static_cast<int32_t>(random() % 5) - 2;  // negatives are large unsigned
    }
    for (int order : {kSortByCategory, kSortByName, kSortByPosition}) {
      for (auto ordering :
           {ChordCollection::NameOrdering::kChordNames, ChordCollection::NameOrdering::kPlain}) {
        ChordCollection fast;
        fast.Begin(order, ordering, records.size());
        for (const auto& r : records) fast.Place(r);
        fast.Finish();
        auto expected = Literal(records, order, ordering);
        ASSERT_EQ(fast.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
          ASSERT_EQ(fast[i].recordIndex, expected[i].recordIndex)
              << "round " << round << " order " << order << " position " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace strumlet
