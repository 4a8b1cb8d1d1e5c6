// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include <gd.h>

namespace strumlet {

// The pixels a libgd drawing call set, recorded once on a scratch image so that later diagrams
// can put exactly the same pixels down without repeating the call.
struct PixelStamp {
  struct Colour {
    int red, green, blue, alpha;
  };
  struct Pixel {
    int16_t dx, dy;  // from the stamp's origin
    uint8_t colour;  // index into colours
  };
  std::vector<Colour> colours;
  std::vector<Pixel> pixels;

  // Records every pixel of `scratch` whose palette index is not `background`, relative to
  // (originX, originY).
  void Record(gdImagePtr scratch, int background, int originX, int originY);
};

// Puts `stamp` onto a palette image with its origin at (x, y), clipped to the image. Pixels
// replace what is there, as libgd's palette drawing does.
void DrawPixelStamp(gdImagePtr image, const PixelStamp& stamp, int x, int y);

}  // namespace strumlet
