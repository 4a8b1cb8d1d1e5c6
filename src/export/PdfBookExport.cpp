// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/PdfBookExport.h"

#include <cerrno>
#include <vector>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/DatabaseFile.h"
#include "strumlet/pdb/HeadingTracker.h"
#include "strumlet/render/PdfBook.h"

namespace strumlet {

bool WritePdfBookFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                      const std::string& outputFile, const PdfBookSettings& settings) {
  std::vector<PdfBookEntry> entries;
  entries.reserve(db.chords.size() + 16);
  HeadingTracker headings(db.categories, sortOrder);
  for (const ChordRecord& record : db.chords) {
    if (const auto heading = headings.Next(record)) {
      entries.push_back({CodePageToUtf8(*heading), nullptr});
    }
    entries.push_back({{}, &record});
  }
  const PaperSize paper = settings.paper.width > 0 ? settings.paper : SystemPaper();
  PdfBookOptions options;
  options.paperWidth = paper.width;
  options.paperHeight = paper.height;
  options.style = settings.style;

  // A replaced file keeps its permissions; a new one gets the user's default.
  AtomicFile file;
  AtomicFile::Options fileOptions;
  fileOptions.keepMode = true;
  std::string problem;
  bool written = file.Open(outputFile, fileOptions);
  if (written) {
    written = WritePdfBook(
        FileNameText(title), entries, options,
        [&file](const unsigned char* data, std::size_t size) { return file.Write(data, size); },
        problem);
  }
  if (written) written = file.Commit();
  if (!written) {
    if (file.error() != 0) problem = ErrorText(file.error());
    file.Discard();
    ShowMessage("", "Could not write '" + outputFile + "': " + problem);
  }
  return written;
}

bool ExportPdfBook(const std::string& databasePath, int sortOrder, const std::string& outputFile,
                   const PdfBookSettings& settings) {
  ChordDatabase db;
  const int read = ReadDatabaseFile(databasePath, sortOrder, db);
  if (read == kDatabaseMissing) {
    ShowMessage("", "Could not read '" + databasePath + "': " + ErrorText(ENOENT));
    return false;
  }
  if (read != 0) return false;
  return WritePdfBookFile(db, DatabaseBaseName(databasePath), sortOrder, outputFile, settings);
}

}  // namespace strumlet
