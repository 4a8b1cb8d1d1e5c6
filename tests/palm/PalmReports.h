// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strumlet/core/Messenger.h"
#include "strumlet/palm/PalmInstaller.h"

namespace strumlet::testing {

// A Palm command as the front ends run it: its messages shown through the messenger, its
// result handed back.
template <class T>
T Told(const PalmReport<T>& report) {
  for (const PalmMessage& message : report.messages) {
    ShowMessage(message.caption, message.text, message.icon);
  }
  return report.result;
}

}  // namespace strumlet::testing
