#include "pdb/DatabaseFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "pdb/ByteSource.h"
#include "pdb/Messenger.h"

namespace strumlet {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int ReadDatabaseFile(const std::string& path, int sortOrder, ChordDatabase& db) {
  db = ChordDatabase{};
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return kDatabaseMissing;
  }
  // Only a plain file is opened: a folder cannot be read and a pipe could block for ever.
  if (!S_ISREG(info.st_mode)) {
    ShowMessage("", "Could not read '" + path + "': it is not a plain file.");
    return kDatabaseUnreadable;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    ShowMessage("", "Could not read '" + path + "': " + std::strerror(errno));
    return kDatabaseUnreadable;
  }
  FileSource source(file.get());
  if (EndsInPdb(path)) {
    return ParseDatabase(source, sortOrder, db);
  }
  try {
    LoadArchivedCollection(source, sortOrder, db);
  } catch (const ArchiveException& e) {
    // Negated so that no cause code can pass for a success.
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(e.cause());
  } catch (const std::exception& e) {
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(ArchiveException::kGeneric);
  }
  return 0;
}

}  // namespace strumlet
