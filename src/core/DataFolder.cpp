// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/DataFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace strumlet {
namespace {

namespace fs = std::filesystem;

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

bool RunsFromBuildTree() {
  static const bool inside = [] {
    const fs::path program = RunningProgram();
    std::error_code ec;
    const fs::path tree = fs::weakly_canonical(STRUMLET_BUILD_DIR, ec);
    if (program.empty() || ec) return false;
    const auto [treeEnd, programAt] =
        std::mismatch(tree.begin(), tree.end(), program.begin(), program.end());
    return treeEnd == tree.end();
  }();
  return inside;
}

const char* BuildTreeDataFolder() { return STRUMLET_BUILD_RES_DIR; }

}  // namespace strumlet
