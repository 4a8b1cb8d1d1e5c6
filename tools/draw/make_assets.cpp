// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the diagram brush and the six finger glyphs into a folder:
//   strumlet-make-assets OUTDIR
// The committed images under res/ were made with it; run it again after changing a picture.
#include <gd.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr int kGlyph = 14;

// 5 x 7 digits, drawn in white inside the dot.
constexpr std::array<std::array<const char*, 7>, 5> kDigits = {{
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
}};

bool WritePng(gdImagePtr image, const std::string& path) {
  int size = 0;
  void* data = gdImagePngPtr(image, &size);
  if (!data) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file && std::fwrite(data, 1, size, file) == static_cast<std::size_t>(size);
  if (file && std::fclose(file) != 0) ok = false;
  gdFree(data);
  if (!ok) std::fprintf(stderr, "could not write %s\n", path.c_str());
  return ok;
}

// A filled black dot centred on pixel (7, 7), which lands on the string and the fret space
// centre when pasted at (x - 7, y - 7). The corners are transparent so the grid lines around
// the dot stay visible.
gdImagePtr Dot() {
  gdImagePtr image = gdImageCreate(kGlyph, kGlyph);
  const int clear = gdImageColorAllocate(image, 255, 255, 255);
  const int black = gdImageColorAllocate(image, 0, 0, 0);
  gdImageColorTransparent(image, clear);
  gdImageFilledEllipse(image, 7, 7, 13, 13, black);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  bool ok = true;

  // The brush: a 3 x 3 black square, so every grid line is three pixels wide.
  gdImagePtr brush = gdImageCreate(3, 3);
  gdImageColorAllocate(brush, 0, 0, 0);
  ok &= WritePng(brush, folder + "width3black.png");
  gdImageDestroy(brush);

  gdImagePtr plain = Dot();
  ok &= WritePng(plain, folder + "0.png");
  gdImageDestroy(plain);

  for (int digit = 1; digit <= 5; ++digit) {
    gdImagePtr image = Dot();
    // Its own white entry: the background white is the transparent one.
    const int white = gdImageColorAllocate(image, 255, 255, 255);
    const auto& rows = kDigits[digit - 1];
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 5; ++x) {
        if (rows[y][x] == '#') gdImageSetPixel(image, 5 + x, 4 + y, white);
      }
    }
    ok &= WritePng(image, folder + std::to_string(digit) + ".png");
    gdImageDestroy(image);
  }
  return ok ? 0 : 1;
}
