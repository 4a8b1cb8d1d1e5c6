#pragma once

#include <array>
#include <string>
#include <vector>

#include <gd.h>

#include "render/DiagramLayout.h"

namespace strumlet {

// The brush and the six finger glyphs, loaded once per process and kept until it ends.
struct DiagramAssets {
  gdImagePtr brush = nullptr;
  std::array<gdImagePtr, kGlyphCount> glyphs{};
};

// The asset file names, in loading order: the brush, then "0.png" to "5.png".
inline constexpr std::array<const char*, 1 + kGlyphCount> kAssetFileNames = {
    "width3black.png", "0.png", "1.png", "2.png", "3.png", "4.png", "5.png"};

// Returns the loaded assets, loading them on first use (thread-safe). Each file is looked up in
// the start directory, then in the installed data folder, then (for a program of the build
// tree only) in the build tree. When one is found nowhere or does not decode, the user is told
// and the process ends with status 1.
const DiagramAssets& GetDiagramAssets();

// The folders searched after the start directory. Tests replace them before the first diagram
// so that a missing asset can be provoked.
std::vector<std::string>& AssetFallbackFolders();

}  // namespace strumlet
