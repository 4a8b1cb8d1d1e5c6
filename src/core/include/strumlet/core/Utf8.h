// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

namespace strumlet {

// The one reading of UTF-8 in the program, so that a name no writer can carry is told apart the
// same way everywhere. Returns the length of the character at `text[at]` and sets `codePoint`
// to it; returns 0 when no well-formed character starts there: a lone continuation byte, a lead
// byte C0, C1 or F5 to FF, a truncated sequence, an overlong form, a surrogate or a code point
// past U+10FFFF.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);

// Whether the whole of `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace strumlet
