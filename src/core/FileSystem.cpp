// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace strumlet {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') {
    return folder + name;
  }
  return folder + "/" + name;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AbsolutePath(const std::string& path, const std::string& base) {
  if (path.empty()) return path;
  const std::string full = path.front() == '/' ? path : JoinPath(base, path);
  return std::filesystem::path(full).lexically_normal().string();
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsAccessibleDirectory(const std::string& path) {
  return !path.empty() && IsDirectory(path) && ::access(path.c_str(), X_OK) == 0;
}

bool IsWritableDirectory(const std::string& path) {
  return IsDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool MakeWritableFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
  return IsWritableDirectory(path);
}

bool IsSymbolicLink(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace strumlet
