// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/DatabaseExport.h"

#include <cerrno>
#include <string_view>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/export/ChordJsonWriter.h"
#include "strumlet/export/MidiWriter.h"
#include "strumlet/export/MusicXmlWriter.h"
#include "strumlet/pdb/DatabaseFile.h"

namespace strumlet {
namespace {

constexpr std::string_view kIncomplete =
    "# The database could not be read to its end: only the chords read completely are here.\n";

}  // namespace

std::string ChordProText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions& options) {
  std::string text = WriteChordPro(title, db.chords, db.categories, sortOrder, options);
  if (!db.complete) {
    text.insert(text.find('\n') + 1, kIncomplete);
  }
  return text;
}

std::string MusicXmlText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions&) {
  return WriteMusicXml(title, db.chords, db.categories, sortOrder, db.complete);
}

std::string ChordJsonText(const ChordDatabase& db, const std::string& title, int sortOrder,
                          const ChordProOptions&) {
  return WriteChordJson(title, db.chords, db.categories, sortOrder, db.complete);
}

std::string MidiText(const ChordDatabase& db, const std::string& title, int sortOrder,
                     const ChordProOptions&) {
  return WriteMidi(title, db.chords, db.categories, sortOrder, db.complete);
}

Result<void> WriteExportFile(ExportWriter writer, const ChordDatabase& db, const std::string& title,
                             int sortOrder, const std::filesystem::path& outputFile,
                             const ChordProOptions& options) {
  const std::string text = writer(db, title, sortOrder, options);
  // A replaced file keeps its permissions; a new one gets the user's default.
  AtomicFile::Options fileOptions;
  fileOptions.keepMode = true;
  return WriteFileAtomically(outputFile, text, fileOptions);
}

std::string ExportErrorText(const Error& error) {
  if (error.kind == Error::Kind::kMissing) {
    return "Could not read '" + error.path + "': " + ErrorText(ENOENT);
  }
  // A writer that gave its own reason (a font it cannot read).
  if (error.kind == Error::Kind::kRefused)
    return "Could not write '" + error.path + "': " + error.reason;
  return "Could not write '" + error.path + "': " + ErrorText(error.code);
}

ExportResult ExportDatabase(ExportWriter writer, const std::filesystem::path& databasePath,
                            int sortOrder, const std::filesystem::path& outputFile) {
  ExportResult result;
  result.database = databasePath.native();
  result.read = ReadDatabaseFile(result.database, sortOrder, result.db);
  if (result.read) {
    result.written = WriteExportFile(writer, result.db, DatabaseBaseName(result.database),
                                     sortOrder, outputFile);
  }
  return result;
}

std::vector<std::string> ExportMessages(const ExportResult& result) {
  std::vector<std::string> messages;
  if (std::string text = DatabaseReadText(result.database, result.db, result.read); !text.empty()) {
    messages.push_back(std::move(text));
  }
  // A database that is not there has no words of the reader's.
  if (!result.read && DatabaseReadCode(result.read.error()) == kDatabaseMissing) {
    messages.push_back(ExportErrorText(result.read.error()));
  }
  if (!result.written) messages.push_back(ExportErrorText(result.written.error()));
  return messages;
}

}  // namespace strumlet
