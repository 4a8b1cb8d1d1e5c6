// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "strumlet/core/MarkupText.h"  // EscapeHtml, EscapeHtmlName: the pages' escapers

namespace strumlet {

// The product's web site, linked from every page and index.
inline constexpr const char* kSiteAddress = "http://www.example.com/strumlet/";

// Text made safe for one path segment of a relative URL: every byte outside the unreserved
// set (letters, digits, "-", ".", "_", "~") becomes %XX.
std::string PercentEncode(std::string_view text);

// `when` in local time as "%x %I:%M%p" of the C locale ("12/08/26 09:05PM"), whatever the
// process's locale is.
std::string FormatTimestamp(std::time_t when);

}  // namespace strumlet
