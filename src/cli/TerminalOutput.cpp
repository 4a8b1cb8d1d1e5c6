// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TerminalOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "strumlet/core/Utf8.h"

namespace strumlet {

namespace {

// The first error a write to standard output met, 0 while none.
int outputError = 0;

void AppendEscaped(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

std::string TerminalText(std::string_view text, bool keepLineFeeds) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      const bool control =
          (byte < 0x20 && byte != '\t' && !(byte == '\n' && keepLineFeeds)) || byte == 0x7F;
      if (control) {
        AppendEscaped(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, i, codePoint);
    if (length == 0) {
      AppendEscaped(out, byte);
      ++i;
      continue;
    }
    // U+0080..U+009F: the C1 controls, which terminals obey like their ESC forms.
    if (codePoint < 0xA0) {
      AppendEscaped(out, byte);
      AppendEscaped(out, static_cast<unsigned char>(text[i + 1]));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

void PrintOutputLine(std::string_view line) {
  // A pipe or a file gets the name as it is, for the command reading it to pass on whole.
  static const bool terminal = ::isatty(STDOUT_FILENO) == 1;
  const std::string text = (terminal ? TerminalText(line, false) : std::string(line)) + '\n';
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() && outputError == 0) {
    outputError = errno != 0 ? errno : EIO;
  }
}

int FinishStandardOutput(const char* program, int status) {
  int error = outputError;
  errno = 0;
  if (std::fflush(stdout) != 0 && error == 0) {
    error = errno != 0 ? errno : EIO;
  }
  if (std::ferror(stdout) != 0 && error == 0) {
    error = EIO;
  }
  // The descriptor, not the stream: the C++ streams still flush it at exit. A descriptor that
  // was never open (started with standard output closed) lost nothing when nothing was written.
  if (::close(STDOUT_FILENO) != 0 && errno != EBADF && error == 0) {
    error = errno;
  }
  if (error == 0) {
    return status;
  }
  std::fprintf(stderr, "%s: could not write standard output: %s\n", program, std::strerror(error));
  return std::max(status, 1);
}

}  // namespace strumlet
