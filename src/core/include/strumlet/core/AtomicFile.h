// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "strumlet/core/Result.h"
#include "strumlet/core/UniqueFd.h"

namespace strumlet {

// Writes all `size` bytes to `fd`, going on after interrupted and short writes. False (errno
// set) when a write fails.
bool WriteAll(int fd, const void* data, std::size_t size);

// A file that appears whole or not at all. The bytes go to a new file beside the target,
// created exclusively under a name nobody else uses, and that file is renamed over the target
// once it is complete. Whenever the writing stops, the target is the whole old file or the whole
// new one. A symbolic link at the target's name is replaced, never written through; a target
// that is a device, a pipe or a folder is refused.
//
// Needs nothing of the project but FileSystem, so our Palm Desktop libraries can build both in.
class AtomicFile {
 public:
  struct Options {
    // Permission bits of a new file, before the umask.
    mode_t mode = 0666;
    // A replaced plain file keeps its permission bits (a user's own choice of who reads it).
    bool keepMode = true;
    // fsync before the rename: for files whose loss the user would notice after a crash (pages,
    // the index, exports, settings), not for the thousands of diagrams of one page.
    bool sync = true;
    // Without it an existing target stays as it is and Commit fails with EEXIST.
    bool replace = true;
  };

  AtomicFile() = default;
  // Removes the temporary file of a file never committed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file for `path`. False with error() set.
  bool Open(const std::filesystem::path& path, const Options& options);
  bool Open(const std::filesystem::path& path) { return Open(path, Options{}); }
  // Buffered; nothing is written after the first failure, which error() keeps.
  bool Write(const void* data, std::size_t size);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Writes what is buffered, syncs (as asked), closes and renames the file over the target.
  // False with error() set, and then the target is as it was and no temporary file is left.
  bool Commit();
  // Drops the new file; the target stays as it was.
  void Discard();

  bool ok() const { return fd_ && error_ == 0; }
  // The errno value of the first failure; 0 when none.
  int error() const { return error_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  bool Flush();
  void Replace();
  void Fail(int error);

  std::filesystem::path path_;
  std::string tempPath_;
  Options options_;
  UniqueFd fd_;
  std::string buffer_;
  int error_ = 0;
};

// Whether `name` is one of the temporary names an AtomicFile gives its new files.
bool IsTemporaryName(std::string_view name);

// Removes from `folder` the temporary files of AtomicFiles that were never finished (their
// writer was killed), when last changed before `before`: a file still being written by someone
// else is newer. Only for a folder whose writers the caller holds off (see FolderLock).
void RemoveUnfinishedFiles(const std::filesystem::path& folder, const timespec& before);

// Writes `content` to `path` through an AtomicFile. On failure an Error of kind kIo naming
// `path`, with the errno value in `code` (the reason is left to the caller's words).
Result<void> WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                 const AtomicFile::Options& options);
inline Result<void> WriteFileAtomically(const std::filesystem::path& path,
                                        std::string_view content) {
  return WriteFileAtomically(path, content, AtomicFile::Options{});
}

}  // namespace strumlet
