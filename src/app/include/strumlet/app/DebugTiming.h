// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace strumlet {

// A hidden hook for the start-up and conversion figures: with STRUMLET_TIMING=1 in the
// environment, prints "strumletviewer-timing: EVENT MILLISECONDS" (wall clock since the epoch)
// on standard error. Events: "start", "open-accepted", "open-start", "open-end", "page-shown"
// (the page's first chord is drawn), "page-loaded" (the page's load ends), then for a generated
// page "middle-shown" and "end-shown" (scrolled there, every image in view is in), a line
// "strumletviewer-images: N in, N failed, N not asked for", and "tour-done".
void DebugTiming(const char* event);

// Whether the hook is on.
bool DebugTimingEnabled();

}  // namespace strumlet
