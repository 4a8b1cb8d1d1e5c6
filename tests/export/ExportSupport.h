// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/core/Messenger.h"
#include "strumlet/export/DatabaseExport.h"

namespace strumlet::testing {

// ExportDatabase as the window runs it: its messages told through the messenger, true when the
// file was written.
inline bool ExportAndTell(ExportWriter writer, const std::string& databasePath, int sortOrder,
                          const std::string& outputFile) {
  const ExportResult exported = ExportDatabase(writer, databasePath, sortOrder, outputFile);
  for (const std::string& text : ExportMessages(exported)) ShowMessage("", text);
  return exported.ok();
}

}  // namespace strumlet::testing
