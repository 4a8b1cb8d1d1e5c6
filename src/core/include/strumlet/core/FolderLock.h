// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "strumlet/core/UniqueFd.h"

namespace strumlet {

// An advisory lock on a folder (flock on the folder itself, so nothing is added to it), held
// until the object goes. Two conversions into one output folder take turns instead of mixing
// their files.
class FolderLock {
 public:
  // Takes the lock on `folder`. When another holder has it, calls `waiting` once and tries
  // again until `patience` has passed. 0 when held; EWOULDBLOCK when the other holder kept it
  // all along; another errno when the folder cannot be locked at all.
  int Acquire(const std::string& folder, std::chrono::milliseconds patience,
              const std::function<void()>& waiting);
  bool held() const { return static_cast<bool>(fd_); }

 private:
  UniqueFd fd_;
};

}  // namespace strumlet
