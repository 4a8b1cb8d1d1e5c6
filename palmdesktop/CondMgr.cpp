// CondMgr.dll: the Conduit Manager, keeper of the conduit registry in the core folder.

#include <unistd.h>

#include "Export.h"
#include "PalmHome.h"

using namespace strumlet::palmdesktop;

namespace {

// The conduit types we know: 0 an application conduit, 1 a system conduit.
bool IsValidType(int32_t type) { return type == 0 || type == 1; }

std::string CorePath(const std::string& home) { return home + "/core"; }

// Runs `change` on the registry under the Palm Desktop folder's lock and writes the result.
// `change` returns 0 to have the registry written, or a code to give back untouched.
template <class Change>
int32_t ChangeRegistry(int32_t writeFailure, Change change) {
  const std::string home = PalmHome();
  if (home.empty() || !MakeFolders(CorePath(home))) return -1006;
  FileLock lock(home + "/.lock");
  if (!lock.Held()) return -1006;
  const std::string file = CorePath(home) + "/conduits";
  std::vector<ConduitEntry> entries;
  if (const auto text = ReadSmallFile(file)) {
    entries = ParseConduitRegistry(*text);
  } else if (access(file.c_str(), F_OK) == 0) {
    return -1006;  // there but unreadable: never replace what we could not read
  }
  if (const int32_t code = change(entries)) return code;
  return ReplaceFile(file, FormatConduitRegistry(entries)) ? 0 : writeFailure;
}

ConduitEntry* Find(std::vector<ConduitEntry>& entries, const char* creator) {
  for (auto& entry : entries) {
    if (entry.creator == creator) return &entry;
  }
  return nullptr;
}

int32_t SetValue(const char* creator, const char* value, std::string ConduitEntry::*member) {
  if (!creator || !value) return -1013;
  if (!IsValidCreator(creator)) return -1012;
  if (!IsValidRegistryValue(value)) return -1008;
  return ChangeRegistry(-1008, [&](std::vector<ConduitEntry>& entries) -> int32_t {
    ConduitEntry* entry = Find(entries, creator);
    if (!entry) return -1003;
    entry->*member = value;
    return 0;
  });
}

}  // namespace

PALM_EXPORT int32_t CmGetCorePath(char* buffer, int32_t* size) {
  if (!buffer || !size) return -1013;
  const std::string home = PalmHome();
  if (home.empty() || !MakeFolders(CorePath(home))) {
    PutText("", buffer, size);
    return -1006;
  }
  return PutText(CorePath(home), buffer, size) ? 0 : -1010;
}

PALM_EXPORT int32_t CmInstallCreator(const char* creator, int32_t type) {
  if (!creator) return -1013;
  if (!IsValidCreator(creator)) return -1012;
  if (!IsValidType(type)) return -1015;
  return ChangeRegistry(-1007, [&](std::vector<ConduitEntry>& entries) -> int32_t {
    if (Find(entries, creator)) return -1005;
    entries.push_back(ConduitEntry{creator, type, {}, {}, {}});
    return 0;
  });
}

PALM_EXPORT int32_t CmSetCreatorName(const char* creator, const char* name) {
  return SetValue(creator, name, &ConduitEntry::name);
}

PALM_EXPORT int32_t CmSetCreatorDirectory(const char* creator, const char* directory) {
  return SetValue(creator, directory, &ConduitEntry::directory);
}

PALM_EXPORT int32_t CmSetCreatorTitle(const char* creator, const char* title) {
  return SetValue(creator, title, &ConduitEntry::title);
}

PALM_EXPORT int32_t CmRemoveConduitByCreatorID(const char* creator) {
  if (!creator) return -1013;
  if (!IsValidCreator(creator)) return -1012;
  return ChangeRegistry(-1002, [&](std::vector<ConduitEntry>& entries) -> int32_t {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
      if (it->creator == creator) {
        entries.erase(it);
        return 0;
      }
    }
    return -1003;
  });
}

PALM_CHECK_SIGNATURE(CmGetCorePath);
PALM_CHECK_SIGNATURE(CmInstallCreator);
PALM_CHECK_SIGNATURE(CmSetCreatorName);
PALM_CHECK_SIGNATURE(CmSetCreatorDirectory);
PALM_CHECK_SIGNATURE(CmSetCreatorTitle);
PALM_CHECK_SIGNATURE(CmRemoveConduitByCreatorID);
