// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace strumlet {

// Forward-only source of bytes. Read returns how many bytes arrived (fewer only at the end).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t Read(void* destination, std::size_t count) = 0;
  // Passes over `count` bytes, or the rest when fewer are left. False only on a read error.
  virtual bool Skip(uint64_t count);
  // The errno value of a read error the source met (not the mere end of the data); 0 when none.
  virtual int error() const { return 0; }
};

// Reads from memory that outlives the source.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  std::size_t Read(void* destination, std::size_t count) override;
  bool Skip(uint64_t count) override;

 private:
  std::span<const uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Reads from an open stdio stream (not owned), through its own buffer.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::size_t Read(void* destination, std::size_t count) override;
  // Seeks, so that an offset far into a large file costs no reading.
  bool Skip(uint64_t count) override;
  // True when the stream reported a read error (not just the end of the file).
  bool failed() const { return error_ != 0; }
  int error() const override { return error_; }

 private:
  std::FILE* file_;
  int error_ = 0;
};

}  // namespace strumlet
