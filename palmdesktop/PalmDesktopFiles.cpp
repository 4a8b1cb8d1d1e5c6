#include "PalmDesktopFiles.h"

#include <charconv>

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

}  // namespace

bool IsValidUserName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxUserName && !HasControl(name);
}

bool IsValidUserFolder(std::string_view folder) {
  return !folder.empty() && folder.size() <= kMaxUserFolder && !HasControl(folder) &&
         folder.find('/') == std::string_view::npos &&
         folder.find('\\') == std::string_view::npos && folder != "." && folder != ".." &&
         folder != "core";
}

std::vector<UserEntry> ParseUsersFile(std::string_view text) {
  std::vector<UserEntry> users;
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
    user.folder = std::string(line.substr(tab1 + 1, tab2 - tab1 - 1));
    user.name = std::string(line.substr(tab2 + 1));
    if (!IsValidUserFolder(user.folder) || !IsValidUserName(user.name)) return;
    for (const auto& other : users) {
      if (other.id == user.id || other.name == user.name || other.folder == user.folder) return;
    }
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

std::string FormatConduitRegistry(const std::vector<ConduitEntry>& entries) {
  std::string text = "# Conduits registered with the Palm Desktop folder, one section a creator.\n";
  for (const auto& entry : entries) {
    text += "\n[" + entry.creator + "]\n";
    text += "type=" + std::to_string(entry.type) + "\n";
    text += "name=" + entry.name + "\n";
    text += "directory=" + entry.directory + "\n";
    text += "title=" + entry.title + "\n";
  }
  return text;
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
