// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// UserData.dll: the Palm Desktop users and their folders.

#include "Export.h"
#include "PalmHome.h"

using namespace strumlet::palmdesktop;
namespace palm = strumlet::palm;

// The root of the user folders, ending in "/" so that root + folder name is a user's folder.
PALM_EXPORT int32_t UmGetRootDirectory(char* buffer, int32_t* size) {
  const std::string home = PalmHome();
  if (home.empty()) {
    PutText("", buffer, size);
    return 0;
  }
  return PutText(home + "/", buffer, size) ? 1 : 0;
}

// The callers ask user by user; each call looks whether the files changed, and parses them only
// when they did.
PALM_EXPORT int32_t UmGetUserCount(void) {
  const std::size_t count = CurrentUsers(PalmHome())->users().size();
  return static_cast<int32_t>(count > 0x7FFF ? 0x7FFF : count);
}

PALM_EXPORT int32_t UmGetUserID(int32_t index, uint32_t* userId) {
  if (!userId) return palm::kNullBuffer;
  const auto list = CurrentUsers(PalmHome());
  const auto& users = list->users();
  if (index < 0 || static_cast<std::size_t>(index) >= users.size())
    return palm::kUserIndexOutOfRange;
  *userId = users[static_cast<std::size_t>(index)].id;
  return palm::kOk;
}

// The name's length (above 0) on success.
PALM_EXPORT int32_t UmGetUserName(uint32_t userId, char* buffer, int32_t* size) {
  if (!buffer || !size) return palm::kNullBuffer;
  const auto user = FindUserById(PalmHome(), userId);
  if (!user) return palm::kUserNotFound;
  if (!PutText(user->name, buffer, size)) return palm::kBufferTooSmall;
  return static_cast<int32_t>(user->name.size());
}

PALM_EXPORT int32_t UmGetIDFromName(const char* name, uint32_t* userId) {
  if (!name) return palm::kInvalidUserName;
  if (!userId) return palm::kNullBuffer;
  const auto user = FindUserByName(PalmHome(), name);
  if (!user) return palm::kUserNotFound;
  *userId = user->id;
  return palm::kOk;
}

// The user's folder name below the root; its folders are made on the way, so the path the
// caller forms from it leads somewhere (for the J-Pilot handheld: to J-Pilot's backups).
PALM_EXPORT int32_t UmGetUserDirectory(uint32_t userId, char* buffer, int32_t* size) {
  if (!buffer || !size) return palm::kNullBuffer;
  const std::string home = PalmHome();
  const auto user = FindUserById(home, userId);
  if (!user) {
    PutText("", buffer, size);
    return palm::kUserNotFound;
  }
  PrepareUserFolder(home, *user);
  return PutText(user->folder, buffer, size) ? palm::kOk : palm::kBufferTooSmall;
}

// Not called by the converter: lets strumlet-palm add a user to a fresh Palm Desktop folder.
// palm::kOk and the new id; palm::kInvalidUserName an unusable name; palm::kUsersFileUnreadable
// the users file cannot be read whole; palm::kNonspecificError the name is taken or the users
// file cannot be written.
PALM_EXPORT int32_t UmAddUser(const char* name, uint32_t* userId) {
  if (!name) return palm::kInvalidUserName;
  uint32_t id = 0;
  const int32_t result = AddUser(PalmHome(), name, id);
  if (result == palm::kOk && userId) *userId = id;
  return result;
}

PALM_CHECK_SIGNATURE(UmGetRootDirectory);
PALM_CHECK_SIGNATURE(UmGetUserCount);
PALM_CHECK_SIGNATURE(UmGetUserID);
PALM_CHECK_SIGNATURE(UmGetUserName);
PALM_CHECK_SIGNATURE(UmGetIDFromName);
PALM_CHECK_SIGNATURE(UmGetUserDirectory);
PALM_CHECK_SIGNATURE(UmAddUser);
