// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace strumlet {

// `utf8` for XML character data and attribute values: markup characters as references, and
// each character XML cannot carry at all (C0 controls but tab, line feed and carriage return;
// U+FFFE, U+FFFF; a malformed UTF-8 byte) replaced by `unusable`, or left out when it is empty.
std::string EscapeXml(std::string_view utf8, std::string_view unusable = {});

}  // namespace strumlet
