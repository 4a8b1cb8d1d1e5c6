// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace strumlet {

// One thing a printed chord book places, with its size in points: the book's title, a heading,
// or a diagram (with its name, and its words when they are printed).
struct BookItem {
  enum class Kind { kTitle, kHeading, kDiagram };
  Kind kind = Kind::kDiagram;
  double width = 0.0;
  double height = 0.0;
};

// The page's printable box and the spaces between what it holds, in points.
struct BookGeometry {
  double width = 0.0;   // of the box the items go into
  double height = 0.0;  // of that box, without the footer
  double columnGap = 10.0;
  double rowGap = 12.0;
  double headingAbove = 14.0;  // space before a heading that does not start a page
  double headingBelow = 6.0;   // space between a heading and its first row
  double titleBelow = 12.0;
};

// Where an item went: its index in the items given, and its top left corner in the box.
struct PlacedItem {
  std::size_t item = 0;
  double x = 0.0;
  double y = 0.0;
};

using BookPage = std::vector<PlacedItem>;

// Lays the items out in their order, diagrams left to right in rows, titles and headings on
// lines of their own. An item is never split: a row that does not fit below what a page holds
// starts the next page. A heading never stands alone at the foot of a page: when its first row
// does not fit below it, the heading goes to the next page with that row. Something larger
// than a whole page gets a page of its own and reaches past its foot. Every item is placed
// exactly once; no items make no pages.
std::vector<BookPage> LayOutBook(std::span<const BookItem> items, const BookGeometry& geometry);

}  // namespace strumlet
