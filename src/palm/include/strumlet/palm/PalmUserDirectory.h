// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/palm/DynamicLibrary.h"
#include "strumlet/palm/PalmEntryPoints.h"

namespace strumlet {

// The Palm Desktop users and their folders, read through "UserData.dll". The library is loaded
// by the first LoadRootDirectory and kept for the life of the object; without it the user list
// stays empty and the converter works on as before. One object per opening of the options
// dialog (or per strumlet-palm run). Not thread-safe.
class PalmUserDirectory {
 public:
  // `library` is the file handed to the loader: the bare name finds our library through the
  // program's RUNPATH (or another one first through LD_LIBRARY_PATH); tests give a full path.
  explicit PalmUserDirectory(std::filesystem::path library = palm::kUserDataLibrary);

  // Loads the library (once) and reads the root of the user folders. palm::kOk on success;
  // kNoUserDataLibrary when the library cannot be loaded; kNoRootDirectory when the root cannot
  // be obtained (the root text then ends in "error no root path found").
  int32_t LoadRootDirectory();

  // Appends every user name to `names`, in the library's order. Run only after
  // LoadRootDirectory succeeded. palm::kOk on success (also with no users); kNoUserCountEntry
  // when "UmGetUserCount" is missing; kNoUserNameEntry when "UmGetUserID" or "UmGetUserName" is
  // missing; a negative code from
  // "UmGetUserName", in which case `names` is left as it was. A user whose id cannot be read is
  // skipped; a name result of 0 ends the list with the names collected so far.
  int32_t ListUserNames(std::vector<std::string>& names);

  // The folder of user `name`: root, the user's folder (joined without adding a separator, as
  // the library gives them), "/", and "Backup/" when `backupFlag` is 1. Fails with kUnavailable
  // when no library is held or an entry point is missing, and with kRefused (the library's
  // result in `code`, when it gave one) when the library cannot name the user or the user's
  // folder.
  Result<std::string> GetUserFolder(const std::string& name, int backupFlag) const;

  // The root text as last read.
  const std::string& RootDirectory() const { return root_; }

 private:
  std::filesystem::path library_;
  DynamicLibrary handle_;
  std::string root_;
};

}  // namespace strumlet
