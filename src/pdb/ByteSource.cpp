// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ByteSource.h"

#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace strumlet {

bool ByteSource::Skip(uint64_t count) {
  uint8_t buffer[4096];
  while (count > 0) {
    const std::size_t step = static_cast<std::size_t>(std::min<uint64_t>(count, sizeof buffer));
    const std::size_t n = Read(buffer, step);
    if (n < step) return error() == 0;
    count -= n;
  }
  return true;
}

bool MemorySource::Skip(uint64_t count) {
  position_ += static_cast<std::size_t>(std::min<uint64_t>(count, bytes_.size() - position_));
  return true;
}

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

bool FileSource::Skip(uint64_t count) {
  if (::fseeko(file_, static_cast<off_t>(count), SEEK_CUR) == 0) return true;
  if (error_ == 0) error_ = errno ? errno : EIO;
  return false;
}

}  // namespace strumlet
