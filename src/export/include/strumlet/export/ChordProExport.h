// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/export/ChordProWriter.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {

// Writes the ChordPro file of a read database to `outputFile`, titled `title` (the database's
// base name, as the file system gives it). The file appears only when complete: it is written
// beside its final name and then renamed over it, so a failure leaves an existing file as it was
// and no partial file behind. A failure is reported through the messenger and returns false.
bool WriteChordProFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                       const std::string& outputFile, const ChordProOptions& options = {});

// Reads the database file (or archived collection, by the same name rule as a conversion) at
// `databasePath` with the chords in `sortOrder`, and writes its ChordPro file to `outputFile`.
// True when the file was written; every failure has been reported through the messenger.
bool ExportChordPro(const std::string& databasePath, int sortOrder, const std::string& outputFile);

}  // namespace strumlet
