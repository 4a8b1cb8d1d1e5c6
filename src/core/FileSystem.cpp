// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <system_error>

namespace strumlet {

namespace fs = std::filesystem;

fs::path JoinPath(const fs::path& folder, const fs::path& name) {
  const std::string& text = folder.native();
  if (text.empty() || text.back() == '/') {
    return text + name.native();
  }
  return text + "/" + name.native();
}

fs::path FileName(const fs::path& path) {
  const std::string& text = path.native();
  const std::size_t slash = text.rfind('/');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

std::string WithSlash(const fs::path& folder) {
  std::string text = folder.native();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

fs::path WithoutTrailingSlashes(const fs::path& path) {
  std::string text = path.native();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

fs::path AbsolutePath(const fs::path& path, const fs::path& base) {
  if (path.empty()) return {};
  const fs::path full = path.native().front() == '/' ? path : JoinPath(base, path);
  return full.lexically_normal();
}

fs::path AbsoluteFromHere(const fs::path& path) {
  if (path.empty() || path.native().front() == '/') return path;
  // As long as the current directory's name is, which no fixed buffer bounds.
  const std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
  if (!here) return {};
  return AbsolutePath(path, here.get());
}

bool PathExists(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsDirectory(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsAccessibleDirectory(const fs::path& path) {
  return !path.empty() && IsDirectory(path) && ::access(path.c_str(), X_OK) == 0;
}

bool IsWritableDirectory(const fs::path& path) {
  return IsDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string WritableFolderProblem(const fs::path& path) {
  struct stat info {};
  if (path.empty()) return "is not a valid file or folder path";
  if (::stat(path.c_str(), &info) != 0) return "cannot be reached: " + ErrorText(errno);
  if (!S_ISDIR(info.st_mode)) return "is a file, not a folder";
  if (::access(path.c_str(), W_OK | X_OK) != 0) return "cannot be written: " + ErrorText(errno);
  return {};
}

Result<void> MakeWritableFolder(const fs::path& path) {
  std::error_code created;
  if (!path.empty()) fs::create_directories(path, created);
  std::string problem = WritableFolderProblem(path);
  if (problem.empty()) return {};
  struct stat info {};
  if (created && ::stat(path.c_str(), &info) != 0) {
    problem = "cannot be created: " + created.message();
  }
  return Error{Error::Kind::kUnavailable, path.native(), problem, created.value()};
}

bool MakeFolders(const fs::path& path, unsigned mode) {
  const std::string& text = path.native();
  if (text.empty()) return false;
  if (IsDirectory(path)) return true;
  for (std::size_t at = 1; at <= text.size(); ++at) {
    if (at != text.size() && text[at] != '/') continue;
    const std::string part = text.substr(0, at);
    if (::mkdir(part.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
  }
  return IsDirectory(path);
}

bool IsSymbolicLink(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace strumlet
