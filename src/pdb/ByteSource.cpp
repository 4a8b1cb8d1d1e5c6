#include "pdb/ByteSource.h"

#include <algorithm>
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
  if (n < count && std::ferror(file_)) failed_ = true;
  return n;
}

}  // namespace strumlet
