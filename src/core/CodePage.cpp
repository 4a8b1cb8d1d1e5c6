// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/CodePage.h"

namespace strumlet {
namespace {

// Characters 0x80..0x9F of Windows-1252; 0 marks a code the page leaves undefined, which maps
// to the control character of the same number.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t Decode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) {
    char16_t mapped = kHighControls[byte - 0x80];
    return mapped ? mapped : byte;
  }
  return byte;
}

char ToCodePage(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (c == Decode(static_cast<unsigned char>(0x80 + i))) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ConvertWideToCodePage(const std::u16string& wide) {
  std::string narrow;
  narrow.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char16_t u = wide[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      // A character beyond the basic plane: the code page has none, so one "?" for the pair.
      ++i;
      narrow += '?';
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      narrow += '?';
    } else {
      narrow += ToCodePage(u);
    }
  }
  return narrow;
}

std::string CodePageToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (char b : bytes) {
    char16_t c = Decode(static_cast<unsigned char>(b));
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace strumlet
