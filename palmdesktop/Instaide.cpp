// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Instaide.dll: the Install Aide, which queues files for a user's next sync.

#include <sys/stat.h>
#include <unistd.h>

#include "Export.h"
#include "PalmHome.h"
#include "strumlet/core/FileCopy.h"

using namespace strumlet::palmdesktop;
namespace palm = strumlet::palm;

PALM_EXPORT int32_t PltGetUserCount(void) {
  const std::size_t count = CurrentUsers(PalmHome())->users().size();
  return static_cast<int32_t>(count > 0x7FFF ? 0x7FFF : count);
}

// The name's length (above 0) on success; 0 past the last user.
PALM_EXPORT int32_t PltGetUser(int32_t index, char* buffer, int32_t* size) {
  if (!buffer || !size) return palm::kNullBuffer;
  if (index < 0) return palm::kIndexTooLarge;
  const auto list = CurrentUsers(PalmHome());
  const auto& users = list->users();
  if (static_cast<std::size_t>(index) >= users.size()) return 0;
  const std::string& name = users[static_cast<std::size_t>(index)].name;
  if (!PutText(name, buffer, size)) return palm::kBufferTooSmall;
  return static_cast<int32_t>(name.size());
}

// A Palm Desktop user gets a copy in its Install folder (an existing one is not replaced:
// palm::kAlreadyQueued). The J-Pilot handheld gets a copy in its Install folder here, whose path
// is appended to J-Pilot's install list, which J-Pilot works through at its next sync
// (kJPilotListNotWritten when the list cannot take it).
PALM_EXPORT int32_t PltInstallFile(const char* userName, const char* path) {
  if (!userName || !*userName) return palm::kInvalidUserName;
  if (!path) return palm::kNullFileName;
  const std::string home = PalmHome();
  if (home.empty()) return palm::kInstallPathUnknown;
  const auto user = FindUserByName(home, userName);
  if (!user) return palm::kUserNotFound;
  struct stat st {};
  if (stat(path, &st) != 0 || !S_ISREG(st.st_mode) || access(path, R_OK) != 0)
    return palm::kInvalidInstallFile;
  std::string file = path;
  const std::size_t slash = file.find_last_of('/');
  if (slash != std::string::npos) file.erase(0, slash + 1);
  if (file.empty()) return palm::kInvalidInstallFile;
  if (!PrepareUserFolder(home, *user)) return palm::kInstallCopyFailed;
  const std::string target = home + "/" + user->folder + "/Install/" + file;
  if (!user->jpilot) {
    if (access(target.c_str(), F_OK) == 0) return palm::kAlreadyQueued;
    if (strumlet::CopyWholeFile(path, target, /*replace=*/false)) return palm::kOk;
    // Another run that queued it at the same moment won.
    return access(target.c_str(), F_OK) == 0 ? palm::kAlreadyQueued : palm::kInstallCopyFailed;
  }
  const std::string jpilot = JPilotHome();
  if (jpilot.empty()) return palm::kInstallCopyFailed;
  // Our copy is refreshed unless the list still names it, so J-Pilot installs the file as it
  // is now.
  const auto listed = ReadSmallFile(jpilot + "/jpilot.install", kMaxJPilotListSize);
  if (listed && ("\n" + *listed + "\n").find("\n" + target + "\n") != std::string::npos) {
    return palm::kAlreadyQueued;
  }
  if (!strumlet::CopyWholeFile(path, target, /*replace=*/true)) return palm::kInstallCopyFailed;
  return AppendToJPilotQueue(jpilot, target);
}

PALM_CHECK_SIGNATURE(PltGetUserCount);
PALM_CHECK_SIGNATURE(PltGetUser);
PALM_CHECK_SIGNATURE(PltInstallFile);
