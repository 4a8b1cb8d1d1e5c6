// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace strumlet {

struct LockKeyState {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The keyboard's lock indicators; all off where the display cannot tell (Wayland, offscreen).
LockKeyState ReadLockKeys();

}  // namespace strumlet
