// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {

// Results of ReadDatabaseFile besides 0 (read) and -1 (not a chord database).
constexpr int kDatabaseUnreadable = -2;  // exists but is no plain file or cannot be opened
constexpr int kDatabaseMissing = -1000;  // does not exist; nothing has been said (no archive cause)

// The base name of a database: its file name, without the dots it may start with, up to the
// next "."; never empty.
std::string DatabaseBaseName(const std::string& databasePath);

// Why the file at `path` is no chord database, to follow its quoted name: "is empty", "is a text
// file, not a Palm database", ...; empty when its header is that of a chord database.
std::string DatabaseProblem(const std::string& path);

// Reads the database file or archived collection at `path` into `db` (a database when its name
// ends in "pdb" or "PDB" or its bytes start with a database header), placing the chords by
// `sortOrder`. Returns 0 when read (db.complete tells
// whether to its end), -1 when the file is no chord database, kDatabaseUnreadable,
// kDatabaseMissing, or the negated cause of an archive failure. Every failure but a missing
// file has been reported through the messenger, in one message per file that names it.
int ReadDatabaseFile(const std::string& path, int sortOrder, ChordDatabase& db);

}  // namespace strumlet
