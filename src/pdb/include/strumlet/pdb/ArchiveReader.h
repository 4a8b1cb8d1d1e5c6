// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "strumlet/core/CodePage.h"

namespace strumlet {

class ByteSource;

// Failure of the archived form, with the cause codes of the archive layer.
class ArchiveException : public std::runtime_error {
 public:
  enum Cause { kGeneric = 1, kEndOfFile = 3 };
  ArchiveException(Cause cause, const std::string& what)
      : std::runtime_error(what), cause_(cause) {}
  Cause cause() const { return cause_; }

 private:
  Cause cause_;
};

// Little-endian reader of the archived form. Every read throws ArchiveException (cause
// end-of-file) when the data runs out.
class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource& source) : source_(source) {}

  uint8_t ReadByte();
  uint16_t ReadU16();
  uint32_t ReadU32();
  int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
  uint64_t ReadU64();
  void ReadBytes(void* destination, std::size_t count);
  // An archive string in any of its length forms; wide strings come back in Windows-1252,
  // with "?" for characters the code page lacks.
  std::string ReadString();

 private:
  ByteSource& source_;
};

}  // namespace strumlet
