// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/MarkupText.h"

#include <cstdint>

#include "strumlet/core/Utf8.h"

namespace strumlet {
namespace {

// The reference of a markup character, or none. The pages never needed the apostrophe's (their
// attribute values are in double quotes), and keep their bytes without it.
const char* Reference(char32_t c, bool apostrophe) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return apostrophe ? "&apos;" : nullptr;
    default:
      return nullptr;
  }
}

}  // namespace

namespace {

bool RefusedByXml(char32_t code) {
  return code == 0xFFFE || code == 0xFFFF ||
         (code < 0x20 && code != '\t' && code != '\n' && code != '\r');
}

// Controls but tab, line feed and carriage return; the C1 controls; the noncharacters.
bool RefusedByHtml(char32_t code) {
  return (code < 0x20 && code != '\t' && code != '\n' && code != '\r') ||
         (code >= 0x7F && code <= 0x9F) || (code >= 0xFDD0 && code <= 0xFDEF) ||
         (code & 0xFFFE) == 0xFFFE;
}

// `utf8` with its markup characters as references and each character `refused` (or a byte that
// is no UTF-8) as `unusable`.
std::string EscapeCharacters(std::string_view utf8, std::string_view unusable, bool apostrophe,
                             bool (*refused)(char32_t)) {
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
    if (refused(code)) {
      out += unusable;
    } else if (const char* reference = Reference(code, apostrophe)) {
      out += reference;
    } else {
      out += sequence;
    }
  }
  return out;
}

}  // namespace

std::string EscapeXml(std::string_view utf8, std::string_view unusable) {
  return EscapeCharacters(utf8, unusable, true, RefusedByXml);
}

std::string EscapeUtf8Html(std::string_view utf8) {
  return EscapeCharacters(utf8, "\xEF\xBF\xBD", false, RefusedByHtml);
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (const char* reference = Reference(static_cast<unsigned char>(c), false)) {
      out += reference;
    } else {
      out += c;
    }
  }
  return out;
}

std::string EscapeHtmlName(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(utf8, i, codePoint);
    if (length < 2) {
      out += EscapeHtml(utf8.substr(i, 1));
      ++i;
    } else {
      out += "&#" + std::to_string(static_cast<uint32_t>(codePoint)) + ";";
      i += length;
    }
  }
  return out;
}

}  // namespace strumlet
