// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {

// The whole file of a read database in one export format, titled `title` (its base name, as
// the file system gives it), with a note when the database was read only in part. `options`
// applies to ChordPro alone. A new format is one more of these and its row in the output
// format table (convert/OutputFormats.h).
using ExportWriter = std::string (*)(const ChordDatabase& db, const std::string& title,
                                     int sortOrder, const ChordProOptions& options);

std::string ChordProText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions& options);
std::string MusicXmlText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions& options);
std::string ChordJsonText(const ChordDatabase& db, const std::string& title, int sortOrder,
                          const ChordProOptions& options);
// Bytes, not text: a Standard MIDI File.
std::string MidiText(const ChordDatabase& db, const std::string& title, int sortOrder,
                     const ChordProOptions& options);

// Writes that file to `outputFile`; shows nothing. It appears only when complete: it is written
// beside its final name and then renamed over it, so a failure leaves an existing file as it
// was and no partial file behind. Fails with kIo, the path and the errno value.
Result<void> WriteExportFile(ExportWriter writer, const ChordDatabase& db, const std::string& title,
                             int sortOrder, const std::filesystem::path& outputFile,
                             const ChordProOptions& options = {});

// The message for a failure of WriteExportFile ("Could not write '<path>': <reason>"), or of
// ExportDatabase's reading of a database that is not there.
std::string ExportErrorText(const Error& error);

// What ExportDatabase came to.
struct ExportResult {
  std::filesystem::path database;  // the database file read
  ChordDatabase db;                // what was read of it, with the faults met
  Result<void> read;               // ReadDatabaseFile's
  Result<void> written;            // WriteExportFile's; unset (a success) when the reading failed
  bool ok() const { return read.has_value() && written.has_value(); }
};

// Reads the database file (or archived collection, by the same name rule as a conversion) at
// `databasePath` with the chords in `sortOrder`, and writes its file made by `writer` to
// `outputFile`; shows nothing.
ExportResult ExportDatabase(ExportWriter writer, const std::filesystem::path& databasePath,
                            int sortOrder, const std::filesystem::path& outputFile);

// The messages to tell of an ExportDatabase, in order: what reading the database had to say,
// then why the file was not written. Empty when there is nothing to tell.
std::vector<std::string> ExportMessages(const ExportResult& result);

}  // namespace strumlet
