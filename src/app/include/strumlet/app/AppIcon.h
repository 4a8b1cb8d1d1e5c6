// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

namespace strumlet {

// The program's own picture: the window icon when the desktop theme has none, and the About
// box's picture.
QIcon ApplicationIcon();

}  // namespace strumlet
