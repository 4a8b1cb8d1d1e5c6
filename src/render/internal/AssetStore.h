// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <vector>

#include <gd.h>

#include "strumlet/render/DiagramLayout.h"

namespace strumlet {

// The brush and the six finger glyphs, loaded once per process and kept until it ends.
struct DiagramAssets {
  gdImagePtr brush = nullptr;
  std::array<gdImagePtr, kGlyphCount> glyphs{};
};

// The asset file names, in loading order: the brush, then "0.png" to "5.png".
inline constexpr std::array<const char*, 1 + kGlyphCount> kAssetFileNames = {
    "width3black.png", "0.png", "1.png", "2.png", "3.png", "4.png", "5.png"};

// The loaded assets, loading them first if need be (thread-safe); null when one of them could
// not be loaded. Says nothing: LoadDiagramAssets tells the caller which file failed.
const DiagramAssets* GetDiagramAssets();

// The folders searched after the start directory. Tests replace them before the first diagram
// so that a missing asset can be provoked.
std::vector<std::string>& AssetFallbackFolders();

}  // namespace strumlet
