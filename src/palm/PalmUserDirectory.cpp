#include "strumlet/palm/PalmUserDirectory.h"

#include <cstring>

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

PalmUserDirectory::PalmUserDirectory(std::string library) : library_(std::move(library)) {}

int32_t PalmUserDirectory::LoadRootDirectory() {
  if (!handle_.IsLoaded() && !handle_.Load(library_)) return 16;
  const auto getRoot = handle_.Find<UmGetRootDirectoryFn>("UmGetRootDirectory");
  if (!getRoot) {
    root_.clear();
    return 9;
  }
  char buffer[palm::kRootDirectorySize] = {};
  int32_t size = palm::kRootDirectorySize;
  const int32_t ok = getRoot(buffer, &size);
  root_ = WithSlashes(TextIn(buffer, sizeof buffer));
  if (ok != 0) return 0;
  root_ += "error no root path found";
  return 9;
}

int32_t PalmUserDirectory::ListUserNames(std::vector<std::string>& names) {
  const auto getCount = handle_.Find<UmGetUserCountFn>("UmGetUserCount");
  if (!getCount) return 13;
  const auto count = static_cast<int16_t>(getCount() & 0xFFFF);
  const auto getId = handle_.Find<UmGetUserIDFn>("UmGetUserID");
  const auto getName = handle_.Find<UmGetUserNameFn>("UmGetUserName");
  if (!getId || !getName) return 14;
  std::vector<std::string> found;
  for (int32_t index = 0; index < count; ++index) {
    uint32_t id = 0;
    if (getId(index, &id) != 0) continue;
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
  return 0;
}

std::string PalmUserDirectory::GetUserFolder(const std::string& name, int backupFlag) const {
  const auto idFromName = handle_.Find<UmGetIDFromNameFn>("UmGetIDFromName");
  const auto userDirectory = handle_.Find<UmGetUserDirectoryFn>("UmGetUserDirectory");
  if (!idFromName || !userDirectory) return "Error";
  uint32_t id = 0;
  if (idFromName(name.c_str(), &id) != 0) return "Error";
  char buffer[palm::kUserFolderSize] = {};
  int32_t size = palm::kUserFolderSize;
  if (userDirectory(id, buffer, &size) != 0) return "Error";
  const std::string folder = WithSlashes(TextIn(buffer, sizeof buffer));
  if (folder.empty()) return "Error";
  std::string result = root_ + folder + "/";
  if (backupFlag == 1) result += "Backup/";
  return result;
}

}  // namespace strumlet
