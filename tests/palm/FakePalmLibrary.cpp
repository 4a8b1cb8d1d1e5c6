// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A stand-in for any of the four Palm Desktop libraries, scripted by environment variables, so
// the callers' every branch can be reached: each entry point logs its call to $FAKE_PALM_LOG and
// returns what the test asked for. Built once whole and once without each entry point
// (WITHOUT_<name>).
//
//   FAKE_<entry>      the result of every call, or "KEY=RESULT,..." per user index, id or name
//   FAKE_USERS        comma-separated user names (ids are index + 1)
//   FAKE_BAD_IDS      comma-separated user ids whose UmGetUserID fails
//   FAKE_ROOT, FAKE_CORE, FAKE_FOLDER   texts the calls hand back

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "strumlet/palm/PalmEntryPoints.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// The scripted result of `entry` for `key`, else `fallback`.
int32_t Result(const char* entry, const std::string& key, int32_t fallback) {
  const std::string script = Env((std::string("FAKE_") + entry).c_str());
  if (script.empty()) return fallback;
  if (script.find('=') == std::string::npos) return std::atoi(script.c_str());
  for (const auto& part : Split(script)) {
    const std::size_t eq = part.find('=');
    if (part.substr(0, eq) == key) return std::atoi(part.c_str() + eq + 1);
  }
  return fallback;
}

void Log(const std::string& line) {
  const std::string path = Env("FAKE_PALM_LOG");
  if (path.empty()) return;
  if (std::FILE* file = std::fopen(path.c_str(), "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

void Put(const std::string& text, char* buffer, int32_t size) {
  std::snprintf(buffer, static_cast<std::size_t>(size), "%s", text.c_str());
}

std::vector<std::string> Users() { return Split(Env("FAKE_USERS")); }

}  // namespace

#ifndef WITHOUT_UmGetRootDirectory
FAKE_EXPORT int32_t UmGetRootDirectory(char* buffer, int32_t* size) {
  Log("UmGetRootDirectory " + std::to_string(*size));
  Put(Env("FAKE_ROOT"), buffer, *size);
  return Result("UmGetRootDirectory", "", 1);
}
#endif

#ifndef WITHOUT_UmGetUserCount
FAKE_EXPORT int32_t UmGetUserCount(void) {
  return Result("UmGetUserCount", "", static_cast<int32_t>(Users().size()));
}
#endif

#ifndef WITHOUT_UmGetUserID
FAKE_EXPORT int32_t UmGetUserID(int32_t index, uint32_t* id) {
  *id = static_cast<uint32_t>(index + 1);
  for (const auto& bad : Split(Env("FAKE_BAD_IDS"))) {
    if (bad == std::to_string(index + 1)) return 1;
  }
  return 0;
}
#endif

#ifndef WITHOUT_UmGetUserName
FAKE_EXPORT int32_t UmGetUserName(uint32_t id, char* buffer, int32_t* size) {
  Log("UmGetUserName " + std::to_string(id) + " " + std::to_string(*size));
  const auto users = Users();
  if (id >= 1 && id <= users.size()) Put(users[id - 1], buffer, *size);
  return Result("UmGetUserName", std::to_string(id), 1);
}
#endif

#ifndef WITHOUT_UmGetIDFromName
FAKE_EXPORT int32_t UmGetIDFromName(const char* name, uint32_t* id) {
  Log(std::string("UmGetIDFromName ") + name + " " + std::to_string(*id));
  const auto users = Users();
  for (std::size_t i = 0; i < users.size(); ++i) {
    if (users[i] == name) *id = static_cast<uint32_t>(i + 1);
  }
  return Result("UmGetIDFromName", name, 0);
}
#endif

#ifndef WITHOUT_UmGetUserDirectory
FAKE_EXPORT int32_t UmGetUserDirectory(uint32_t id, char* buffer, int32_t* size) {
  Log("UmGetUserDirectory " + std::to_string(id) + " " + std::to_string(*size));
  const int32_t result = Result("UmGetUserDirectory", std::to_string(id), 0);
  if (result == 0)
    Put(Env("FAKE_FOLDER").empty() ? "Folder" + std::to_string(id) : Env("FAKE_FOLDER"), buffer,
        *size);
  return result;
}
#endif

#ifndef WITHOUT_PltGetUserCount
FAKE_EXPORT int32_t PltGetUserCount(void) {
  return Result("PltGetUserCount", "", static_cast<int32_t>(Users().size()));
}
#endif

#ifndef WITHOUT_PltGetUser
FAKE_EXPORT int32_t PltGetUser(int32_t index, char* buffer, int32_t* size) {
  Log("PltGetUser " + std::to_string(index) + " " + std::to_string(*size));
  const auto users = Users();
  if (index >= 0 && static_cast<std::size_t>(index) < users.size()) {
    Put(users[static_cast<std::size_t>(index)], buffer, *size);
  }
  return Result("PltGetUser", std::to_string(index), 1);
}
#endif

#ifndef WITHOUT_PltInstallFile
FAKE_EXPORT int32_t PltInstallFile(const char* name, const char* path) {
  Log(std::string("PltInstallFile ") + name + " " + path);
  return Result("PltInstallFile", name, 0);
}
#endif

#ifndef WITHOUT_CmGetCorePath
FAKE_EXPORT int32_t CmGetCorePath(char* buffer, int32_t* size) {
  Log("CmGetCorePath " + std::to_string(*size));
  Put(Env("FAKE_CORE"), buffer, *size);
  return Result("CmGetCorePath", "", 0);
}
#endif

#ifndef WITHOUT_CmInstallCreator
FAKE_EXPORT int32_t CmInstallCreator(const char* creator, int32_t type) {
  Log(std::string("CmInstallCreator ") + creator + " " + std::to_string(type));
  return Result("CmInstallCreator", "", 0);
}
#endif

#define FAKE_SETTER(name)                                            \
  FAKE_EXPORT int32_t name(const char* creator, const char* value) { \
    Log(std::string(#name " ") + creator + " " + value);             \
    return Result(#name, "", 0);                                     \
  }
#ifndef WITHOUT_CmSetCreatorName
FAKE_SETTER(CmSetCreatorName)
#endif
#ifndef WITHOUT_CmSetCreatorDirectory
FAKE_SETTER(CmSetCreatorDirectory)
#endif
#ifndef WITHOUT_CmSetCreatorTitle
FAKE_SETTER(CmSetCreatorTitle)
#endif

#ifndef WITHOUT_CmRemoveConduitByCreatorID
FAKE_EXPORT int32_t CmRemoveConduitByCreatorID(const char* creator) {
  Log(std::string("CmRemoveConduitByCreatorID ") + creator);
  return Result("CmRemoveConduitByCreatorID", "", 0);
}
#endif

#ifndef WITHOUT_HsSetAppStatus
FAKE_EXPORT int32_t HsSetAppStatus(int32_t status, uint32_t flags) {
  Log("HsSetAppStatus " + std::to_string(status) + " " + std::to_string(flags));
  return Result("HsSetAppStatus", "", 0);
}
#endif
