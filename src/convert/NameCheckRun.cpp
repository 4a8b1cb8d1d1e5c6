// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/convert/NameCheckRun.h"

#include "TellUser.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/export/NameCheck.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/pdb/DatabaseFile.h"

namespace strumlet {

NameCheckRun CheckNames(const std::filesystem::path& path, int sortOrder) {
  NameCheckRun run;
  std::vector<std::string> files;
  if (IsDirectory(path)) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
      const std::string name = entry.path().filename().string();
      if (!name.starts_with('.') && IsChordDatabase(path, name)) {
        files.push_back(JoinPath(path, name));
      }
    }
    if (error) {
      TellUser("", "Could not read '" + path.native() + "': " + ErrorText(error.value()));
      return run;
    }
    std::sort(files.begin(), files.end());
  } else if (IsRegularFile(path)) {
    files.push_back(path);
  } else {
    TellUser("", "Could not read '" + path.native() + "': " + ErrorText(ENOENT));
    return run;
  }
  run.ran = true;
  int chords = 0, checked = 0, misnamed = 0, unread = 0;
  for (const std::string& file : files) {
    ChordDatabase db;
    const Result<void> read = ReadDatabaseFile(file, sortOrder, db);
    if (const std::string text = DatabaseReadText(file, db, read); !text.empty()) {
      TellUser("", text);
    }
    if (!read) continue;
    ++checked;
    chords += static_cast<int>(db.chords.size());
    run.report += NameCheckReport(DatabaseBaseName(file), db.chords, misnamed, unread);
  }
  run.summary = "Checked " + std::to_string(chords) + " chords in " + std::to_string(checked) +
                (checked == 1 ? " database: " : " databases: ") + std::to_string(misnamed) +
                " misnamed, " + std::to_string(unread) + " names not read as chords.";
  return run;
}

}  // namespace strumlet
