// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {

// The per-database results of a reading failure besides -1 (not a chord database) and the
// negated cause of an archive failure (DatabaseReadCode).
constexpr int kDatabaseUnreadable = -2;  // exists but is no plain file or cannot be opened
constexpr int kDatabaseMissing = -1000;  // does not exist; nothing is said (no archive cause)

// The base name of a database: its file name, without the dots it may start with, up to the
// next "."; never empty.
std::string DatabaseBaseName(const std::string& databasePath);

// Why the file at `path` is no chord database, to follow its quoted name: "is empty", "is a text
// file, not a Palm database", ...; empty when its header is that of a chord database.
std::string DatabaseProblem(const std::string& path);

// Reads the database file or archived collection at `path` into `db` (a database when its name
// ends in "pdb" or "PDB" or its bytes start with a database header), placing the chords by
// `sortOrder`; shows nothing. Succeeds when read (db.complete tells whether to its end,
// db.faults what was met). Fails, with `path` in the Error, with kMissing (not there: `code`
// ENOENT; or no chord database: `reason` the reader's words), kUnavailable (no plain file),
// kIo (opening or reading failed, errno in `code`) or kRefused (an archive failure: its cause
// in `code`, its words in `reason`). db.faults keeps what was met before a failure.
Result<void> ReadDatabaseFile(const std::string& path, int sortOrder, ChordDatabase& db);

// The per-database result of a failed ReadDatabaseFile: -1 for no chord database,
// kDatabaseUnreadable, kDatabaseMissing, or the negated cause of an archive failure.
int DatabaseReadCode(const Error& error);

// The one message that tells the user about reading `path` into `db` with the outcome `read`,
// however many faults the reader met: its texts in order, a text about "the database" naming
// the file, then the failure; when no line names the file a last one does, with why it is no
// chord database or as damaged. Empty when there is nothing to tell (read whole, or missing).
std::string DatabaseReadText(const std::string& path, const ChordDatabase& db,
                             const Result<void>& read);

}  // namespace strumlet
