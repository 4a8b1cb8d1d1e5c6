// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/DatabaseFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <unordered_set>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
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

void NoteSharedOffsets(const std::string& path, ChordDatabase& db) {
  const std::size_t shared = SharedRecordOffsets(db.chords);
  if (shared > 0) {
    db.faults.push_back(CountedFault("'" + path +
                                         "' is damaged: a chord shares its record offset with an "
                                         "earlier chord; each still gets a diagram of its own.",
                                     shared));
  }
}

// Whether the open file starts with a database header, whatever its name; it is then read again
// from its start.
bool FileStartsWithDatabaseHeader(std::FILE* file) {
  uint8_t head[68];
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return StartsWithDatabaseHeader(std::span<const uint8_t>(head, got));
}

bool LooksLikeText(const unsigned char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = bytes[i];
    if (c == 0 || c == 0x7F || (c < 0x20 && std::strchr("\t\n\r\f", c) == nullptr)) return false;
  }
  return true;
}

bool IsNameCharacter(unsigned char c) { return c >= 0x20 && c < 0x7F; }

}  // namespace

std::string DatabaseProblem(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return "cannot be read: " + ErrorText(errno);
  unsigned char head[512];
  const std::size_t got = std::fread(head, 1, sizeof head, file.get());
  if (std::ferror(file.get())) return "cannot be read: " + ErrorText(errno ? errno : EIO);
  if (got == 0) return "is empty";
  if (got >= 68 && std::memcmp(head + 64, "STRM", 4) == 0) return {};
  if (LooksLikeText(head, got)) return "is a text file, not a Palm database";
  bool named = got >= 68;
  for (std::size_t i = 60; named && i < 68; ++i) named = IsNameCharacter(head[i]);
  if (named) {
    return "is a Palm database of another program (creator '" +
           std::string(reinterpret_cast<const char*>(head + 64), 4) + "'), not a chord database";
  }
  return "is not a Palm database";
}

Result<void> ReadDatabaseFile(const std::string& path, int sortOrder, ChordDatabase& db) {
  db = ChordDatabase{};
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return Error{Error::Kind::kMissing, path, {}, ENOENT};
  }
  // Only a plain file is opened: a folder cannot be read and a pipe could block for ever.
  if (!S_ISREG(info.st_mode)) {
    return Error{Error::Kind::kUnavailable, path, "it is not a plain file", 0};
  }
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return Error{Error::Kind::kIo, path, {}, errno};
  }
  FileSource source(file.get());
  // A read error is named with its reason; the readers' own words would call the file
  // truncated or foreign. What was met before it is kept to be told.
  auto readFailed = [&]() -> std::optional<Error> {
    if (source.error() == 0) return std::nullopt;
    std::vector<std::string> faults = std::move(db.faults);
    db = ChordDatabase{};
    db.faults = std::move(faults);
    return Error{Error::Kind::kIo, path, {}, source.error()};
  };
  if (EndsInPdb(path) || FileStartsWithDatabaseHeader(file.get())) {
    Result<void> read = ReadDatabase(source, sortOrder, db);
    if (auto failed = readFailed()) return *failed;
    if (!read) return Error{Error::Kind::kMissing, path, read.error().reason, 0};
    NoteSharedOffsets(path, db);
    return {};
  }
  try {
    LoadArchivedCollection(source, sortOrder, db);
  } catch (const ArchiveException& e) {
    if (auto failed = readFailed()) return *failed;
    return Error{Error::Kind::kRefused, path, e.what(), static_cast<int>(e.cause())};
  } catch (const std::exception& e) {
    return Error{Error::Kind::kRefused, path, e.what(),
                 static_cast<int>(ArchiveException::kGeneric)};
  }
  if (auto failed = readFailed()) return *failed;
  NoteSharedOffsets(path, db);
  return {};
}

int DatabaseReadCode(const Error& error) {
  switch (error.kind) {
    case Error::Kind::kMissing:
      return error.code == ENOENT ? kDatabaseMissing : -1;
    case Error::Kind::kRefused:
      // Negated so that no cause code can pass for a success.
      return -error.code;
    default:
      return kDatabaseUnreadable;
  }
}

std::string DatabaseReadText(const std::string& path, const ChordDatabase& db,
                             const Result<void>& read) {
  std::vector<std::string> lines = db.faults;
  const Error* error = read ? nullptr : &read.error();
  if (error) {
    switch (error->kind) {
      case Error::Kind::kMissing:
        if (!error->reason.empty()) lines.push_back(error->reason);
        break;
      case Error::Kind::kUnavailable:
        lines.push_back("Could not read '" + path + "': " + error->reason + ".");
        break;
      case Error::Kind::kIo:
        lines.push_back("Could not read '" + path + "': " + ErrorText(error->code));
        break;
      case Error::Kind::kRefused:
        lines.push_back("'" + path + "' could not be read: " + error->reason);
        break;
    }
  }
  if (lines.empty()) return {};
  const std::string named = "'" + path + "'";
  std::string text;
  bool naming = false;
  for (std::string line : lines) {
    if (line.rfind("The database ", 0) == 0) line.replace(0, 12, named);
    naming |= line.find(named) != std::string::npos;
    text += (text.empty() ? "" : "\n") + line;
  }
  if (!naming) {
    // Why a file read whole, or refused as no chord database, is what it is.
    const bool asRead = !error || (error->kind == Error::Kind::kMissing);
    const std::string problem = asRead ? DatabaseProblem(path) : std::string();
    text += "\n" + named + " " + (problem.empty() ? "is damaged" : problem) + ".";
  }
  return text;
}

}  // namespace strumlet
