// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace strumlet {

// The longest text we let a library make us hold room for: far past any path the system opens.
inline constexpr int32_t kLongestLibraryText = 1 << 20;

// Asks a library for a text through `ask(buffer, &size)`, first with `first` bytes of room and,
// while `failed(result)` and the text did not fit, again: with the size the library says it
// needs, or with twice the room when `tooSmall(result)` says only that it did not fit. The text
// is what the last call left in the buffer, up to its first zero byte. Returns the last result.
template <class Ask, class Failed, class TooSmall>
int32_t AskLibraryForText(int32_t first, std::string& text, Ask ask, Failed failed,
                          TooSmall tooSmall) {
  std::vector<char> buffer;
  for (int32_t room = first;;) {
    buffer.assign(static_cast<std::size_t>(room), '\0');
    int32_t size = room;
    const int32_t result = ask(buffer.data(), &size);
    text.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    if (!failed(result) || room >= kLongestLibraryText) return result;
    if (size > room) {
      room = std::min(size, kLongestLibraryText);
    } else if (tooSmall(result)) {
      room = std::min(room * 2, kLongestLibraryText);
    } else {
      return result;
    }
  }
}

}  // namespace strumlet
