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
#include "strumlet/export/MidiWriter.h"
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

bool WriteExportFile(ExportWriter writer, const ChordDatabase& db, const std::string& title,
                     int sortOrder, const std::string& outputFile, const ChordProOptions& options) {
  const std::string text = writer(db, title, sortOrder, options);
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

bool ExportDatabase(ExportWriter writer, const std::string& databasePath, int sortOrder,
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
  return WriteExportFile(writer, db, DatabaseBaseName(databasePath), sortOrder, outputFile);
}

}  // namespace strumlet
