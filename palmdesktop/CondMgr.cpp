// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// CondMgr.dll: the Conduit Manager, keeper of the conduit registry in the core folder.

#include <cerrno>

#include "Export.h"
#include "PalmHome.h"
#include "strumlet/core/FileSystem.h"

using namespace strumlet::palmdesktop;
using strumlet::MakeFolders;
namespace palm = strumlet::palm;

namespace {

// The conduit types we know: an application conduit and a system conduit.
bool IsValidType(int32_t type) {
  return type == palm::kApplicationConduit || type == palm::kSystemConduit;
}

std::string CorePath(const std::string& home) { return home + "/core"; }

// Runs `change` on the registry's text under the Palm Desktop folder's lock and puts the result
// in place in one replacement. `change` returns palm::kOk to have the text written, or a code to
// give back with the registry untouched. It edits only its creator's section, so the other
// sections, keys we do not know and comments stay as they are.
template <class Change>
int32_t ChangeRegistry(int32_t writeFailure, Change change) {
  const std::string home = PalmHome();
  if (home.empty() || !MakeFolders(CorePath(home))) return palm::kRegistryUnavailable;
  FileLock lock(home + "/.lock");
  if (!lock.Held()) return palm::kRegistryUnavailable;
  const std::string file = CorePath(home) + "/conduits";
  std::string text;
  if (const int error = ReadWholeFile(file, text, 1 << 20); error == ENOENT) {
    text = FormatConduitRegistry({});
  } else if (error != 0) {
    return palm::kRegistryUnavailable;  // there but not readable whole: never replace what we could
                                        // not read
  }
  if (const int32_t code = change(text)) return code;
  return ReplaceFile(file, text) ? palm::kOk : writeFailure;
}

bool IsRegistered(const std::string& text, const char* creator) {
  for (const auto& entry : ParseConduitRegistry(text)) {
    if (entry.creator == creator) return true;
  }
  return false;
}

int32_t SetValue(const char* creator, const char* value, const char* key) {
  if (!creator || !value) return palm::kInvalidPointer;
  if (!IsValidCreator(creator)) return palm::kInvalidCreator;
  if (!IsValidRegistryValue(value)) return palm::kValueNotSet;
  return ChangeRegistry(palm::kValueNotSet, [&](std::string& text) -> int32_t {
    return SetRegistryValue(text, creator, key, value) ? palm::kOk : palm::kConduitNotFound;
  });
}

}  // namespace

PALM_EXPORT int32_t CmGetCorePath(char* buffer, int32_t* size) {
  if (!buffer || !size) return palm::kInvalidPointer;
  const std::string home = PalmHome();
  if (home.empty() || !MakeFolders(CorePath(home))) {
    PutText("", buffer, size);
    return palm::kRegistryUnavailable;
  }
  return PutText(CorePath(home), buffer, size) ? palm::kOk : palm::kConduitBufferTooSmall;
}

PALM_EXPORT int32_t CmInstallCreator(const char* creator, int32_t type) {
  if (!creator) return palm::kInvalidPointer;
  if (!IsValidCreator(creator)) return palm::kInvalidCreator;
  if (!IsValidType(type)) return palm::kInvalidConduitType;
  return ChangeRegistry(palm::kConduitNotInstalled, [&](std::string& text) -> int32_t {
    if (IsRegistered(text, creator)) return palm::kCreatorInUse;
    text = AppendRegistrySection(text, ConduitEntry{creator, type, {}, {}, {}});
    return palm::kOk;
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
  if (!creator) return palm::kInvalidPointer;
  if (!IsValidCreator(creator)) return palm::kInvalidCreator;
  return ChangeRegistry(palm::kConduitNotDeleted, [&](std::string& text) -> int32_t {
    return RemoveRegistrySections(text, creator) ? palm::kOk : palm::kConduitNotFound;
  });
}

PALM_CHECK_SIGNATURE(CmGetCorePath);
PALM_CHECK_SIGNATURE(CmInstallCreator);
PALM_CHECK_SIGNATURE(CmSetCreatorName);
PALM_CHECK_SIGNATURE(CmSetCreatorDirectory);
PALM_CHECK_SIGNATURE(CmSetCreatorTitle);
PALM_CHECK_SIGNATURE(CmRemoveConduitByCreatorID);
