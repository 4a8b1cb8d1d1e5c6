// CondMgr.dll: the Conduit Manager, keeper of the conduit registry in the core folder.

#include <cerrno>

#include "Export.h"
#include "PalmHome.h"

using namespace strumlet::palmdesktop;

namespace {

// The conduit types we know: 0 an application conduit, 1 a system conduit.
bool IsValidType(int32_t type) { return type == 0 || type == 1; }

std::string CorePath(const std::string& home) { return home + "/core"; }

// Runs `change` on the registry's text under the Palm Desktop folder's lock and puts the result
// in place in one replacement. `change` returns 0 to have the text written, or a code to give
// back with the registry untouched. It edits only its creator's section, so the other
// sections, keys we do not know and comments stay as they are.
template <class Change>
int32_t ChangeRegistry(int32_t writeFailure, Change change) {
  const std::string home = PalmHome();
  if (home.empty() || !MakeFolders(CorePath(home))) return -1006;
  FileLock lock(home + "/.lock");
  if (!lock.Held()) return -1006;
  const std::string file = CorePath(home) + "/conduits";
  std::string text;
  if (const int error = ReadWholeFile(file, text, 1 << 20); error == ENOENT) {
    text = FormatConduitRegistry({});
  } else if (error != 0) {
    return -1006;  // there but not readable whole: never replace what we could not read
  }
  if (const int32_t code = change(text)) return code;
  return ReplaceFile(file, text) ? 0 : writeFailure;
}

bool IsRegistered(const std::string& text, const char* creator) {
  for (const auto& entry : ParseConduitRegistry(text)) {
    if (entry.creator == creator) return true;
  }
  return false;
}

int32_t SetValue(const char* creator, const char* value, const char* key) {
  if (!creator || !value) return -1013;
  if (!IsValidCreator(creator)) return -1012;
  if (!IsValidRegistryValue(value)) return -1008;
  return ChangeRegistry(-1008, [&](std::string& text) -> int32_t {
    return SetRegistryValue(text, creator, key, value) ? 0 : -1003;
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
  return ChangeRegistry(-1007, [&](std::string& text) -> int32_t {
    if (IsRegistered(text, creator)) return -1005;
    text = AppendRegistrySection(text, ConduitEntry{creator, type, {}, {}, {}});
    return 0;
  });
}

PALM_EXPORT int32_t CmSetCreatorName(const char* creator, const char* name) {
  return SetValue(creator, name, "name");
}

PALM_EXPORT int32_t CmSetCreatorDirectory(const char* creator, const char* directory) {
  return SetValue(creator, directory, "directory");
}

PALM_EXPORT int32_t CmSetCreatorTitle(const char* creator, const char* title) {
  return SetValue(creator, title, "title");
}

PALM_EXPORT int32_t CmRemoveConduitByCreatorID(const char* creator) {
  if (!creator) return -1013;
  if (!IsValidCreator(creator)) return -1012;
  return ChangeRegistry(-1002, [&](std::string& text) -> int32_t {
    return RemoveRegistrySections(text, creator) ? 0 : -1003;
  });
}

PALM_CHECK_SIGNATURE(CmGetCorePath);
PALM_CHECK_SIGNATURE(CmInstallCreator);
PALM_CHECK_SIGNATURE(CmSetCreatorName);
PALM_CHECK_SIGNATURE(CmSetCreatorDirectory);
PALM_CHECK_SIGNATURE(CmSetCreatorTitle);
PALM_CHECK_SIGNATURE(CmRemoveConduitByCreatorID);
