// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/html/HtmlText.h"

#include <locale.h>
#include <stdint.h>
#include <time.h>

namespace strumlet {

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
