// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>

#include "strumlet/export/DatabaseExport.h"
#include "strumlet/export/PaperSize.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {

// How a database's chord book is printed: the paper, and the diagrams as the pages draw them.
struct PdfBookSettings {
  PaperSize paper;  // empty: the system's (SystemPaper)
  DiagramStyle style;
};

// A file written with the run's diagram settings: the chord book.
using BookWriter = Result<void> (*)(const ChordDatabase& db, const std::string& title,
                                    int sortOrder, const std::filesystem::path& outputFile,
                                    const PdfBookSettings& settings);

// Writes the database's chords, in the collection's order under the headings of its page, as a
// PDF chord book titled `title` (a file name, as the file system gives it) to `outputFile`,
// whole or not at all, as WriteExportFile does. A failure is reported through the messenger and
// returns false.
Result<void> WritePdfBookFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                              const std::filesystem::path& outputFile,
                              const PdfBookSettings& settings);

// Reads the database at `databasePath` in `sortOrder` and writes its chord book to
// `outputFile`, as ExportDatabase does for the other files.
ExportResult ExportPdfBook(const std::filesystem::path& databasePath, int sortOrder,
                           const std::filesystem::path& outputFile,
                           const PdfBookSettings& settings);

}  // namespace strumlet
