#pragma once

#include <cstdio>
#include <string>

#include "pdb/Handles.h"

namespace strumlet {

// A text file being written, which remembers why its first write failed: errno is taken right
// at the failing call, before later calls (the clock, other files) can change it.
class PageStream {
 public:
  // Creates (or truncates) `path` for writing; check ok() before writing.
  explicit PageStream(const std::string& path);
  // Writes into a stream someone else owns and closes.
  explicit PageStream(std::FILE* borrowed) : file_(borrowed) {}
  ~PageStream();
  PageStream(const PageStream&) = delete;
  PageStream& operator=(const PageStream&) = delete;

  bool ok() const { return file_ != nullptr && error_ == 0; }
  // printf-style; nothing is written after a failure.
  __attribute__((format(printf, 2, 3))) void Print(const char* format, ...);
  // Flushes and closes an owned file; false when any write or the close failed.
  bool Close();
  // The errno value of the first failure; 0 when none.
  int error() const { return error_; }
  std::FILE* get() const { return file_; }

 private:
  FileHandle owned_;
  std::FILE* file_ = nullptr;
  int error_ = 0;
};

}  // namespace strumlet
