// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordProExport.h"

#include "strumlet/export/DatabaseExport.h"

namespace strumlet {

bool WriteChordProFile(const ChordDatabase& db, const std::string& title, int sortOrder,
                       const std::string& outputFile, const ChordProOptions& options) {
  return WriteExportFile(ExportFormat::kChordPro, db, title, sortOrder, outputFile, options);
}

bool ExportChordPro(const std::string& databasePath, int sortOrder, const std::string& outputFile) {
  return ExportDatabase(ExportFormat::kChordPro, databasePath, sortOrder, outputFile);
}

}  // namespace strumlet
