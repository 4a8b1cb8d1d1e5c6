// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>

#include "strumlet/core/AtomicFile.h"

namespace strumlet {

// A text file being written, which remembers why its first write failed: errno is taken right
// at the failing call, before later calls (the clock, other files) can change it. A file it
// creates appears only when Close() succeeds, whole, in place of the old one (see AtomicFile).
class PageStream {
 public:
  // Starts a new file to replace `path`; check ok() before writing.
  explicit PageStream(const std::filesystem::path& path);
  PageStream(const PageStream&) = delete;
  PageStream& operator=(const PageStream&) = delete;

  bool ok() const { return file_.ok() && error_ == 0; }
  // printf-style; nothing is written after a failure.
  __attribute__((format(printf, 2, 3))) void Print(const char* format, ...);
  // Syncs the new file and puts it in place of the old one; false when any write, the sync or
  // the rename failed (the old file is then as it was).
  bool Close();
  // The errno value of the first failure; 0 when none.
  int error() const { return error_; }

 private:
  AtomicFile file_;
  bool closed_ = false;
  int error_ = 0;
};

}  // namespace strumlet
