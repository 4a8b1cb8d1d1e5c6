// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/RecentFileList.h"

#include <algorithm>

namespace strumlet {
namespace {

std::string EntryName(std::size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFileList::Load(ProfileStore& store) {
  entries_.clear();
  for (std::size_t i = 0; i < size_; ++i) {
    const std::string path = store.GetProfileString(kRecentFileSection, EntryName(i), "");
    if (!path.empty()) {
      entries_.push_back(path);
    }
  }
}

void RecentFileList::Save(ProfileStore& store) const {
  for (std::size_t i = 0; i < size_; ++i) {
    store.WriteProfileString(kRecentFileSection, EntryName(i),
                             i < entries_.size() ? entries_[i] : std::string());
  }
}

void RecentFileList::Add(const std::string& path) {
  std::erase(entries_, path);
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > size_) {
    entries_.resize(size_);
  }
}

}  // namespace strumlet
