// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/XmlText.h"

#include "strumlet/core/Utf8.h"

namespace strumlet {

std::string EscapeXml(std::string_view utf8, std::string_view unusable) {
  std::string out;
  out.reserve(utf8.size() + 16);
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t code = 0;
    const std::size_t length = DecodeUtf8(utf8, i, code);
    if (length == 0) {
      out += unusable;
      ++i;
      continue;
    }
    const std::string_view sequence = utf8.substr(i, length);
    i += length;
    if (code == 0xFFFE || code == 0xFFFF ||
        (code < 0x20 && code != '\t' && code != '\n' && code != '\r')) {
      out += unusable;
      continue;
    }
    switch (code) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += sequence;
    }
  }
  return out;
}

}  // namespace strumlet
