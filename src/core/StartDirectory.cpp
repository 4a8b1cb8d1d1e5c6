// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/StartDirectory.h"

#include <filesystem>
#include <system_error>

namespace strumlet {

const std::filesystem::path& StartDirectory() {
  static const std::filesystem::path directory = [] {
    std::error_code ec;
    auto path = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path() : path;
  }();
  return directory;
}

}  // namespace strumlet
