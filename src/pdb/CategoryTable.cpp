// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/CategoryTable.h"

namespace strumlet {

std::optional<std::string> CategoryEntry::Name() const {
  if (name.empty()) return std::nullopt;
  return name;
}

int CategoryTable::Add(const CategoryEntry& entry) {
  if (count_ >= kSlots) return kTableFull;
  for (const auto& slot : slots_) {
    if (slot && slot->uniqueId == entry.uniqueId) return kDuplicateId;
  }
  if (entry.index < 0 || entry.index >= kSlots) return kBadIndex;
  auto& slot = slots_[static_cast<std::size_t>(entry.index)];
  // An archive may name one slot twice; the count stays the number of filled slots so that
  // "table full" means what it says.
  if (!slot) ++count_;
  slot = entry;
  if (slot->name.size() > CategoryEntry::kMaxNameLength) {
    slot->name.resize(CategoryEntry::kMaxNameLength);
  }
  return 0;
}

const CategoryEntry* CategoryTable::Lookup(int index) const {
  auto slot = static_cast<uint16_t>(index);
  if (slot >= kSlots || !slots_[slot]) return nullptr;
  return &*slots_[slot];
}

void CategoryTable::Clear() {
  for (auto& slot : slots_) slot.reset();
  count_ = 0;
}

}  // namespace strumlet
