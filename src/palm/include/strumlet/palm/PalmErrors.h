// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace strumlet {

// The text the user is shown for a Palm result code: the system's own step codes (1 to 15),
// the Install Aide's and the Conduit Manager's negative codes and the HotSync API's codes from
// 0x10000001. Exact matches only; every other code gives "Unknown CMainFrame error.". Several
// texts end in a line feed, as they always have. The text is UTF-8 (the right single quotation
// mark of palm::kAlreadyQueued is U+2019). Callers show it as "Error: " followed by the text.
std::string GetErrorText(int32_t code);

}  // namespace strumlet
