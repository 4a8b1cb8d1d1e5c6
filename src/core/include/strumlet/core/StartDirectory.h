// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>

namespace strumlet {

// The process's current directory, read once on first use (call it first thing in main) and
// never changed afterwards. No trailing "/" unless it is the root. Empty when it cannot be read.
const std::filesystem::path& StartDirectory();

}  // namespace strumlet
