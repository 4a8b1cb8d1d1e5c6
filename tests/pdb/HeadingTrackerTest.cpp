// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the headings stand: the classic page and the exports differ only before a chord an
// archive stores with category -1.
#include <gtest/gtest.h>

#include "strumlet/pdb/ChordCollection.h"
#include "strumlet/pdb/HeadingTracker.h"

namespace strumlet {
namespace {

TEST(HeadingTracker, TheClassicPageLeavesALeadingCategoryMinusOneUnheaded) {
  const CategoryTable none;
  ChordRecord odd, unfiled;
  odd.category = -1;
  HeadingTracker exports(none, kSortByCategory);
  HeadingTracker page = HeadingTracker::ForClassicPage(none, kSortByCategory);
  EXPECT_EQ(exports.Next(odd), "Unfiled");
  EXPECT_EQ(page.Next(odd), std::nullopt);
  EXPECT_EQ(exports.Next(unfiled), "Unfiled");
  EXPECT_EQ(page.Next(unfiled), "Unfiled");
  EXPECT_EQ(page.Next(unfiled), std::nullopt);
}

}  // namespace
}  // namespace strumlet
