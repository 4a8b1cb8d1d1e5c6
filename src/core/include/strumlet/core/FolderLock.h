// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "strumlet/core/UniqueFd.h"

namespace strumlet {

// An advisory lock on a folder, held until the object goes: flock on a lock file in the folder
// that only the folder's writers can make, removed again when the lock is let go. Two
// conversions into one output folder take turns instead of mixing their files.
class FolderLock {
 public:
  static constexpr const char* kFileName = ".strumlet.lock";

  FolderLock() = default;
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  ~FolderLock();

  // Takes the lock on `folder`. When another holder has it, calls `waiting` once and tries
  // again until `patience` has passed. 0 when held; EWOULDBLOCK when the other holder kept it
  // all along; another errno when the folder cannot be locked at all (EACCES or EROFS for a folder
  // we may not write into, ELOOP for a symbolic link at the lock file's name).
  int Acquire(const std::filesystem::path& folder, std::chrono::milliseconds patience,
              const std::function<void()>& waiting);
  bool held() const { return static_cast<bool>(fd_); }

 private:
  void Release();

  std::string path_;
  UniqueFd fd_;
};

}  // namespace strumlet
