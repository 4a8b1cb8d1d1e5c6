// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/StartDirectory.h"

#include <filesystem>
#include <system_error>

namespace strumlet {

const std::string& StartDirectory() {
  static const std::string directory = [] {
    std::error_code ec;
    auto path = std::filesystem::current_path(ec);
    return ec ? std::string() : path.string();
  }();
  return directory;
}

}  // namespace strumlet
