#include "html/PageStream.h"

#include <cerrno>
#include <cstdarg>

namespace strumlet {

PageStream::PageStream(const std::string& path) : owned_(std::fopen(path.c_str(), "w")) {
  if (!owned_) {
    error_ = errno;
    if (error_ == 0) error_ = EIO;
  }
  file_ = owned_.get();
}

PageStream::~PageStream() = default;

void PageStream::Print(const char* format, ...) {
  if (!ok()) return;
  std::va_list args;
  va_start(args, format);
  const int written = std::vfprintf(file_, format, args);
  const int error = errno;
  va_end(args);
  if (written < 0) error_ = error ? error : EIO;
}

bool PageStream::Close() {
  if (!owned_) return error_ == 0 && file_ != nullptr;
  const bool failed = std::ferror(file_) != 0;
  const int closed = std::fclose(owned_.release());
  const int error = errno;
  file_ = nullptr;
  if (closed != 0 && error_ == 0) error_ = error ? error : EIO;
  if (failed && error_ == 0) error_ = EIO;
  return error_ == 0;
}

}  // namespace strumlet
