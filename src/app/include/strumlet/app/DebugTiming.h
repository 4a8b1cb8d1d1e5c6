#pragma once

namespace strumlet {

// A hidden hook for the start-up and conversion figures: with STRUMLET_TIMING=1 in the
// environment, prints "strumletviewer-timing: EVENT MILLISECONDS" (wall clock since the epoch)
// on standard error. Events: "start", "open-accepted", "open-start", "open-end", "page-shown"
// (the page's first chord is drawn), "page-loaded" (every image in).
void DebugTiming(const char* event);

// Whether the hook is on.
bool DebugTimingEnabled();

}  // namespace strumlet
