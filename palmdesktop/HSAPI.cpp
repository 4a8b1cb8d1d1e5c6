// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// HSAPI.dll: the HotSync API. On Linux the sync program is J-Pilot's (jpilot, jpilot-sync); it
// reads its install list and its settings at every sync, so a "restart" has nothing to do but
// to say whether one is running.

#include <dirent.h>

#include <cctype>

#include "Export.h"
#include "PalmHome.h"
#include "strumlet/core/Handles.h"

using namespace strumlet::palmdesktop;
namespace palm = strumlet::palm;

namespace {

bool SyncProgramRuns() {
  strumlet::FolderHandle proc(opendir("/proc"));
  if (!proc) return false;
  while (dirent* entry = readdir(proc.get())) {
    if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
    const auto name = ReadSmallFile(std::string("/proc/") + entry->d_name + "/comm", 64);
    if (name && (*name == "jpilot\n" || *name == "jpilot-sync\n")) return true;
  }
  return false;
}

}  // namespace

// Status 0 start, 1 stop, 2 restart; flags are not used.
PALM_EXPORT int32_t HsSetAppStatus(int32_t status, uint32_t /*flags*/) {
  if (status < 0 || status > palm::kRestartHotSync) return palm::kUnknownAppStatus;
  return SyncProgramRuns() ? palm::kOk : palm::kHotSyncNotRunning;
}

PALM_CHECK_SIGNATURE(HsSetAppStatus);
