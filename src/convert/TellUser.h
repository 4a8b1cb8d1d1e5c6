// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/core/Messenger.h"

namespace strumlet {

// The one place the conversion driver tells the user anything. The layers below hand back what
// went wrong; the driver puts it into words here as it happens, since a folder run goes on
// after a failure and tells each one in its turn. On the thread that started the open.
void TellUser(const std::string& caption, const std::string& text, MessageIcon icon);
// Under the application's title (empty caption) with the exclamation mark, under any other
// caption plain, as the framework shows a message with no icon asked for.
inline void TellUser(const std::string& caption, const std::string& text) {
  TellUser(caption, text, caption.empty() ? MessageIcon::Exclamation : MessageIcon::None);
}

}  // namespace strumlet
