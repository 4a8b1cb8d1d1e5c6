// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/DatabaseExport.h"

#include <cerrno>
#include <string_view>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordJsonWriter.h"
#include "strumlet/export/MusicXmlWriter.h"
#include "strumlet/pdb/DatabaseFile.h"

namespace strumlet {
namespace {

constexpr std::string_view kIncomplete =
    "# The database could not be read to its end: only the chords read completely are here.\n";

void CouldNotWrite(const Error& error) {
  ShowMessage("", "Could not write '" + error.path + "': " + ErrorText(error.code));
}

}  // namespace

const char* ExportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::kMusicXml:
      return ".musicxml";
    case ExportFormat::kJson:
      return ".json";
    case ExportFormat::kChordPro:
      break;
  }
  return ".cho";
}

const char* ExportFormatName(ExportFormat format) {
  switch (format) {
    case ExportFormat::kMusicXml:
      return "MusicXML";
    case ExportFormat::kJson:
      return "JSON";
    case ExportFormat::kChordPro:
      break;
  }
  return "ChordPro";
}

std::string ExportText(ExportFormat format, const ChordDatabase& db, const std::string& title,
                       int sortOrder, const ChordProOptions& options) {
  switch (format) {
    case ExportFormat::kMusicXml:
      return WriteMusicXml(title, db.chords, db.categories, sortOrder, db.complete);
    case ExportFormat::kJson:
      return WriteChordJson(title, db.chords, db.categories, sortOrder, db.complete);
    case ExportFormat::kChordPro:
      break;
  }
  std::string text = WriteChordPro(title, db.chords, db.categories, sortOrder, options);
  if (!db.complete) {
    text.insert(text.find('\n') + 1, kIncomplete);
  }
  return text;
}

bool WriteExportFile(ExportFormat format, const ChordDatabase& db, const std::string& title,
                     int sortOrder, const std::string& outputFile, const ChordProOptions& options) {
  const std::string text = ExportText(format, db, title, sortOrder, options);
  // A replaced file keeps its permissions; a new one gets the user's default.
  AtomicFile::Options fileOptions;
  fileOptions.keepMode = true;
  const Result<void> written = WriteFileAtomically(outputFile, text, fileOptions);
  if (!written) {
    CouldNotWrite(written.error());
    return false;
  }
  return true;
}

bool ExportDatabase(ExportFormat format, const std::string& databasePath, int sortOrder,
                    const std::string& outputFile) {
  ChordDatabase db;
  const int read = ReadDatabaseFile(databasePath, sortOrder, db);
  if (read == kDatabaseMissing) {
    ShowMessage("", "Could not read '" + databasePath + "': " + ErrorText(ENOENT));
    return false;
  }
  if (read != 0) {
    return false;
  }
  return WriteExportFile(format, db, DatabaseBaseName(databasePath), sortOrder, outputFile);
}

}  // namespace strumlet
