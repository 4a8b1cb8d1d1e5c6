// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/DataFolder.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace strumlet {
namespace {

namespace fs = std::filesystem;

// Written by the build into its top folder.
constexpr const char* kBuildTreeMarker = "StrumletBuildTree.txt";

fs::path RunningProgram() {
  std::error_code ec;
  fs::path program = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : program;
}

// `fromBin` beside the folder of the running program when that exists, else `configured`.
fs::path BesideProgram(const char* fromBin, const char* configured) {
  const fs::path program = RunningProgram();
  if (!program.empty()) {
    std::error_code ec;
    const fs::path beside = (program.parent_path() / fromBin).lexically_normal();
    if (fs::is_directory(beside, ec)) return beside;
  }
  return fs::path(configured);
}

}  // namespace

const fs::path& InstalledDataFolder() {
  static const fs::path folder = BesideProgram(STRUMLET_DATA_FROM_BIN, STRUMLET_DATA_DIR);
  return folder;
}

const fs::path& InstalledLibraryFolder() {
  static const fs::path folder = BesideProgram(STRUMLET_LIB_FROM_BIN, STRUMLET_LIB_DIR);
  return folder;
}

const fs::path& BuildTreeFolder() {
  static const fs::path tree = []() -> fs::path {
    const fs::path program = RunningProgram();
    struct stat owner {};
    if (program.empty() || ::stat(program.c_str(), &owner) != 0) return {};
    // Owned by the program's owner: a marker another user planted above an installed copy
    // (in a shared folder) does not make it borrow that user's files.
    for (fs::path folder = program.parent_path(); !folder.empty(); folder = folder.parent_path()) {
      struct stat marker {};
      if (::stat((folder / kBuildTreeMarker).c_str(), &marker) == 0 && S_ISREG(marker.st_mode) &&
          marker.st_uid == owner.st_uid) {
        return folder;
      }
      if (folder == folder.root_path()) break;
    }
    return {};
  }();
  return tree;
}

bool RunsFromBuildTree() { return !BuildTreeFolder().empty(); }

fs::path BuildTreeDataFolder() {
  return RunsFromBuildTree() ? BuildTreeFolder() / "res" : fs::path();
}

fs::path BuildTreeInstallFilesFolder() {
  return RunsFromBuildTree() ? BuildTreeFolder() / "installfiles" : fs::path();
}

}  // namespace strumlet
