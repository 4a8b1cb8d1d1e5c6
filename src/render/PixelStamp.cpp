// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PixelStamp.h"

#include <array>

namespace strumlet {

void PixelStamp::Record(gdImagePtr scratch, int background, int originX, int originY) {
  std::array<int, gdMaxColors> slots;
  slots.fill(-1);
  for (int y = 0; y < gdImageSY(scratch); ++y) {
    for (int x = 0; x < gdImageSX(scratch); ++x) {
      const int index = gdImagePalettePixel(scratch, x, y);
      if (index == background || index < 0 || index >= gdMaxColors) continue;
      if (slots[index] < 0) {
        slots[index] = static_cast<int>(colours.size());
        colours.push_back({gdImageRed(scratch, index), gdImageGreen(scratch, index),
                           gdImageBlue(scratch, index), gdImageAlpha(scratch, index)});
      }
      pixels.push_back({static_cast<int16_t>(x - originX), static_cast<int16_t>(y - originY),
                        static_cast<uint8_t>(slots[index])});
    }
  }
}

void DrawPixelStamp(gdImagePtr image, const PixelStamp& stamp, int x, int y) {
  if (stamp.pixels.empty() || gdImageTrueColor(image)) return;
  std::array<int, gdMaxColors> indexes{};
  for (std::size_t k = 0; k < stamp.colours.size() && k < indexes.size(); ++k) {
    const auto& c = stamp.colours[k];
    indexes[k] = gdImageColorResolveAlpha(image, c.red, c.green, c.blue, c.alpha);
  }
  const int width = gdImageSX(image), height = gdImageSY(image);
  for (const auto& p : stamp.pixels) {
    const int px = x + p.dx, py = y + p.dy;
    if (px >= 0 && py >= 0 && px < width && py < height) {
      image->pixels[py][px] = static_cast<unsigned char>(indexes[p.colour]);
    }
  }
}

}  // namespace strumlet
