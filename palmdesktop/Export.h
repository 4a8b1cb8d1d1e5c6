// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Our Palm Desktop libraries export only their C entry points; everything else stays hidden,
// so two of them loaded into one process never share a helper by accident.
#define PALM_EXPORT extern "C" __attribute__((visibility("default")))

// Checks at compile time that an entry point has the signature its callers use.
#define PALM_CHECK_SIGNATURE(name)                               \
  static_assert(std::is_same_v<decltype(&name), name##Fn>, #name \
                " differs from its callers' "                    \
                "type")

#include <type_traits>

#include "strumlet/palm/PalmEntryPoints.h"
