// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace strumlet {

// Chord and category names are bytes in the handheld's code page, taken as Windows-1252.

// UTF-16 text in the code page; every character the page lacks, a surrogate pair or a lone
// surrogate becomes one "?".
std::string ConvertWideToCodePage(const std::u16string& wide);

// Code-page bytes as UTF-8. The five codes the page leaves undefined become the control
// characters of the same number.
std::string CodePageToUtf8(std::string_view bytes);

}  // namespace strumlet
