// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/DebugTiming.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace strumlet {

bool DebugTimingEnabled() {
  static const bool enabled = [] {
    const char* value = std::getenv("STRUMLET_TIMING");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return enabled;
}

void DebugTiming(const char* event) {
  if (!DebugTimingEnabled()) {
    return;
  }
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  std::fprintf(stderr, "strumletviewer-timing: %s %lld\n", event, static_cast<long long>(now));
  std::fflush(stderr);
}

}  // namespace strumlet
