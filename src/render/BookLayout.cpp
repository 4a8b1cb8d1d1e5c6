// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/BookLayout.h"

#include <algorithm>

namespace strumlet {
namespace {

// A line of the book: a title, a heading, or a row of diagrams, placed as one.
struct Line {
  BookItem::Kind kind;
  std::size_t first = 0;  // items [first, last)
  std::size_t last = 0;
  double height = 0.0;
};

std::vector<Line> Lines(std::span<const BookItem> items, double width, double gap) {
  std::vector<Line> lines;
  double x = 0.0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const BookItem& item = items[i];
    const bool diagram = item.kind == BookItem::Kind::kDiagram;
    const bool joins = diagram && !lines.empty() && lines.back().kind == BookItem::Kind::kDiagram &&
                       x + gap + item.width <= width;
    if (joins) {
      x += gap + item.width;
      lines.back().last = i + 1;
      lines.back().height = std::max(lines.back().height, item.height);
      continue;
    }
    lines.push_back({item.kind, i, i + 1, item.height});
    x = item.width;
  }
  return lines;
}

}  // namespace

std::vector<BookPage> LayOutBook(std::span<const BookItem> items, const BookGeometry& geometry) {
  const std::vector<Line> lines = Lines(items, geometry.width, geometry.columnGap);
  std::vector<BookPage> pages;
  double y = 0.0;
  // The space that goes above a line after `previous`, when the line does not start a page.
  auto gapAbove = [&](const Line& line, const Line& previous) {
    if (previous.kind == BookItem::Kind::kTitle) return geometry.titleBelow;
    if (line.kind == BookItem::Kind::kDiagram) {
      return previous.kind == BookItem::Kind::kHeading ? geometry.headingBelow : geometry.rowGap;
    }
    return geometry.headingAbove;
  };
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const Line& line = lines[l];
    double gap = pages.empty() || pages.back().empty() ? 0.0 : gapAbove(line, lines[l - 1]);
    // What must fit: the line, and below a heading the row (or heading) that follows it.
    double needed = gap + line.height;
    if (line.kind == BookItem::Kind::kHeading && l + 1 < lines.size()) {
      needed += gapAbove(lines[l + 1], line) + lines[l + 1].height;
    }
    // A row stays with the heading above it, even one too tall for the rest of the page: the
    // heading was moved there for it.
    const bool afterHeading = l > 0 && lines[l - 1].kind == BookItem::Kind::kHeading &&
                              line.kind == BookItem::Kind::kDiagram;
    const bool full = !afterHeading && y + needed > geometry.height;
    if (pages.empty() || (!pages.back().empty() && full)) {
      pages.emplace_back();
      y = 0.0;
      gap = 0.0;
    }
    y += gap;
    double x = 0.0;
    for (std::size_t i = line.first; i < line.last; ++i) {
      pages.back().push_back({i, x, y});
      x += items[i].width + geometry.columnGap;
    }
    y += line.height;
  }
  return pages;
}

}  // namespace strumlet
