#pragma once

#include <cstddef>
#include <string>

namespace strumlet {

// Copies the plain file `source` to `target` through a temporary file beside it, so `target` is
// never seen half-written. With `replace` an existing target is replaced; without it an existing
// target stays as it is and the copy fails. The copy gets the source's permission bits. False on
// any failure, with no temporary file left behind.
//
// Also compiled into our Palm Desktop libraries, which link nothing of ours: keep it free of
// the rest of the project.
bool CopyWholeFile(const std::string& source, const std::string& target, bool replace);

// Writes all `size` bytes to `fd`, going on after interrupted and short writes. False when a
// write fails.
bool WriteAll(int fd, const char* data, std::size_t size);

}  // namespace strumlet
