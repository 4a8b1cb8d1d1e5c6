// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/HeadingTracker.h"

#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

HeadingTracker HeadingTracker::ForClassicPage(const CategoryTable& categories, int sortOrder) {
  HeadingTracker tracker(categories, sortOrder);
  tracker.category_ = -1;
  return tracker;
}

std::optional<std::string> HeadingTracker::Next(const ChordRecord& record) {
  if (sortOrder_ == kSortByCategory && category_ != record.category) {
    category_ = record.category;
    return CategoryName(record);
  }
  if (sortOrder_ == kSortByName && root_ != record.RootNote()) {
    root_ = record.RootNote();
    return *root_;
  }
  return std::nullopt;
}

std::string HeadingTracker::CategoryName(const ChordRecord& record) const {
  const CategoryEntry* entry = categories_.Lookup(record.category);
  return entry ? entry->name : std::string("Unfiled");
}

}  // namespace strumlet
