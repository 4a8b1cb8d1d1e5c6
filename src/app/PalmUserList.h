// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace strumlet {

// The Palm Desktop users the options dialog offers, and each user's backup folder. One list is
// made for every dialog that opens, so the user data is read afresh each time.
class PalmUserList {
 public:
  virtual ~PalmUserList() = default;
  // The users' names in the order the user data gives them; empty when there is no Palm
  // Desktop or it cannot be read (nothing is said then).
  virtual std::vector<std::string> UserNames() = 0;
  // The backup folder of the named user; none when it cannot be found.
  virtual std::optional<std::string> BackupFolder(const std::string& userName) = 0;
};

// The Palm Desktop's own users.
std::unique_ptr<PalmUserList> OpenPalmUserList();

}  // namespace strumlet
