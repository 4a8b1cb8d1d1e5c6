#include "chordpro/ChordProExport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "chordpro/ChordProWriter.h"
#include "pdb/DatabaseFile.h"
#include "pdb/FileSystem.h"
#include "pdb/Messenger.h"

namespace strumlet {
namespace {

constexpr std::string_view kIncomplete =
    "# The database could not be read to its end: only the chords read completely are here.\n";

void CouldNotWrite(const std::string& path, int error) {
  ShowMessage("", "Could not write '" + path + "': " + ErrorText(error));
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A new file beside `path` that no one else uses; -1 with errno set when none can be made.
int CreateSibling(const std::string& path, std::string& siblingPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    siblingPath = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(siblingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool WriteChordProFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                       const std::string& outputFile, const ChordProOptions& options) {
  std::string text = WriteChordPro(title, db.chords, db.categories, sortOrder, options);
  if (!db.complete) {
    text.insert(text.find('\n') + 1, kIncomplete);
  }

  std::string partPath;
  const int fd = CreateSibling(outputFile, partPath);
  if (fd < 0) {
    CouldNotWrite(outputFile, errno);
    return false;
  }
  // A replaced file keeps its permissions; a new one gets the user's default.
  struct stat existing {};
  if (::stat(outputFile.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd, existing.st_mode & 07777);
  }
  bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(partPath.c_str(), outputFile.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(partPath.c_str());
    CouldNotWrite(outputFile, error);
  }
  return ok;
}

bool ExportChordPro(const std::string& databasePath, int sortOrder, const std::string& outputFile) {
  ChordDatabase db;
  const int read = ReadDatabaseFile(databasePath, sortOrder, db);
  if (read == kDatabaseMissing) {
    ShowMessage("", "Could not read '" + databasePath + "': " + ErrorText(ENOENT));
    return false;
  }
  if (read != 0) {
    return false;
  }
  return WriteChordProFile(db, DatabaseBaseName(databasePath), sortOrder, outputFile);
}

}  // namespace strumlet
