// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The text files of the Palm Desktop folder, and J-Pilot's settings file, as our Palm Desktop
// libraries read and write them. Parsing only: no file access here, so the readers can be
// fuzzed. Every reader takes whatever bytes a file holds and skips what it cannot use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace strumlet::palmdesktop {

// The longest user name the callers can take (their buffers hold 64 bytes with the terminator).
inline constexpr std::size_t kMaxUserName = 63;
// The longest user folder name we accept (the callers' buffer holds 260 bytes).
inline constexpr std::size_t kMaxUserFolder = 200;

struct UserEntry {
  uint32_t id = 0;
  std::string folder;  // below the Palm Desktop folder; one path component
  std::string name;
};

// The users file ("users"): one user a line, "ID<TAB>FOLDER<TAB>NAME", ID a decimal number.
// Blank lines and lines starting with "#" are comments. A line that does not parse, a name or
// folder that is empty, too long or holds control characters, a folder that is not a single
// path component (or is "core", "users" or ".lock", the folder's own entries), and a second user
// with an id, name or folder already taken are skipped.
std::vector<UserEntry> ParseUsersFile(std::string_view text);
// A whole users file holding `users`, with a comment line saying what the lines hold.
std::string FormatUsersFile(const std::vector<UserEntry>& users);

// What the lines of a users file claim, whether they parse or not: the leading decimal number of
// every line that is no comment, and the text between the first two tabs of every line. A new
// user takes none of them, so a skipped line that someone mends later cannot clash with it.
struct UsersFileClaims {
  std::vector<uint32_t> ids;
  std::vector<std::string> folders;
};
UsersFileClaims ScanUsersFile(std::string_view text);
// `text` with the line of `user` added at the end; every byte of `text` stays, and a last line
// without its line feed gets one first.
std::string AppendUserLine(std::string_view text, const UserEntry& user);
bool IsValidUserName(std::string_view name);
bool IsValidUserFolder(std::string_view folder);

struct ConduitEntry {
  std::string creator;  // four printable ASCII characters
  int32_t type = 0;
  std::string name;       // the conduit's library file
  std::string directory;  // the conduit's data folder, below each user's folder
  std::string title;      // shown to the user
};

// The conduit registry ("core/conduits"): one section a creator, "[STRM]", followed by
// "type=", "name=", "directory=" and "title=" lines. "#" lines are comments; unknown keys,
// lines outside a section and a second section for the same creator are ignored.
std::vector<ConduitEntry> ParseConduitRegistry(std::string_view text);
std::string FormatConduitRegistry(const std::vector<ConduitEntry>& entries);

// Changes to the registry's text that touch one creator's sections and keep every other byte:
// other sections, keys we do not know, comments and line ends. A section runs from its "[XXXX]"
// line through its last line that is no comment; comments and blank lines after that stay.
//
// `text` with a section for `entry` (all four keys) appended. The caller makes sure the creator
// has no section yet.
std::string AppendRegistrySection(std::string_view text, const ConduitEntry& entry);
// Gives `key` the value `value` in the section of `creator` that the reader uses (the first):
// its first `key` line is rewritten and later ones dropped, or a line is added after the
// section's last one. False, `text` unchanged, when the creator has no section.
bool SetRegistryValue(std::string& text, std::string_view creator, std::string_view key,
                      std::string_view value);
// Removes every section of `creator`. False, `text` unchanged, when it has none.
bool RemoveRegistrySections(std::string& text, std::string_view creator);
bool IsValidCreator(std::string_view creator);
// A value that fits on one registry line.
bool IsValidRegistryValue(std::string_view value);

// The handheld's user name in J-Pilot's settings file ("jpilot.rc"): the rest of the first line
// whose first word is "user", without surrounding blanks. None when there is no such line, or
// its value is empty, too long or holds control characters.
std::optional<std::string> ParseJPilotUser(std::string_view text);

}  // namespace strumlet::palmdesktop
