// The Palm Desktop folder's users file and conduit registry, and J-Pilot's settings file, as
// our Palm Desktop libraries read them: whatever the bytes, what the readers keep must be
// valid, and writing it out and reading it again must give the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "PalmDesktopFiles.h"

using namespace strumlet::palmdesktop;

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

  if (const auto user = ParseJPilotUser(text); user && !IsValidUserName(*user)) __builtin_trap();
  return 0;
}
