// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <vector>

#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

enum SortOrder : int { kSortByCategory = 0, kSortByName = 1, kSortByPosition = 2 };

// A database's chords in page order. Records are placed as they arrive; the result equals a
// stable sort by the order's key (category, name, or list position).
class ChordCollection {
 public:
  // How names compare under kSortByName: the chord-name ordering for records read from a
  // database, the plain byte ordering for records from the archived form.
  enum class NameOrdering { kChordNames, kPlain };

  // Starts a placement session: empties the collection and reserves room for `count` records.
  // A sort order other than 0, 1 and 2 places by position.
  void Begin(int sortOrder, NameOrdering ordering, std::size_t count);
  // Places one record.
  void Place(const ChordRecord& record);
  void Place(ChordRecord&& record);
  // Ends the session; afterwards the records stand in their final order.
  void Finish();

  void Clear();
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const ChordRecord& operator[](std::size_t i) const { return records_[i]; }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

 private:
  std::vector<ChordRecord> records_;
  int sortOrder_ = kSortByPosition;
  NameOrdering ordering_ = NameOrdering::kChordNames;
};

}  // namespace strumlet
