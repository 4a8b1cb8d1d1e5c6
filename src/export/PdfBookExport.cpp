// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/PdfBookExport.h"

#include <cerrno>
#include <vector>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/DatabaseFile.h"
#include "strumlet/pdb/HeadingTracker.h"
#include "strumlet/render/PdfBook.h"

namespace strumlet {

Result<void> WritePdfBookFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                              const std::filesystem::path& outputFile,
                              const PdfBookSettings& settings) {
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
  if (written) return {};
  const int error = file.error();
  file.Discard();
  if (error != 0) return Error{Error::Kind::kIo, outputFile, {}, error};
  return Error{Error::Kind::kRefused, outputFile, problem, 0};
}

ExportResult ExportPdfBook(const std::filesystem::path& databasePath, int sortOrder,
                           const std::filesystem::path& outputFile,
                           const PdfBookSettings& settings) {
  ExportResult result;
  result.database = databasePath;
  result.read = ReadDatabaseFile(databasePath, sortOrder, result.db);
  if (result.read) {
    result.written = WritePdfBookFile(result.db, DatabaseBaseName(databasePath), sortOrder,
                                      outputFile, settings);
  }
  return result;
}

}  // namespace strumlet
