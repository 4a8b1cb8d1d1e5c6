// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PalmUserList.h"

#include "strumlet/palm/PalmUserDirectory.h"

namespace strumlet {
namespace {

// The user list of the Palm Desktop, read through its user-data library. Without the library,
// or when it fails, there is nobody to offer and nothing is said.
class DesktopPalmUsers final : public PalmUserList {
 public:
  std::vector<std::string> UserNames() override {
    loaded_ = directory_.LoadRootDirectory() == palm::kOk;
    std::vector<std::string> names;
    if (!loaded_ || directory_.ListUserNames(names) != palm::kOk) {
      return {};
    }
    return names;
  }

  std::optional<std::string> BackupFolder(const std::string& userName) override {
    if (!loaded_) {
      return std::nullopt;
    }
    // A folder the directory cannot name leaves the box as it is; nothing is said.
    Result<std::string> folder = directory_.GetUserFolder(userName, 1);
    if (!folder || folder->empty()) {
      return std::nullopt;
    }
    return *std::move(folder);
  }

 private:
  PalmUserDirectory directory_;
  bool loaded_ = false;
};

}  // namespace

std::unique_ptr<PalmUserList> OpenPalmUserList() { return std::make_unique<DesktopPalmUsers>(); }

}  // namespace strumlet
