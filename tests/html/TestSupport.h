// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "TestCommon.h"
#include "strumlet/core/Messenger.h"

namespace strumlet::testing {

using strumlet::RecordingMessenger;

// Writes the database described by `description` (fixture text) to `path`.
void WriteDatabase(const std::string& path, const std::string& description);
void WriteArchive(const std::string& path, const std::string& description);

std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> List(const std::string& folder);

// Width and height stored in a PNG file's header; {-1, -1} when it is not one.
std::pair<int, int> PngSize(const std::string& path);

// The page with its creation time replaced by "<time>", so whole pages can be compared.
std::string MaskTimestamp(const std::string& page);

// The expected texts, written out from the page layout independently of the writer.
std::string ExpectedPageHead(const std::string& pageName, const std::string& baseName);
std::string ExpectedHeading(const std::string& text);
std::string ExpectedImage(const std::string& file, int width, int height, int border);
// The rule, the masked timestamp line with `prefix`, the footer and the closing tags.
std::string ExpectedTail(const std::string& prefix);
std::string ExpectedIndexHead(const std::string& folder);

}  // namespace strumlet::testing
