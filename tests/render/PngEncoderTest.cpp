// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PngEncoder.h"

#include <gd.h>
#include <gtest/gtest.h>

#include <string>

#include "GdImage.h"

namespace strumlet {
namespace {

// An image of `colours` palette colours whose pixels walk through every index, with a width
// that leaves a partly filled last byte at every depth.
GdImageHandle Striped(int colours, int width = 13, int height = 7) {
  GdImageHandle image(gdImageCreate(width, height));
  for (int i = 0; i < colours; ++i) gdImageColorAllocate(image.get(), i, 255 - i, (i * 37) % 256);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) gdImageSetPixel(image.get(), x, y, (x * 3 + y) % colours);
  }
  return image;
}

// Read back by libgd (and so by libpng): same size, same colour at every pixel.
void ExpectSamePixels(const gdImageStruct& original, const std::string& png) {
  GdImageHandle decoded(
      gdImageCreateFromPngPtr(static_cast<int>(png.size()), const_cast<char*>(png.data())));
  ASSERT_TRUE(decoded);
  ASSERT_EQ(gdImageSX(decoded.get()), original.sx);
  ASSERT_EQ(gdImageSY(decoded.get()), original.sy);
  auto* source = const_cast<gdImagePtr>(&original);
  for (int y = 0; y < original.sy; ++y) {
    for (int x = 0; x < original.sx; ++x) {
      const int a = gdImageGetPixel(source, x, y), b = gdImageGetPixel(decoded.get(), x, y);
      ASSERT_EQ(gdImageRed(source, a), gdImageRed(decoded.get(), b)) << x << "," << y;
      ASSERT_EQ(gdImageGreen(source, a), gdImageGreen(decoded.get(), b)) << x << "," << y;
      ASSERT_EQ(gdImageBlue(source, a), gdImageBlue(decoded.get(), b)) << x << "," << y;
    }
  }
}

TEST(PngEncoderTest, EveryPaletteDepthReadsBackPixelForPixel) {
  // 2, 4, 16 and 256 colours fill the 1-, 2-, 4- and 8-bit depths; 3 and 17 sit just past one.
  for (const int colours : {1, 2, 3, 4, 5, 16, 17, 256}) {
    SCOPED_TRACE(colours);
    const GdImageHandle image = Striped(colours);
    std::string png;
    ASSERT_TRUE(EncodePalettePng(*image, png));
    ExpectSamePixels(*image, png);
    // The same resolution as libgd writes, so pages print at the size they always did.
    GdImageHandle decoded(gdImageCreateFromPngPtr(static_cast<int>(png.size()), png.data()));
    EXPECT_EQ(gdImageResolutionX(decoded.get()), gdImageResolutionX(image.get()));
  }
  // The compressor is kept between images: a large image after a small one still comes whole.
  const GdImageHandle large = Striped(16, 1500, 900);
  std::string png;
  ASSERT_TRUE(EncodePalettePng(*large, png));
  ExpectSamePixels(*large, png);
}

TEST(PngEncoderTest, ImagesItCannotWriteFaithfullyAreLeftToLibgd) {
  std::string png = "stale";
  GdImageHandle transparent = Striped(4);
  gdImageColorTransparent(transparent.get(), 1);
  EXPECT_FALSE(EncodePalettePng(*transparent, png));
  EXPECT_TRUE(png.empty());

  GdImageHandle translucent(gdImageCreate(4, 4));
  gdImageColorAllocateAlpha(translucent.get(), 10, 20, 30, 64);
  EXPECT_FALSE(EncodePalettePng(*translucent, png));

  GdImageHandle freed = Striped(4);
  gdImageColorDeallocate(freed.get(), 2);
  EXPECT_FALSE(EncodePalettePng(*freed, png));

  GdImageHandle trueColour(gdImageCreateTrueColor(4, 4));
  EXPECT_FALSE(EncodePalettePng(*trueColour, png));

  // An index past the palette (set behind libgd's back) would make a file readers refuse.
  GdImageHandle stray = Striped(2);
  stray->pixels[3][5] = 7;
  EXPECT_FALSE(EncodePalettePng(*stray, png));
}

}  // namespace
}  // namespace strumlet
