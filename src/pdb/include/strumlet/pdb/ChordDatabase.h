// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/pdb/ArchiveReader.h"
#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordCollection.h"

namespace strumlet {

class ByteSource;

// The fixed 78-byte header of a Palm database.
struct PalmDatabaseHeader {
  std::array<uint8_t, 32> name{};
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t creationDate = 0;
  uint32_t modificationDate = 0;
  uint32_t lastBackupDate = 0;
  uint32_t modificationNumber = 0;
  uint32_t appInfoOffset = 0;
  uint32_t sortInfoOffset = 0;
  std::array<uint8_t, 4> type{};
  std::array<uint8_t, 4> creator{};
  uint32_t uniqueIdSeed = 0;
  uint32_t nextRecordListId = 0;
  uint16_t recordCount = 0;
};

// The application values of the application-information block, kept as read.
struct ChordAppInfo {
  uint16_t categoryChangeBits = 0;
  uint8_t lastUniqueId = 0;
  uint8_t padding = 0;
  std::array<uint8_t, 2> rawValue1{};  // raw, not byte-swapped
  std::array<uint8_t, 2> rawValue2{};
  uint8_t byteValue = 0;
  std::array<uint16_t, 7> values{};
  std::array<uint8_t, 13> table1{};
  std::array<uint8_t, 13> table2{};
  uint16_t value322 = 0;
  std::array<std::array<uint8_t, 2>, 4> rawValues324{};
};

// Everything read from one database file or archived collection.
struct ChordDatabase {
  PalmDatabaseHeader header;
  ChordAppInfo appInfo;
  CategoryTable categories;
  ChordCollection chords;
  // Values only the archived form carries.
  int32_t archiveValue = 0;
  std::string archiveText;
  // False when reading stopped early (truncated data, a malformed record); the chords read
  // completely before that point are kept.
  bool complete = true;
  // What the reader met and read past (a damaged record, where reading stopped), in words and
  // in the order met, for the front end to tell; a text about "the database" means the file
  // read. Nothing is shown by the readers themselves.
  std::vector<std::string> faults;
};

// A file name a chord database may have: longer than four characters, ending in ".pdb" in any
// letter case. (Whether a path names one database or a folder is EndsInPdb's rule.)
bool IsDatabaseFileName(const std::string& fileName);

// True only for a file whose name is longer than four characters, ends in ".pdb" in any letter
// case, and whose bytes 64..67 are "STRM". Never reports anything.
bool IsChordDatabase(const std::string& folder, const std::string& fileName);

// The same test, telling a file that could not be read from one that is no chord database.
struct DatabaseCheck {
  bool database = false;  // passes the test
  int error = 0;          // named like a database, but opening or reading it failed (errno)
};
DatabaseCheck CheckChordDatabase(const std::string& folder, const std::string& fileName);

// True when the last three characters of `path` are exactly "pdb" or exactly "PDB": such a file
// is read as a database, and so is one that starts with a database header.
bool EndsInPdb(const std::string& path);

// True when `bytes`, the start of a file, are a Palm database header: a name of printable
// characters (never empty on a handheld) ending within its 32 bytes, and a type and a creator of
// four printable ASCII characters each. An archived collection starts with a number instead.
bool StartsWithDatabaseHeader(std::span<const uint8_t> bytes);

// ParseDatabase's result when the source reported a read error (in.error()): nothing has been
// said, since only the caller knows the file to name with the reason.
inline constexpr int kReadError = -2;

// Reads a whole database from `in` into `db`, placing the chords by `sortOrder`; shows nothing.
// Succeeds when read: db.complete tells whether to its end, db.faults what was met on the way.
// Fails with kMissing (the creator is not "STRM"; `reason` says so in words, and the chords of
// `db` are those it held) or kIo (`in` reported a read error, in `code`). A sort order other
// than 0, 1 and 2 places the chords by position.
Result<void> ReadDatabase(ByteSource& in, int sortOrder, ChordDatabase& db);

// ReadDatabase for the callers that want it told: every fault is shown as a message of its own.
// Returns 0 when read (db.complete tells whether it was read to its end), -1 when the creator
// is not "STRM" (after the message "The selected database is not a Strumlet database.  It
// cannot be processed."), kReadError when reading failed.
int ParseDatabase(ByteSource& in, int sortOrder, ChordDatabase& db);

// A fault's text as told once for all the records of a database that have it: `text` alone for
// one record, else followed by " (N records)".
std::string CountedFault(const std::string& text, std::size_t records);

// Reads an archived chord collection from `in` into `db`, placing the chords by `sortOrder`
// with the plain name ordering; the faults met are added to db.faults. Throws
// ArchiveException; what was read stays in `db`.
void LoadArchivedCollection(ByteSource& in, int sortOrder, ChordDatabase& db);

}  // namespace strumlet
