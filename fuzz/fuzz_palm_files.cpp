// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Palm Desktop folder's users file and conduit registry, and J-Pilot's settings file, as
// our Palm Desktop libraries read them: whatever the bytes, what the readers keep must be
// valid, and writing it out and reading it again must give the same. The changes our libraries
// make to the files keep everything they do not own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "PalmDesktopFiles.h"

using namespace strumlet::palmdesktop;

namespace {

bool SameEntry(const ConduitEntry& a, const ConduitEntry& b) {
  return a.creator == b.creator && a.type == b.type && a.name == b.name &&
         a.directory == b.directory && a.title == b.title;
}

// The entries of `text` other than STRM's.
std::vector<ConduitEntry> Others(std::string_view text) {
  std::vector<ConduitEntry> others;
  for (auto& entry : ParseConduitRegistry(text)) {
    if (entry.creator != "STRM") others.push_back(std::move(entry));
  }
  return others;
}

bool SameEntries(const std::vector<ConduitEntry>& a, const std::vector<ConduitEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SameEntry(a[i], b[i])) return false;
  }
  return true;
}

const ConduitEntry* Strumlet(const std::vector<ConduitEntry>& entries) {
  for (const auto& entry : entries) {
    if (entry.creator == "STRM") return &entry;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto users = ParseUsersFile(text);
  for (const auto& user : users) {
    if (!IsValidUserName(user.name) || !IsValidUserFolder(user.folder)) __builtin_trap();
  }
  const auto usersAgain = ParseUsersFile(FormatUsersFile(users));
  if (usersAgain.size() != users.size()) __builtin_trap();
  for (std::size_t i = 0; i < users.size(); ++i) {
    if (usersAgain[i].id != users[i].id || usersAgain[i].name != users[i].name ||
        usersAgain[i].folder != users[i].folder) {
      __builtin_trap();
    }
  }

  const auto entries = ParseConduitRegistry(text);
  const auto entriesAgain = ParseConduitRegistry(FormatConduitRegistry(entries));
  if (entriesAgain.size() != entries.size()) __builtin_trap();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!IsValidCreator(entries[i].creator) || entriesAgain[i].creator != entries[i].creator ||
        entriesAgain[i].type != entries[i].type || entriesAgain[i].name != entries[i].name ||
        entriesAgain[i].directory != entries[i].directory ||
        entriesAgain[i].title != entries[i].title) {
      __builtin_trap();
    }
  }

  // A new user's line keeps the file in front of it, and every user read before.
  const std::string appended = AppendUserLine(text, UserEntry{1, "fuzz", "Fuzz"});
  if (appended.compare(0, text.size(), text) != 0) __builtin_trap();
  const auto usersAfter = ParseUsersFile(appended);
  if (usersAfter.size() < users.size()) __builtin_trap();
  for (std::size_t i = 0; i < users.size(); ++i) {
    if (usersAfter[i].id != users[i].id || usersAfter[i].name != users[i].name ||
        usersAfter[i].folder != users[i].folder) {
      __builtin_trap();
    }
  }

  // Adding, setting and removing STRM's section changes STRM's entry alone.
  const auto others = Others(text);
  const ConduitEntry* strumlet = Strumlet(entries);
  std::string changed(text);
  if (!strumlet) {
    changed = AppendRegistrySection(changed, ConduitEntry{"STRM", 0, "n", "d", "t"});
  }
  if (!SetRegistryValue(changed, "STRM", "title", "Fuzz Title")) __builtin_trap();
  const auto entriesSet = ParseConduitRegistry(changed);
  const ConduitEntry* set = Strumlet(entriesSet);
  if (!set || set->title != "Fuzz Title" || !SameEntries(Others(changed), others)) {
    __builtin_trap();
  }
  if (!strumlet && (set->name != "n" || set->directory != "d")) __builtin_trap();
  if (!RemoveRegistrySections(changed, "STRM")) __builtin_trap();
  if (Strumlet(ParseConduitRegistry(changed)) || !SameEntries(Others(changed), others)) {
    __builtin_trap();
  }

  if (const auto user = ParseJPilotUser(text); user && !IsValidUserName(*user)) __builtin_trap();
  return 0;
}
