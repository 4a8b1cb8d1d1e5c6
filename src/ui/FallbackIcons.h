// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

namespace strumlet {

enum class FallbackIcon { Print, Cut, Copy, Paste };

// Our own picture for a tool-bar command, used when the desktop theme has none.
QIcon DrawFallbackIcon(FallbackIcon kind);

}  // namespace strumlet
