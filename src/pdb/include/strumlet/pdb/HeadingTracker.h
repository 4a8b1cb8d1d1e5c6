// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// Where the headings of a page stand: the category under sort order 0, the root note under
// sort order 1, none by position. Next() gives the heading (in the code page) that starts
// before `record`, or none where it goes on under the previous one. The pages and every export
// head their chords alike through it.
class HeadingTracker {
 public:
  HeadingTracker(const CategoryTable& categories, int sortOrder)
      : categories_(categories), sortOrder_(sortOrder) {}
  // The classic page's: it starts as though a chord of category -1 came before its first, so
  // an archived chord stored with category -1 gets no heading while it leads the page. The
  // classic page keeps that byte for byte; the exports head such a chord.
  static HeadingTracker ForClassicPage(const CategoryTable& categories, int sortOrder);

  std::optional<std::string> Next(const ChordRecord& record);
  // The category name of a record, "Unfiled" for a slot without an entry.
  std::string CategoryName(const ChordRecord& record) const;

 private:
  const CategoryTable& categories_;
  int sortOrder_;
  std::optional<int> category_;
  std::optional<std::string> root_;
};

}  // namespace strumlet
