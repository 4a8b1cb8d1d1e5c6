#include "pdb/FileCopy.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace strumlet {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool CopyWholeFile(const std::string& source, const std::string& target, bool replace) {
  const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st {};
  if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(in);
    return false;
  }
  const std::size_t slash = target.find_last_of('/');
  std::string temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                     ".strumlet-copy-XXXXXX";
  const int out = mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = true;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    if (!WriteAll(out, buffer, static_cast<std::size_t>(got))) {
      ok = false;
      break;
    }
  }
  close(in);
  ok = ok && fchmod(out, st.st_mode & 0777) == 0;
  ok = close(out) == 0 && ok;
  // link() refuses to replace an existing file; rename() replaces it in one step.
  if (ok) {
    ok = replace ? rename(temp.c_str(), target.c_str()) == 0
                 : link(temp.c_str(), target.c_str()) == 0;
  }
  unlink(temp.c_str());  // after a rename the name is gone already
  return ok;
}

}  // namespace strumlet
