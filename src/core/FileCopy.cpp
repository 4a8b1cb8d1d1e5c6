// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/UniqueFd.h"

namespace strumlet {

bool CopyWholeFile(const std::filesystem::path& source, const std::filesystem::path& target,
                   bool replace) {
  UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) return false;
  struct stat st {};
  if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  AtomicFile out;
  AtomicFile::Options options;
  // Never more than the owner may write, and the umask has the last word: a copy of a library
  // that came out of an archive as 0777 would otherwise let any local user put code into it.
  const mode_t kind = (st.st_mode & 0111) != 0 ? 0755 : 0666;
  options.mode = st.st_mode & kind;
  // A copy over an older one is a new install: it takes the new bits, not those of the file
  // it replaces, which someone may have opened up.
  options.keepMode = false;
  options.sync = false;
  options.replace = replace;
  if (!out.Open(target, options)) return false;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;  // the new file goes with `out`
    if (got == 0) break;
    if (!out.Write(buffer, static_cast<std::size_t>(got))) return false;
  }
  return out.Commit();
}

}  // namespace strumlet
