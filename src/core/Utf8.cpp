// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/Utf8.h"

namespace strumlet {

std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint) {
  if (at >= text.size()) return 0;
  const auto byte = [&text](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  const unsigned lead = byte(at);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  // The second byte's range carries the rules a continuation mask cannot: E0 and F0 would
  // start overlong forms below A0 and 90, ED a surrogate above 9F, F4 a code point past
  // U+10FFFF above 8F.
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  char32_t code = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned next = byte(at + k);
    if (next < low || next > high) return 0;
    code = code << 6 | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  codePoint = code;
  return length;
}

bool IsUtf8(std::string_view text) {
  char32_t codePoint = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = DecodeUtf8(text, i, codePoint);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace strumlet
