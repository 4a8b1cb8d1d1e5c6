// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/PalmUserDirectory.h"

#include <cstring>

#include "LibraryText.h"

namespace strumlet {
namespace {

// A buffer as the library filled it: up to the first zero byte, never past the end even when
// the library left no terminator.
std::string TextIn(const char* buffer, std::size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

// The library writes Windows separators in the folder names it got from a Palm Desktop users
// file; the paths we form use "/".
std::string WithSlashes(std::string text) {
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return text;
}

}  // namespace

PalmUserDirectory::PalmUserDirectory(std::filesystem::path library)
    : library_(std::move(library)) {}

int32_t PalmUserDirectory::LoadRootDirectory() {
  if (!handle_.IsLoaded() && !handle_.Load(library_)) return palm::kNoUserDataLibrary;
  const auto getRoot = handle_.Find<UmGetRootDirectoryFn>("UmGetRootDirectory");
  if (!getRoot) {
    root_.clear();
    return palm::kNoRootDirectory;
  }
  // A failure that asks for more room is asked again with it; another one says nothing more.
  std::string root;
  const int32_t ok = AskLibraryForText(
      palm::kRootDirectorySize, root, getRoot, [](int32_t result) { return result == 0; },
      [](int32_t) { return false; });
  root_ = WithSlashes(std::move(root));
  // This entry point alone answers non-zero for success.
  if (ok != 0) return palm::kOk;
  root_ += "error no root path found";
  return palm::kNoRootDirectory;
}

int32_t PalmUserDirectory::ListUserNames(std::vector<std::string>& names) {
  const auto getCount = handle_.Find<UmGetUserCountFn>("UmGetUserCount");
  if (!getCount) return palm::kNoUserCountEntry;
  const auto count = static_cast<int16_t>(getCount() & 0xFFFF);
  const auto getId = handle_.Find<UmGetUserIDFn>("UmGetUserID");
  const auto getName = handle_.Find<UmGetUserNameFn>("UmGetUserName");
  if (!getId || !getName) return palm::kNoUserNameEntry;
  std::vector<std::string> found;
  for (int32_t index = 0; index < count; ++index) {
    uint32_t id = 0;
    if (getId(index, &id) != palm::kOk) continue;
    char buffer[palm::kUserNameSize] = {};
    int32_t size = palm::kUserNameSize;
    const int32_t result = getName(id, buffer, &size);
    if (result > 0) {
      found.push_back(TextIn(buffer, sizeof buffer));
    } else if (result == 0) {
      break;
    } else {
      return result;
    }
  }
  names.insert(names.end(), found.begin(), found.end());
  return palm::kOk;
}

Result<std::string> PalmUserDirectory::GetUserFolder(const std::string& name,
                                                     int backupFlag) const {
  const auto idFromName = handle_.Find<UmGetIDFromNameFn>("UmGetIDFromName");
  const auto userDirectory = handle_.Find<UmGetUserDirectoryFn>("UmGetUserDirectory");
  if (!idFromName || !userDirectory) {
    return Error{Error::Kind::kUnavailable, library_.native(), "no user folders to ask for", 0};
  }
  uint32_t id = 0;
  if (const int32_t code = idFromName(name.c_str(), &id); code != palm::kOk) {
    return Error{Error::Kind::kRefused, {}, "no such user", code};
  }
  std::string text;
  const int32_t code = AskLibraryForText(
      palm::kUserFolderSize, text,
      [&](char* buffer, int32_t* size) { return userDirectory(id, buffer, size); },
      [](int32_t result) { return result != palm::kOk; },
      [](int32_t result) { return result == palm::kBufferTooSmall; });
  if (code != palm::kOk) {
    return Error{Error::Kind::kRefused, {}, "the user's folder is not known", code};
  }
  const std::string folder = WithSlashes(std::move(text));
  if (folder.empty()) return Error{Error::Kind::kRefused, {}, "the user has no folder", 0};
  std::string result = root_ + folder + "/";
  if (backupFlag == 1) result += "Backup/";
  return result;
}

}  // namespace strumlet
