// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

#include "strumlet/core/FileSystem.h"

namespace strumlet {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::string_view kTemporaryPrefix = ".strumlet-";
constexpr std::string_view kTemporarySuffix = ".part";

// A name for the new file beside `path` that nobody can guess ahead of us: a file planted under
// a predictable name could otherwise make every write fail.
std::string TemporaryBeside(const std::string& path) {
  thread_local std::mt19937_64 random(std::random_device{}() ^
                                      (static_cast<unsigned long long>(::getpid()) << 32));
  const std::string folder = path.substr(0, path.size() - FileName(path).native().size());
  char name[40];
  std::snprintf(name, sizeof name, ".strumlet-%016llx.part",
                static_cast<unsigned long long>(random()));
  return folder + name;
}

// The errno value for a target that must not be renamed over, else 0 (with `existing` filled in
// when there is one): a folder, or a device or a pipe, which renaming over would take away from
// everyone else. A plain file and a symbolic link (replaced, never followed) are fine.
int Unreplaceable(const std::string& path, struct stat* existing) {
  if (::lstat(path.c_str(), existing) != 0) return 0;
  if (S_ISDIR(existing->st_mode)) return EISDIR;
  if (!S_ISREG(existing->st_mode) && !S_ISLNK(existing->st_mode)) return EEXIST;
  return 0;
}

}  // namespace

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t put = ::write(fd, bytes, size);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = EIO;
      return false;
    }
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
}

bool AtomicFile::Open(const std::filesystem::path& path, const Options& options) {
  Discard();
  path_ = path;
  options_ = options;
  error_ = 0;
  buffer_.clear();
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath_ = TemporaryBeside(path_);
    // O_EXCL also refuses a symbolic link at the name, so nothing is written through one.
    const int fd = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          options.mode);
    if (fd >= 0) {
      fd_.reset(fd);
      break;
    }
    if (errno != EEXIST) {
      Fail(errno);
      tempPath_.clear();
      return false;
    }
  }
  if (!fd_) {
    Fail(EEXIST);
    tempPath_.clear();
    return false;
  }
  return true;
}

bool AtomicFile::Flush() {
  if (!ok()) return false;
  if (!buffer_.empty() && !WriteAll(fd_.get(), buffer_.data(), buffer_.size())) {
    Fail(errno);
    return false;
  }
  buffer_.clear();
  return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  if (size >= kBufferSize) {
    if (!WriteAll(fd_.get(), data, size)) {
      Fail(errno);
      return false;
    }
    return true;
  }
  buffer_.append(static_cast<const char*>(data), size);
  return true;
}

bool AtomicFile::Commit() {
  if (!Flush()) {
    Discard();
    return false;
  }
  if (options_.sync && ::fsync(fd_.get()) != 0) Fail(errno);
  if (const int closed = fd_.Close(); closed != 0) Fail(closed);
  if (error_ == 0) {
    if (options_.replace) {
      Replace();
    } else if (::link(tempPath_.c_str(), path_.c_str()) != 0) {
      // link() refuses to replace what is there; rename() would replace it.
      Fail(errno);
    } else {
      ::unlink(tempPath_.c_str());
    }
  }
  if (error_ != 0) {
    Discard();
    return false;
  }
  tempPath_.clear();
  return true;
}

void AtomicFile::Replace() {
  // Most targets are new (a conversion writes thousands of diagrams into an empty folder): a
  // rename that refuses to replace anything needs no look at the target first.
  if (::renameat2(AT_FDCWD, tempPath_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE) == 0) {
    return;
  }
  // EINVAL: a file system that cannot refuse; it gets the look first.
  if (errno != EEXIST && errno != EINVAL) {
    Fail(errno);
    return;
  }
  struct stat existing {};
  if (const int refused = Unreplaceable(path_, &existing)) {
    Fail(refused);
    return;
  }
  // The user may have narrowed (or widened) who can read their page: a new version of the file
  // keeps that choice. The new file is ours, in a folder this run holds.
  if (options_.keepMode && S_ISREG(existing.st_mode) &&
      ::chmod(tempPath_.c_str(), existing.st_mode & 0777) != 0) {
    Fail(errno);
    return;
  }
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) Fail(errno);
}

void AtomicFile::Discard() {
  fd_.reset();
  buffer_.clear();
  if (!tempPath_.empty()) {
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + 16 + kTemporarySuffix.size() ||
      !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
    return false;
  }
  const std::string_view digits = name.substr(kTemporaryPrefix.size(), 16);
  return std::all_of(digits.begin(), digits.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

void RemoveUnfinishedFiles(const std::filesystem::path& folder, const timespec& before) {
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return;
  const int fd = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat info {};
    if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
        (info.st_mtim.tv_sec < before.tv_sec ||
         (info.st_mtim.tv_sec == before.tv_sec && info.st_mtim.tv_nsec < before.tv_nsec))) {
      ::unlinkat(fd, entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

Result<void> WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                 const AtomicFile::Options& options) {
  AtomicFile file;
  if (file.Open(path, options)) {
    file.Write(content);
    if (file.Commit()) return {};
  }
  return Error{Error::Kind::kIo, path.native(), {}, file.error()};
}

}  // namespace strumlet
