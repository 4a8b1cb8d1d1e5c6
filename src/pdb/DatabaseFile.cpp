// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/DatabaseFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <unordered_set>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"

namespace strumlet {

std::string DatabaseBaseName(const std::string& databasePath) {
  std::string fileName = FileName(databasePath);
  // The dots that hide a file are not where its name ends: ".x.pdb" is "x", not "", which
  // would write ".html" straight into the output folder.
  fileName.erase(0, fileName.find_first_not_of('.'));
  std::string base = fileName.substr(0, fileName.find('.'));
  return base.empty() ? std::string("database") : base;
}

namespace {

// Chords whose record offset an earlier chord of the database has: a damaged database, whose
// chords would otherwise share one picture.
std::size_t SharedRecordOffsets(const ChordCollection& chords) {
  std::unordered_set<int32_t> seen;
  seen.reserve(chords.size());
  std::size_t shared = 0;
  for (const ChordRecord& chord : chords) shared += seen.insert(chord.recordOffset).second ? 0 : 1;
  return shared;
}

int TellSharedOffsets(const std::string& path, const ChordDatabase& db, int read) {
  if (read != 0) return read;
  const std::size_t shared = SharedRecordOffsets(db.chords);
  if (shared > 0) {
    ShowMessage("", CountedFault("'" + path +
                                     "' is damaged: a chord shares its record offset with an "
                                     "earlier chord; each still gets a diagram of its own.",
                                 shared));
  }
  return read;
}

// Whether the open file starts with a database header, whatever its name; it is then read again
// from its start.
bool FileStartsWithDatabaseHeader(std::FILE* file) {
  uint8_t head[68];
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return StartsWithDatabaseHeader(std::span<const uint8_t>(head, got));
}

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
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    const int error = errno;
    ShowMessage("", "Could not read '" + path + "': " + ErrorText(error));
    return kDatabaseUnreadable;
  }
  FileSource source(file.get());
  // A read error is named with its reason; the readers' own messages would call the file
  // truncated or foreign.
  auto readFailed = [&] {
    if (source.error() == 0) return false;
    db = ChordDatabase{};
    ShowMessage("", "Could not read '" + path + "': " + ErrorText(source.error()));
    return true;
  };
  if (EndsInPdb(path) || FileStartsWithDatabaseHeader(file.get())) {
    const int read = ParseDatabase(source, sortOrder, db);
    return readFailed() ? kDatabaseUnreadable : TellSharedOffsets(path, db, read);
  }
  try {
    LoadArchivedCollection(source, sortOrder, db);
  } catch (const ArchiveException& e) {
    if (readFailed()) return kDatabaseUnreadable;
    // Negated so that no cause code can pass for a success.
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(e.cause());
  } catch (const std::exception& e) {
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(ArchiveException::kGeneric);
  }
  return readFailed() ? kDatabaseUnreadable : TellSharedOffsets(path, db, 0);
}

}  // namespace strumlet
