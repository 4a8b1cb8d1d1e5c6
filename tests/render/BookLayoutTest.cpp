// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/BookLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace strumlet {
namespace {

using Kind = BookItem::Kind;

BookGeometry Box(double width, double height) {
  BookGeometry geometry;
  geometry.width = width;
  geometry.height = height;
  return geometry;
}

// What a book's pages must keep, whatever they hold: every item once and in order, none split
// or outside the box, no two overlapping, and no heading the last thing on a page or parted
// from its first row.
void ExpectSoundPages(const std::vector<BookItem>& items, const BookGeometry& geometry) {
  const std::vector<BookPage> pages = LayOutBook(items, geometry);
  std::size_t next = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const BookPage& page = pages[p];
    ASSERT_FALSE(page.empty()) << "page " << p;
    for (std::size_t k = 0; k < page.size(); ++k) {
      const PlacedItem& placed = page[k];
      ASSERT_EQ(placed.item, next++) << "page " << p;
      const BookItem& item = items[placed.item];
      EXPECT_GE(placed.y, 0.0);
      EXPECT_GE(placed.x, 0.0);
      if (item.height <= geometry.height && item.kind != Kind::kHeading) {
        EXPECT_LE(placed.y + item.height, geometry.height + 1e-9) << "item " << placed.item;
      }
      if (item.width <= geometry.width) {
        EXPECT_LE(placed.x + item.width, geometry.width + 1e-9) << "item " << placed.item;
      }
      if (k > 0) {
        const PlacedItem& before = page[k - 1];
        const bool sameRow = before.y == placed.y;
        if (sameRow) {
          EXPECT_EQ(item.kind, Kind::kDiagram);
          EXPECT_GE(placed.x, before.x + items[before.item].width);
        } else {
          EXPECT_GE(placed.y, before.y + items[before.item].height) << "item " << placed.item;
        }
      }
      if (item.kind == Kind::kHeading) {
        ASSERT_LT(k + 1, page.size()) << "heading " << placed.item << " ends page " << p;
        EXPECT_EQ(items[page[k + 1].item].kind, Kind::kDiagram);
      }
    }
  }
  EXPECT_EQ(next, items.size());
}

TEST(BookLayout, RowsFillTheWidthAndBreakBeforeWhatDoesNotFit) {
  // Three 30-point diagrams with 10 points between them fit 110 points; the fourth starts a row.
  const std::vector<BookItem> items(4, {Kind::kDiagram, 30, 20});
  BookGeometry geometry = Box(110, 1000);
  const std::vector<BookPage> pages = LayOutBook(items, geometry);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 4u);
  EXPECT_EQ(pages[0][2].x, 80);
  EXPECT_EQ(pages[0][2].y, 0);
  EXPECT_EQ(pages[0][3].x, 0);
  EXPECT_EQ(pages[0][3].y, 20 + geometry.rowGap);
  EXPECT_TRUE(LayOutBook({}, geometry).empty());
}

TEST(BookLayout, AHeadingWhoseRowDoesNotFitMovesToTheNextPageWithIt) {
  // Page height 100: the title and two rows of 30 leave 16 points; the heading (15) would fit
  // but its row would not.
  std::vector<BookItem> items = {{Kind::kTitle, 50, 10},
                                 {Kind::kDiagram, 30, 30},
                                 {Kind::kDiagram, 30, 30},
                                 {Kind::kHeading, 40, 15},
                                 {Kind::kDiagram, 30, 30}};
  BookGeometry geometry = Box(30, 100);
  geometry.titleBelow = 2;
  geometry.rowGap = 4;
  geometry.headingAbove = 2;
  const std::vector<BookPage> pages = LayOutBook(items, geometry);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 3u);
  ASSERT_EQ(pages[1].size(), 2u);
  EXPECT_EQ(pages[1][0].item, 3u);
  EXPECT_EQ(pages[1][0].y, 0);
  EXPECT_EQ(pages[1][1].y, 15 + geometry.headingBelow);
  ExpectSoundPages(items, geometry);
}

TEST(BookLayout, SomethingTallerThanAPageGetsAPageOfItsOwnAndKeepsItsHeading) {
  const std::vector<BookItem> items = {{Kind::kDiagram, 30, 50},
                                       {Kind::kHeading, 40, 15},
                                       {Kind::kDiagram, 30, 500},
                                       {Kind::kDiagram, 30, 50}};
  const std::vector<BookPage> pages = LayOutBook(items, Box(30, 100));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[1].size(), 2u);  // the heading and its giant
  EXPECT_EQ(pages[2][0].item, 3u);
}

TEST(BookLayout, RandomBooksKeepEveryRule) {
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> size(5.0, 120.0);
  std::uniform_int_distribution<int> kind(0, 5);
  for (int book = 0; book < 300; ++book) {
    std::vector<BookItem> items = {{Kind::kTitle, size(random), 30}};
    const int count = 1 + book % 90;
    for (int i = 0; i < count; ++i) {
      if (kind(random) == 0 || items.back().kind == Kind::kTitle) {
        items.push_back({Kind::kHeading, size(random), 18});
      }
      items.push_back({Kind::kDiagram, size(random), size(random)});
    }
    ExpectSoundPages(items, Box(200 + book % 7 * 40, 150 + book % 11 * 60));
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace strumlet
