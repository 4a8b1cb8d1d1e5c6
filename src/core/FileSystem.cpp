// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

std::string WritableFolderProblem(const std::string& path) {
  struct stat info {};
  if (path.empty()) return "is not a valid file or folder path";
  if (::stat(path.c_str(), &info) != 0) return "cannot be reached: " + ErrorText(errno);
  if (!S_ISDIR(info.st_mode)) return "is a file, not a folder";
  if (::access(path.c_str(), W_OK | X_OK) != 0) return "cannot be written: " + ErrorText(errno);
  return {};
}

Result<void> MakeWritableFolder(const std::string& path) {
  std::error_code created;
  if (!path.empty()) std::filesystem::create_directories(path, created);
  std::string problem = WritableFolderProblem(path);
  if (problem.empty()) return {};
  struct stat info {};
  if (created && ::stat(path.c_str(), &info) != 0) {
    problem = "cannot be created: " + created.message();
  }
  return Error{Error::Kind::kUnavailable, path, problem, created.value()};
}

bool IsSymbolicLink(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace strumlet
