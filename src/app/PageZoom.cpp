// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/PageZoom.h"

#include <algorithm>
#include <array>
#include <climits>

#include "strumlet/app/SettingsStore.h"

namespace strumlet {
namespace {

constexpr const char* kPageZoom = "PageZoom";

constexpr std::array<int, 17> kSteps = {25,  33,  50,  67,  75,  80,  90,  100, 110,
                                        125, 150, 175, 200, 250, 300, 400, 500};

static_assert(kSteps.front() == kMinPageZoom && kSteps.back() == kMaxPageZoom);

bool InRange(int percent) { return percent >= kMinPageZoom && percent <= kMaxPageZoom; }

}  // namespace

int ZoomInFrom(int percent) {
  const auto above = std::upper_bound(kSteps.begin(), kSteps.end(), percent);
  return above == kSteps.end() ? kMaxPageZoom : *above;
}

int ZoomOutFrom(int percent) {
  const auto atOrAbove = std::lower_bound(kSteps.begin(), kSteps.end(), percent);
  return atOrAbove == kSteps.begin() ? kMinPageZoom : *(atOrAbove - 1);
}

int ReadPageZoom(ProfileStore& store) {
  // INT_MIN stands for "none or not a number": the store gives the default for both.
  const int stored = store.GetProfileInt(kSettingsSection, kPageZoom, INT_MIN);
  return InRange(stored) ? stored : kActualPageZoom;
}

void StorePageZoom(ProfileStore& store, int percent) {
  store.WriteProfileInt(kSettingsSection, kPageZoom,
                        std::clamp(percent, kMinPageZoom, kMaxPageZoom));
}

}  // namespace strumlet
