// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strumlet/app/ProfileStore.h"

namespace strumlet {

// The zoom of the page views, in percent: one value for every document window, kept in the
// store as "PageZoom" in the settings section.
inline constexpr int kActualPageZoom = 100;
inline constexpr int kMinPageZoom = 25;
inline constexpr int kMaxPageZoom = 500;

// The next step of the ladder Zoom In goes up (25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150,
// 175, 200, 250, 300, 400, 500) from `percent`; a value between two steps goes to the upper one.
// At the top it stays at the top.
int ZoomInFrom(int percent);
// The step below `percent`, as Zoom Out goes; stays at the bottom.
int ZoomOutFrom(int percent);

// The stored zoom; 100 when none is stored, or when the stored value is not a number or lies
// outside 25 to 500.
int ReadPageZoom(ProfileStore& store);
// Stores `percent`, held to 25 to 500.
void StorePageZoom(ProfileStore& store, int percent);

}  // namespace strumlet
