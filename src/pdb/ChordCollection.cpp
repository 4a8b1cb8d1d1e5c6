// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ChordCollection.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>

namespace strumlet {
namespace {

// What the name orderings compare, computed once per record: the first byte and the rank of
// the accidental (chord ordering only), then up to six more bytes, so that most comparisons
// end on one integer; equal heads fall back to the whole names.
struct NameKey {
  uint64_t head;
  std::string_view name;
  uint32_t index;
};

uint64_t HeadOf(std::string_view name, bool chordOrdering) {
  uint64_t first = name.empty() ? 0 : static_cast<unsigned char>(name[0]);
  uint64_t rank = 1;
  if (chordOrdering && name.size() > 1) {
    rank = name[1] == 'b' ? 0 : name[1] == '#' ? 2 : 1;
  }
  if (!chordOrdering) rank = 0;
  uint64_t head = (first << 56) | (rank << 48);
  for (std::size_t i = 1; i < 7; ++i) {
    uint64_t byte = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
    head |= byte << (8 * (6 - i));
  }
  return head;
}

}  // namespace

void ChordCollection::Begin(int sortOrder, NameOrdering ordering, std::size_t count) {
  Clear();
  // A stored value outside the three orders (an edited setting) lists the chords as they come
  // rather than dropping them all.
  const bool known =
      sortOrder == kSortByCategory || sortOrder == kSortByName || sortOrder == kSortByPosition;
  sortOrder_ = known ? sortOrder : kSortByPosition;
  ordering_ = ordering;
  records_.reserve(count);
}

void ChordCollection::Place(const ChordRecord& record) {
  if (sortOrder_ != kSortByCategory && sortOrder_ != kSortByName && sortOrder_ != kSortByPosition) {
    return;
  }
  records_.push_back(record);
}

void ChordCollection::Place(ChordRecord&& record) {
  if (sortOrder_ != kSortByCategory && sortOrder_ != kSortByName && sortOrder_ != kSortByPosition) {
    return;
  }
  records_.push_back(std::move(record));
}

void ChordCollection::Finish() {
  // Placing each record after every element that does not compare greater is a stable sort by
  // the order's key; sorting once at the end gives the same order without quadratic moves.
  const std::size_t n = records_.size();
  if (n < 2 || sortOrder_ == kSortByPosition) return;
  std::vector<uint32_t> order(n);
  if (sortOrder_ == kSortByCategory) {
    std::vector<uint64_t> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
      keys[i] = (static_cast<uint64_t>(static_cast<uint32_t>(records_[i].category)) << 32) | i;
    }
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(keys[i]);
  } else if (sortOrder_ == kSortByName) {
    const bool chord = ordering_ == NameOrdering::kChordNames;
    std::vector<NameKey> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
      keys[i] = {HeadOf(records_[i].name, chord), records_[i].name, static_cast<uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end(), [](const NameKey& a, const NameKey& b) {
      if (a.head != b.head) return a.head < b.head;
      int c = a.name.compare(b.name);
      if (c != 0) return c < 0;
      return a.index < b.index;
    });
    for (std::size_t i = 0; i < n; ++i) order[i] = keys[i].index;
  } else {
    return;
  }
  std::vector<ChordRecord> sorted;
  sorted.reserve(n);
  for (uint32_t i : order) sorted.push_back(std::move(records_[i]));
  records_ = std::move(sorted);
}

void ChordCollection::Clear() {
  records_.clear();
  records_.shrink_to_fit();
}

}  // namespace strumlet
