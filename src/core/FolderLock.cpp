// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <thread>

namespace strumlet {

int FolderLock::Acquire(const std::string& folder, std::chrono::milliseconds patience,
                        const std::function<void()>& waiting) {
  fd_.reset();
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return errno ? errno : EIO;
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  bool told = false;
  for (;;) {
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
      fd_ = std::move(fd);
      return 0;
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK) return error;
    if (std::chrono::steady_clock::now() >= giveUp) return EWOULDBLOCK;
    if (!told && waiting) waiting();
    told = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace strumlet
