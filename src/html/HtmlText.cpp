// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/html/HtmlText.h"

#include <locale.h>
#include <stdint.h>
#include <time.h>

namespace strumlet {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
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
      default:
        out += c;
    }
  }
  return out;
}

namespace {

// Length of the UTF-8 sequence at `text[i]` and its code point; 0 when it is not valid UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      return 0;
    }
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::string EscapeHtmlName(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    const std::size_t length =
        static_cast<unsigned char>(utf8[i]) < 0x80 ? 0 : DecodeUtf8(utf8, i, codePoint);
    if (length == 0) {
      out += EscapeHtml(utf8.substr(i, 1));
      ++i;
    } else {
      out += "&#" + std::to_string(static_cast<uint32_t>(codePoint)) + ";";
      i += length;
    }
  }
  return out;
}

std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                            byte == '_' || byte == '~';
    if (unreserved) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
  }
  return out;
}

std::string FormatTimestamp(std::time_t when) {
  // The C locale is asked for explicitly so that the page never depends on (or changes) the
  // process's global locale, which other threads may rely on.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  struct tm local {};
  if (localtime_r(&when, &local) == nullptr) {
    return {};
  }
  char buffer[48];
  const std::size_t length =
      cLocale ? strftime_l(buffer, sizeof buffer, "%x %I:%M%p", &local, cLocale) : 0;
  return std::string(buffer, length);
}

}  // namespace strumlet
