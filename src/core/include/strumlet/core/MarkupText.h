// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace strumlet {

// Text for markup: the one place that knows which characters HTML and XML take as markup and
// what they become.

// `utf8` for XML character data and attribute values: markup characters as references, and
// each character XML cannot carry at all (C0 controls but tab, line feed and carriage return;
// U+FFFE, U+FFFF; a malformed UTF-8 byte) replaced by `unusable`, or left out when it is empty.
std::string EscapeXml(std::string_view utf8, std::string_view unusable = {});

// Text made safe for HTML element content and double-quoted attribute values: "&", "<", ">"
// and '"' as references, every other byte as it is.
std::string EscapeHtml(std::string_view text);

// Text made safe for the content and double-quoted attribute values of a page in UTF-8 (HTML5):
// markup characters but the apostrophe as references, and every character such a document may
// not carry (controls but tab, line feed and carriage return; noncharacters; a byte that is no
// UTF-8) as U+FFFD.
std::string EscapeUtf8Html(std::string_view utf8);

// A file or folder name (UTF-8, as the file system gives it) for HTML content or a quoted
// attribute: escaped like EscapeHtml, and every non-ASCII character written as a character
// reference, since the pages declare a single-byte character set. Bytes that are not UTF-8
// are kept as they are.
std::string EscapeHtmlName(std::string_view utf8);

}  // namespace strumlet
