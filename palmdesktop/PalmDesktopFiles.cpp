// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PalmDesktopFiles.h"

#include <charconv>
#include <unordered_set>

namespace strumlet::palmdesktop {
namespace {

// Calls `line` for every line of `text`, without its "\n" or "\r\n".
template <class Fn>
void ForEachLine(std::string_view text, Fn line) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view one = text.substr(0, end);
    if (!one.empty() && one.back() == '\r') one.remove_suffix(1);
    line(one);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool HasControl(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == '#';
}

// Where a line lies in its text, for the changes that keep every other byte.
struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;   // past its last byte, without "\r\n" or "\n"
  std::size_t next = 0;  // past its line feed; the text's size for a last line without one
};

// The lines ForEachLine gives, with their places.
std::vector<LineSpan> SplitLines(std::string_view text) {
  std::vector<LineSpan> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t feed = text.find('\n', at);
    LineSpan line{at, feed == std::string_view::npos ? text.size() : feed, 0};
    line.next = feed == std::string_view::npos ? text.size() : feed + 1;
    if (line.end > line.begin && text[line.end - 1] == '\r') --line.end;
    lines.push_back(line);
    at = line.next;
  }
  return lines;
}

std::string_view LineText(std::string_view text, const LineSpan& line) {
  return text.substr(line.begin, line.end - line.begin);
}

// A line the registry reader takes as the start of a section, whichever.
bool IsSectionLine(std::string_view line) { return !IsComment(line) && Trim(line).front() == '['; }

bool IsSectionOf(std::string_view line, std::string_view creator) {
  if (IsComment(line)) return false;
  line = Trim(line);
  return line.size() == 6 && line.front() == '[' && line.back() == ']' &&
         line.substr(1, 4) == creator;
}

struct SectionLines {
  std::size_t header = 0;
  std::size_t last = 0;  // its last line that is no comment; the header when it has none
};

// Every section of `creator`, in the order of the text.
std::vector<SectionLines> FindSections(std::string_view text, const std::vector<LineSpan>& lines,
                                       std::string_view creator) {
  std::vector<SectionLines> sections;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsSectionOf(LineText(text, lines[i]), creator)) continue;
    SectionLines section{i, i};
    for (std::size_t j = i + 1; j < lines.size(); ++j) {
      const std::string_view line = LineText(text, lines[j]);
      if (IsSectionLine(line)) break;
      if (!IsComment(line)) section.last = j;
    }
    sections.push_back(section);
    i = section.last;
  }
  return sections;
}

// The key of a "key=value" line; empty for any other line.
std::string_view KeyOf(std::string_view line) {
  if (IsComment(line)) return {};
  line = Trim(line);
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  return Trim(line.substr(0, equals));
}

// A text that goes on with a new line: its last line gets its line feed.
void EndLastLine(std::string& text) {
  if (!text.empty() && text.back() != '\n') text += '\n';
}

}  // namespace

bool IsValidUserName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxUserName && !HasControl(name);
}

bool IsValidUserFolder(std::string_view folder) {
  return !folder.empty() && folder.size() <= kMaxUserFolder && !HasControl(folder) &&
         folder.find('/') == std::string_view::npos &&
         folder.find('\\') == std::string_view::npos && folder != "." && folder != ".." &&
         folder != "core" && folder != "users" && folder != ".lock";
}

std::vector<UserEntry> ParseUsersFile(std::string_view text) {
  std::vector<UserEntry> users;
  // Views into `text`: a file of many thousands of users is checked in one pass.
  std::unordered_set<uint32_t> ids;
  std::unordered_set<std::string_view> names;
  std::unordered_set<std::string_view> folders;
  ForEachLine(text, [&](std::string_view line) {
    if (IsComment(line)) return;
    const std::size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos) return;
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos) return;
    const std::string_view idText = line.substr(0, tab1);
    UserEntry user;
    const auto [end, error] =
        std::from_chars(idText.data(), idText.data() + idText.size(), user.id);
    if (error != std::errc() || end != idText.data() + idText.size()) return;
    const std::string_view folder = line.substr(tab1 + 1, tab2 - tab1 - 1);
    const std::string_view name = line.substr(tab2 + 1);
    if (!IsValidUserFolder(folder) || !IsValidUserName(name)) return;
    if (ids.count(user.id) || names.count(name) || folders.count(folder)) return;
    ids.insert(user.id);
    names.insert(name);
    folders.insert(folder);
    user.folder = std::string(folder);
    user.name = std::string(name);
    users.push_back(std::move(user));
  });
  return users;
}

std::string FormatUsersFile(const std::vector<UserEntry>& users) {
  std::string text = "# Palm Desktop users: ID, folder and name, separated by one tab.\n";
  for (const auto& user : users) {
    text += std::to_string(user.id) + "\t" + user.folder + "\t" + user.name + "\n";
  }
  return text;
}

UsersFileClaims ScanUsersFile(std::string_view text) {
  UsersFileClaims claims;
  ForEachLine(text, [&](std::string_view line) {
    if (IsComment(line)) return;
    const std::string_view start = Trim(line);
    std::size_t digits = 0;
    while (digits < start.size() && start[digits] >= '0' && start[digits] <= '9') ++digits;
    uint32_t id = 0;
    if (digits > 0) {
      const auto [end, error] = std::from_chars(start.data(), start.data() + digits, id);
      if (error == std::errc()) claims.ids.push_back(id);
    }
    const std::size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos) return;
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    const std::string_view folder = line.substr(
        tab1 + 1, tab2 == std::string_view::npos ? std::string_view::npos : tab2 - tab1 - 1);
    if (!folder.empty()) claims.folders.emplace_back(folder);
  });
  return claims;
}

std::string AppendUserLine(std::string_view text, const UserEntry& user) {
  std::string result(text);
  EndLastLine(result);
  result += std::to_string(user.id) + "\t" + user.folder + "\t" + user.name + "\n";
  return result;
}

bool IsValidCreator(std::string_view creator) {
  if (creator.size() != 4) return false;
  for (unsigned char c : creator) {
    if (c < 0x20 || c > 0x7E || c == '[' || c == ']') return false;
  }
  return true;
}

bool IsValidRegistryValue(std::string_view value) { return !HasControl(value); }

std::vector<ConduitEntry> ParseConduitRegistry(std::string_view text) {
  std::vector<ConduitEntry> entries;
  ConduitEntry* current = nullptr;
  ForEachLine(text, [&](std::string_view line) {
    if (IsComment(line)) return;
    line = Trim(line);
    if (line.front() == '[') {
      current = nullptr;
      if (line.size() != 6 || line.back() != ']') return;
      const std::string_view creator = line.substr(1, 4);
      if (!IsValidCreator(creator)) return;
      for (const auto& entry : entries) {
        if (entry.creator == creator) return;
      }
      entries.push_back(ConduitEntry{std::string(creator), 0, {}, {}, {}});
      current = &entries.back();
      return;
    }
    if (!current) return;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (!IsValidRegistryValue(value)) return;
    if (key == "type") {
      int32_t type = 0;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), type);
      if (error == std::errc() && end == value.data() + value.size()) current->type = type;
    } else if (key == "name") {
      current->name = value;
    } else if (key == "directory") {
      current->directory = value;
    } else if (key == "title") {
      current->title = value;
    }
  });
  return entries;
}

namespace {

// One creator's section: its heading and its four keys.
std::string RegistrySection(const ConduitEntry& entry) {
  return "[" + entry.creator + "]\ntype=" + std::to_string(entry.type) + "\nname=" + entry.name +
         "\ndirectory=" + entry.directory + "\ntitle=" + entry.title + "\n";
}

}  // namespace

std::string FormatConduitRegistry(const std::vector<ConduitEntry>& entries) {
  std::string text = "# Conduits registered with the Palm Desktop folder, one section a creator.\n";
  for (const auto& entry : entries) text += "\n" + RegistrySection(entry);
  return text;
}

std::string AppendRegistrySection(std::string_view text, const ConduitEntry& entry) {
  // No blank line before it: removing the section then gives back the very text it was added
  // to.
  std::string result(text);
  EndLastLine(result);
  return result + RegistrySection(entry);
}

bool SetRegistryValue(std::string& text, std::string_view creator, std::string_view key,
                      std::string_view value) {
  if (!IsValidCreator(creator) || key.empty()) return false;
  const std::vector<LineSpan> lines = SplitLines(text);
  const std::vector<SectionLines> sections = FindSections(text, lines, creator);
  if (sections.empty()) return false;
  const SectionLines& section = sections.front();
  std::vector<std::size_t> keyLines;
  for (std::size_t i = section.header + 1; i <= section.last; ++i) {
    if (KeyOf(LineText(text, lines[i])) == key) keyLines.push_back(i);
  }
  const std::string setting = std::string(key) + "=" + std::string(value);
  if (keyLines.empty()) {
    const LineSpan& last = lines[section.last];
    const bool unended = last.next == text.size() && text.back() != '\n';
    text.insert(last.next, (unended ? "\n" : "") + setting + "\n");
    return true;
  }
  // From the back, so the places in front stay right.
  for (std::size_t k = keyLines.size(); k-- > 1;) {
    const LineSpan& line = lines[keyLines[k]];
    text.erase(line.begin, line.next - line.begin);
  }
  const LineSpan& first = lines[keyLines.front()];
  text.replace(first.begin, first.end - first.begin, setting);
  return true;
}

bool RemoveRegistrySections(std::string& text, std::string_view creator) {
  if (!IsValidCreator(creator)) return false;
  const std::vector<LineSpan> lines = SplitLines(text);
  const std::vector<SectionLines> sections = FindSections(text, lines, creator);
  for (std::size_t k = sections.size(); k-- > 0;) {
    const std::size_t begin = lines[sections[k].header].begin;
    text.erase(begin, lines[sections[k].last].next - begin);
  }
  return !sections.empty();
}

std::optional<std::string> ParseJPilotUser(std::string_view text) {
  std::optional<std::string> user;
  ForEachLine(text, [&](std::string_view line) {
    if (user) return;
    const std::string_view trimmed = Trim(line);
    if (trimmed.substr(0, 4) != "user") return;
    const std::string_view rest = trimmed.substr(4);
    if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') return;
    const std::string_view value = Trim(rest);
    // The first "user" line decides, even when it names no one usable.
    user = IsValidUserName(value) ? std::string(value) : std::string();
  });
  if (user && user->empty()) return std::nullopt;
  return user;
}

}  // namespace strumlet::palmdesktop
