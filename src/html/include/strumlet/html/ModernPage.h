// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

#include "strumlet/html/PageStream.h"

namespace strumlet {

// The markup of the pages for today's browsers: HTML5 in UTF-8 with a small inline stylesheet
// and no script. The classic pages keep their own markup; only the words (the footer's lines,
// the timestamp) are shared.

// The doctype, the head with `title` (escaped here) and the stylesheet, and the body's start.
// `framed` draws a line around each diagram. `diagramWidth`, the widest diagram at the page's
// scale in pixels, widens the grid's cells beyond their least width where it is larger (0: the
// least width); a phone's screen caps them.
void WriteModernHead(PageStream& page, std::string_view title, bool framed, int diagramWidth = 0);

// The timestamp line, led by `timestampLead` ("HTML Created: "), the footer's lines and the
// closing tags.
void WriteModernFooter(PageStream& page, const char* timestampLead);

}  // namespace strumlet
