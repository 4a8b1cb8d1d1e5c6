// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace strumlet {

// `text` made safe to print on a terminal: control characters (C0 but the tab, and the line feed
// when `keepLineFeeds`; DEL; C1, encoded as UTF-8) and bytes that are not UTF-8 are written as
// \xNN, so that a file or user name cannot move the cursor, clear the screen or retitle the
// window. Everything else is kept byte for byte, a backslash too.
std::string TerminalText(std::string_view text, bool keepLineFeeds = true);

// Prints `line` and a line end on standard output. On a terminal `line` is escaped as by
// TerminalText, a line feed too, so that each printed name stays one line; to a pipe or a file
// it goes byte for byte. A write error is kept for FinishStandardOutput.
void PrintOutputLine(std::string_view line);

// Flushes and closes standard output at the end of `program`. When anything written to it was
// lost, says so on standard error and returns 1, or `status` when that is worse.
int FinishStandardOutput(const char* program, int status);

}  // namespace strumlet
