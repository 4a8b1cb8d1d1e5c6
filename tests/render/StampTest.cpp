// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <utility>

#include "AssetStore.h"
#include "GridStamp.h"
#include "RenderTestSupport.h"
#include "TextStamp.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/render/DiagramLayout.h"

namespace strumlet {
namespace {

TEST(NameToDrawableText, ConvertsThePalmCodePageAndEscapesAmpersands) {
  EXPECT_EQ(NameToDrawableText("Am7"), "Am7");
  EXPECT_EQ(NameToDrawableText("C\xB0"
                               "7"),
            "C\xC2\xB0"
            "7");                                         // degree sign
  EXPECT_EQ(NameToDrawableText("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(NameToDrawableText("\x96"), "\xE2\x80\x93");  // en dash
  EXPECT_EQ(NameToDrawableText("\xFF"), "\xC3\xBF");      // y with diaeresis
  EXPECT_EQ(NameToDrawableText("A&B"), "A&#38;B");
  EXPECT_EQ(NameToDrawableText("&#65;"), "&#38;#65;");  // no reference sneaks through
  // Undefined in the code page: the same control characters as on the single-byte pages.
  EXPECT_EQ(NameToDrawableText("a\x81z\x8D"), "a\u0081z\u008D");
  EXPECT_EQ(NameToDrawableText(""), "");
}

class TextStampTest : public ::testing::Test {
 protected:
  void SetUp() override { STRUMLET_REQUIRE_FONT(); }

  // Draws `text` straight with the TrueType call on a white palette image.
  static gdImagePtr DrawDirect(const std::string& text, double size, int x, int y) {
    gdImagePtr image = gdImageCreate(90, 50);
    gdImageColorAllocate(image, 255, 255, 255);
    const int black = gdImageColorAllocate(image, 0, 0, 0);
    int brect[8];
    EXPECT_EQ(gdImageStringTTF(image, brect, black, test::TestFont().c_str(), size, 0.0, x, y,
                               text.c_str()),
              nullptr);
    return image;
  }

  static gdImagePtr DrawStamped(const TextStamp& stamp, int x, int y) {
    gdImagePtr image = gdImageCreate(90, 50);
    gdImageColorAllocate(image, 255, 255, 255);
    gdImageColorAllocate(image, 0, 0, 0);
    DrawTextStamp(image, stamp, x, y);
    return image;
  }

  static int DifferentPixels(gdImagePtr a, gdImagePtr b) {
    int differences = 0;
    for (int y = 0; y < gdImageSY(a); ++y) {
      for (int x = 0; x < gdImageSX(a); ++x) {
        const int ca = gdImageGetPixel(a, x, y), cb = gdImageGetPixel(b, x, y);
        if (gdImageRed(a, ca) != gdImageRed(b, cb) || gdImageGreen(a, ca) != gdImageGreen(b, cb) ||
            gdImageBlue(a, ca) != gdImageBlue(b, cb)) {
          ++differences;
        }
      }
    }
    return differences;
  }
};

TEST_F(TextStampTest, StampGivesTheSamePixelsAndBoxAsDrawingDirectly) {
  struct Case {
    std::string text;
    double size;
    int x, y;
  };
  // Inside the image, and cut by each of its edges.
  for (const Case& c : {Case{"Am7", 20.0, 10, 30}, Case{"WyjpT", 20.0, 3, 20},
                        Case{"C\xC2\xB0"
                             "7",
                             14.0, 70, 45},
                        Case{"A&#38;B", 20.0, -6, 8}, Case{"10", 14.0, 80, 55}}) {
    SCOPED_TRACE(c.text);
    auto stamp = RenderTextStamp(test::TestFont(), c.size, c.text);
    ASSERT_TRUE(stamp->ok()) << stamp->error;
    int measured[8];
    ASSERT_EQ(gdImageStringTTF(nullptr, measured, 0, test::TestFont().c_str(), c.size, 0.0, 0, 0,
                               c.text.c_str()),
              nullptr);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(stamp->brect[k], measured[k]) << k;
    gdImagePtr direct = DrawDirect(c.text, c.size, c.x, c.y);
    gdImagePtr stamped = DrawStamped(*stamp, c.x, c.y);
    EXPECT_EQ(DifferentPixels(direct, stamped), 0);
    EXPECT_GT(test::CountDark(stamped, 0, 0, 89, 49), 0);
    gdImageDestroy(direct);
    gdImageDestroy(stamped);
  }
}

TEST_F(TextStampTest, ReferencesDrawTheCharacterTheyName) {
  auto escaped = RenderTextStamp(test::TestFont(), 20.0, "A&#38;B");
  auto plain = RenderTextStamp(test::TestFont(), 20.0, "AB");
  auto degree = RenderTextStamp(test::TestFont(), 20.0, "C\xC2\xB0");
  auto c = RenderTextStamp(test::TestFont(), 20.0, "C");
  EXPECT_GT(escaped->width(), plain->width());
  EXPECT_GT(degree->width(), c->width());
}

TEST_F(TextStampTest, CacheReturnsTheSameStampAndKeysBySize) {
  auto a = GetTextStamp(test::TestFont(), 14.0, "c3");
  auto b = GetTextStamp(test::TestFont(), 14.0, "c3");
  auto bigger = GetTextStamp(test::TestFont(), 28.0, "c3");
  EXPECT_EQ(a.get(), b.get());
  EXPECT_GT(bigger->width(), a->width());
}

// Pixels that differ in colour between two images of the same size.
int DifferentColours(gdImagePtr a, gdImagePtr b) {
  int differences = 0;
  for (int y = 0; y < gdImageSY(a); ++y) {
    for (int x = 0; x < gdImageSX(a); ++x) {
      const int ca = gdImageGetPixel(a, x, y), cb = gdImageGetPixel(b, x, y);
      if (gdImageRed(a, ca) != gdImageRed(b, cb) || gdImageGreen(a, ca) != gdImageGreen(b, cb) ||
          gdImageBlue(a, ca) != gdImageBlue(b, cb) || gdImageAlpha(a, ca) != gdImageAlpha(b, cb)) {
        ++differences;
      }
    }
  }
  return differences;
}

TEST(GridStamp, SameLinesAsTheBrushDrawsOverWhateverIsThere) {
  gdImagePtr brush = GetDiagramAssets()->brush;
  std::vector<ChordRecord> records{test::MakeChord("E", 0, {0, 0, 0, 0, 0, 0}),
                                   test::MakeChord("G", 3, {0, 0, 0, 0, 0}, kBanjoCode),
                                   test::MakeChord("G", 0, {0, 0, 0, 0, 0}, kBanjoCode),
                                   test::MakeChord("C", 0, {0, 0, 0, 0}, 1)};
  auto many = test::MakeChord("X", 0, {});
  many.entryCount = 13;  // more strings than the profile: the image widens
  records.push_back(many);
  for (const TextMetrics& metrics : {TextMetrics{24, 10, 15, 30}, TextMetrics{30, 12, 17, 141}}) {
    for (const auto& record : records) {
      const DiagramLayout layout = ComputeLayout(record, metrics, DiagramStyle{});
      gdImagePtr images[2];
      for (gdImagePtr& image : images) {
        image = gdImageCreate(layout.width, layout.height);
        gdImageColorAllocate(image, 255, 255, 255);
        const int grey = gdImageColorAllocate(image, 90, 90, 90);
        gdImageFilledRectangle(image, 0, 20, layout.width, 40, grey);  // ink under the grid
        gdImageSetBrush(image, brush);
      }
      DrawGridLines(images[0], layout);
      DrawPixelStamp(images[1], *RenderGridStamp(layout, brush), 0, 0);
      EXPECT_EQ(DifferentColours(images[0], images[1]), 0) << record.name << " " << layout.width;
      EXPECT_EQ(GetGridStamp(layout, brush).get(), GetGridStamp(layout, brush).get());
      for (gdImagePtr image : images) gdImageDestroy(image);
    }
  }
}

// Every mark at the image's edges too, over a grid already drawn: the stamp sets the pixels and
// the palette its drawing would, in the same order.
TEST(MarkStamps, SamePixelsAndPaletteAsDrawingEachMark) {
  const DiagramAssets& assets = *GetDiagramAssets();
  const MarkStamps& stamps = GetMarkStamps(assets);
  EXPECT_EQ(&stamps, &GetMarkStamps(assets));
  for (int mark = 0; mark < 2 + kGlyphCount; ++mark) {
    for (const auto& [x, y] : {std::pair{30, 30}, std::pair{2, 3}, std::pair{57, 45}}) {
      gdImagePtr images[2];
      for (gdImagePtr& image : images) {
        image = gdImageCreate(60, 50);
        gdImageColorAllocate(image, 255, 255, 255);
        gdImageColorAllocate(image, 0, 0, 0);
        gdImageSetBrush(image, assets.brush);
        gdImageLine(image, 0, 30, 59, 30, gdBrushed);
      }
      if (mark == 0) {
        DrawOpenMark(images[0], x, y, 1);
        DrawPixelStamp(images[1], stamps.open, x, y);
      } else if (mark == 1) {
        DrawMutedMark(images[0], x, y, 1);
        DrawPixelStamp(images[1], stamps.muted, x, y);
      } else {
        DrawGlyphMark(images[0], assets.glyphs[mark - 2], x, y);
        DrawPixelStamp(images[1], stamps.glyphs[mark - 2], x, y);
      }
      EXPECT_EQ(DifferentColours(images[0], images[1]), 0) << mark << " at " << x << "," << y;
      ASSERT_EQ(gdImageColorsTotal(images[0]), gdImageColorsTotal(images[1])) << mark;
      for (int c = 0; c < gdImageColorsTotal(images[0]); ++c) {
        EXPECT_EQ(gdImageRed(images[0], c), gdImageRed(images[1], c)) << mark << " colour " << c;
        EXPECT_EQ(gdImageGreen(images[0], c), gdImageGreen(images[1], c));
        EXPECT_EQ(gdImageBlue(images[0], c), gdImageBlue(images[1], c));
      }
      for (gdImagePtr image : images) gdImageDestroy(image);
    }
  }
}

TEST(TextStamp, MissingFontGivesAnErrorAndDrawsNothing) {
  auto stamp = GetTextStamp("/nonexistent/font.ttf", 20.0, "Am");
  EXPECT_FALSE(stamp->ok());
  gdImagePtr image = gdImageCreate(40, 40);
  gdImageColorAllocate(image, 255, 255, 255);
  DrawTextStamp(image, *stamp, 5, 30);
  EXPECT_EQ(test::CountDark(image, 0, 0, 39, 39), 0);
  gdImageDestroy(image);
}

}  // namespace
}  // namespace strumlet
