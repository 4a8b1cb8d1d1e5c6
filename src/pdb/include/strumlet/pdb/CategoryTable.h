// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace strumlet {

struct CategoryEntry {
  static constexpr std::size_t kMaxNameLength = 15;

  int32_t index = 0;     // slot 0..15
  int32_t uniqueId = 0;  // 0..255 from a database
  std::string name;      // at most 15 bytes

  // The name, or none when it is empty.
  std::optional<std::string> Name() const;
};

// The sixteen category slots of one database.
class CategoryTable {
 public:
  static constexpr int kSlots = 16;
  static constexpr int kTableFull = -2000;
  static constexpr int kBadIndex = -2001;
  static constexpr int kDuplicateId = -2002;

  // Stores a copy in slot entry.index (name cut to 15 bytes). Returns 0, kTableFull,
  // kDuplicateId, or kBadIndex for an index outside 0..15 (possible only from an archive).
  int Add(const CategoryEntry& entry);
  // The entry of slot `index` taken as unsigned 16-bit (-1 is 65535), or none.
  const CategoryEntry* Lookup(int index) const;
  void Clear();
  int count() const { return count_; }

  int32_t headerValue = 128;  // kept from the archived form

 private:
  std::array<std::optional<CategoryEntry>, kSlots> slots_;
  int count_ = 0;
};

}  // namespace strumlet
