// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LockKeys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace strumlet {

LockKeyState ReadLockKeys() {
  LockKeyState state;
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->display() == nullptr) {
    return state;
  }
  unsigned int indicators = 0;
  if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &indicators) != Success) {
    return state;
  }
  // The core keyboard's first three indicators: Caps Lock, Num Lock, Scroll Lock.
  state.caps = (indicators & 0x1) != 0;
  state.num = (indicators & 0x2) != 0;
  state.scroll = (indicators & 0x4) != 0;
  return state;
}

}  // namespace strumlet
