// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>

namespace strumlet {

// What a check of the chord names of a database file, or of every chord database of a folder,
// found: the report lines of each database (NameCheckReport) and a closing summary. `ran` is
// false when the path could not be read at all; a database that cannot be read has been told
// through the messenger and the others are checked.
struct NameCheckRun {
  bool ran = false;
  std::string report;
  std::string summary;
};

NameCheckRun CheckNames(const std::filesystem::path& path, int sortOrder);

}  // namespace strumlet
