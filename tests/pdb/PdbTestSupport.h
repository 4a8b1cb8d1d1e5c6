// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Fixture.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet::testing {

using strumlet::RecordingMessenger;

// Builds the database described by `text` and parses it, recording the messages.
struct Parsed {
  int result = 0;
  ChordDatabase db;
  RecordingMessenger messages;
};

inline void ParseInto(std::string_view text, int sortOrder, Parsed& out) {
  auto bytes = fixture::BuildDatabase(text);
  MemorySource source(bytes);
  ScopedMessenger scoped(out.messages);
  out.result = ParseDatabase(source, sortOrder, out.db);
}

// The chord names of a collection in order, joined by blanks.
inline std::string Names(const ChordCollection& chords) {
  std::ostringstream joined;
  const char* separator = "";
  for (const auto& c : chords) {
    joined << separator << c.name;
    separator = " ";
  }
  return joined.str();
}

}  // namespace strumlet::testing
