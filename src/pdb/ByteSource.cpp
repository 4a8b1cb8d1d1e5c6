// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace strumlet {

std::size_t MemorySource::Read(void* destination, std::size_t count) {
  std::size_t n = std::min(count, bytes_.size() - position_);
  if (n > 0) std::memcpy(destination, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t FileSource::Read(void* destination, std::size_t count) {
  if (count == 0) return 0;
  std::size_t n = std::fread(destination, 1, count, file_);
  const int error = errno;  // before anything else can change it
  if (n < count && std::ferror(file_) && error_ == 0) error_ = error ? error : EIO;
  return n;
}

}  // namespace strumlet
