// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TellUser.h"

namespace strumlet {

void TellUser(const std::string& caption, const std::string& text, MessageIcon icon) {
  ShowMessage(caption, text, icon);
}

}  // namespace strumlet
