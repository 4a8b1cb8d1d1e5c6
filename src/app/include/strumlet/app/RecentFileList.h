// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "strumlet/app/ProfileStore.h"

namespace strumlet {

// The most recently opened paths, newest first, kept in the store under "Recent File List" as
// "File1" to "File<size>". Loaded at start-up and saved at exit; File, Open Recent shows it.
class RecentFileList {
 public:
  explicit RecentFileList(std::size_t size) : size_(size) {}

  void Load(ProfileStore& store);
  void Save(ProfileStore& store) const;
  // Puts `path` first, dropping an older entry of it and the oldest beyond the size.
  void Add(const std::string& path);
  // Empties the list (the menu's "Clear Menu"); the next save blanks every entry.
  void Clear() { entries_.clear(); }

  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::size_t size_;
  std::vector<std::string> entries_;
};

inline constexpr const char* kRecentFileSection = "Recent File List";

}  // namespace strumlet
