// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "strumlet/core/FileSystem.h"

namespace strumlet {
namespace {

// Opens the folder's lock file, making it when it is missing. Only someone who may write into
// the folder can make it; made by us it is ours alone, so a mere reader of the folder cannot
// take the lock away from its writers.
int OpenLockFile(const std::string& path, UniqueFd& fd) {
  fd.reset(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
  if (!fd && errno == EACCES) {
    // Made by another writer of a shared folder, for whom it is theirs to open for writing.
    fd.reset(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  }
  if (!fd) return errno ? errno : EIO;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EEXIST;
  if (info.st_uid == ::geteuid() && (info.st_mode & 077) != 0) ::fchmod(fd.get(), 0600);
  return 0;
}

// Whether `fd` still is the file at `path`: a holder that let go has removed it, and whoever
// waited on that file must take the lock again on the one now there.
bool StillAtPath(int fd, const std::string& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::move(other.fd_)) {
  other.path_.clear();
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    fd_ = std::move(other.fd_);
    other.path_.clear();
  }
  return *this;
}

FolderLock::~FolderLock() { Release(); }

void FolderLock::Release() {
  // Removed while still held, so the folder keeps nothing of ours once the run has ended.
  if (fd_ && !path_.empty()) ::unlink(path_.c_str());
  fd_.reset();
  path_.clear();
}

int FolderLock::Acquire(const std::filesystem::path& folder, std::chrono::milliseconds patience,
                        const std::function<void()>& waiting) {
  Release();
  const std::string path = JoinPath(folder, kFileName);
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  bool told = false;
  for (;;) {
    UniqueFd fd;
    if (const int error = OpenLockFile(path, fd); error != 0) return error;
    for (;;) {
      if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) break;
      const int error = errno;
      if (error == EINTR) continue;
      if (error != EWOULDBLOCK) return error;
      if (std::chrono::steady_clock::now() >= giveUp) return EWOULDBLOCK;
      if (!told && waiting) waiting();
      told = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (StillAtPath(fd.get(), path)) {
      path_ = path;
      fd_ = std::move(fd);
      return 0;
    }
  }
}

}  // namespace strumlet
