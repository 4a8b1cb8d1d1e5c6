// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/html/PageStream.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace strumlet {

PageStream::PageStream(const std::filesystem::path& path) {
  if (!file_.Open(path)) error_ = file_.error();
}

void PageStream::Print(const char* format, ...) {
  if (!ok() || closed_) return;
  std::va_list args;
  va_start(args, format);
  char small[512];
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    error_ = EINVAL;
  } else if (static_cast<std::size_t>(length) < sizeof small) {
    if (!file_.Write(small, static_cast<std::size_t>(length))) error_ = file_.error();
  } else {
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, again);
    if (!file_.Write(large.data(), static_cast<std::size_t>(length))) error_ = file_.error();
  }
  va_end(again);
}

bool PageStream::Close() {
  if (closed_) return error_ == 0;
  closed_ = true;
  if (error_ != 0) {
    file_.Discard();
    return false;
  }
  if (!file_.Commit()) error_ = file_.error();
  return error_ == 0;
}

}  // namespace strumlet
