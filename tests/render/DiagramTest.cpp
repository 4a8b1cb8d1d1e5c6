// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "RenderTestSupport.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramLayout.h"

namespace strumlet {
namespace {

using test::CountDark;
using test::IsDark;
using test::MakeChord;
using test::StyleInFont;
using test::TestStyle;

// C major, high string first: e0 B1 G0 D2 A3, low E muted.
ChordRecord CMajor() { return MakeChord("C", 0, {0, 1, 0, 2, 3, 100}); }

// The string x positions of a drawn six-string diagram, right-most first.
std::vector<int> StringXs(const ChordDiagram& d) {
  const int w = d.GetWidth();
  // Q = Lw + 1 unless the name widened the image; the right-most string is 7 pixels left of the
  // label column. Find it as the first dark column from the right on a row inside the grid.
  const gdImageStruct* im = d.Image();
  int right = -1;
  for (int x = w - 1; x >= 0 && right < 0; --x) {
    if (IsDark(im, x, 14 + 5) && IsDark(im, x, 14 + 50) && IsDark(im, x - 2, 14 + 30))
      right = x - 1;
  }
  std::vector<int> xs;
  for (int i = 0; i < 6; ++i) xs.push_back(right - 14 * i);
  return xs;
}

class DiagramTest : public ::testing::Test {
 protected:
  void SetUp() override { STRUMLET_REQUIRE_FONT(); }
  const std::string& font() { return test::TestFont(); }
};

TEST_F(DiagramTest, GridLinesAreThreePixelsWideWhereTheLayoutPutsThem) {
  ChordDiagram d(MakeChord("E", 0, {0, 0, 0, 0, 0, 0}), TestStyle());
  ASSERT_EQ(d.Draw(), 0);
  const gdImageStruct* im = d.Image();
  ASSERT_NE(im, nullptr);
  const auto xs = StringXs(d);
  ASSERT_GE(xs.back(), 1);
  for (int x : xs) {
    SCOPED_TRACE(x);
    for (int y : {20, 35, 49, 63}) {
      EXPECT_TRUE(IsDark(im, x - 1, y) && IsDark(im, x, y) && IsDark(im, x + 1, y));
      EXPECT_FALSE(IsDark(im, x - 2, y));
      EXPECT_FALSE(IsDark(im, x + 2, y));
    }
  }
  for (int y : {14, 28, 42, 56, 70}) {
    const int x = xs[0] - 7;  // between two strings
    EXPECT_TRUE(IsDark(im, x, y - 1) && IsDark(im, x, y) && IsDark(im, x, y + 1)) << y;
    EXPECT_FALSE(IsDark(im, x, y - 2)) << y;
    EXPECT_FALSE(IsDark(im, x, y + 2)) << y;
  }
  // Nothing past the grid's ends (the brush adds one pixel).
  EXPECT_FALSE(IsDark(im, xs[0] + 2, 40));
  EXPECT_FALSE(IsDark(im, xs[0] - 7, 72));
}

TEST_F(DiagramTest, OpenCircleMutedCrossAndGlyphsSitOnTheirStrings) {
  ChordDiagram d(CMajor(), TestStyle());
  d.Draw();
  const gdImageStruct* im = d.Image();
  const auto xs = StringXs(d);
  // Open strings (1 and 3): a ring around (x, 7) with a white centre.
  for (int i : {0, 2}) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(IsDark(im, xs[i], 7));
    EXPECT_TRUE(IsDark(im, xs[i] - 6, 7));
    EXPECT_TRUE(IsDark(im, xs[i] + 6, 7));
    EXPECT_TRUE(IsDark(im, xs[i], 1));
  }
  // Fretted strings: a filled dot centred in the fret space of the note.
  const int frets[6] = {0, 1, 0, 2, 3, 100};
  for (int i : {1, 3, 4}) {
    SCOPED_TRACE(i);
    const int cy = 14 * frets[i] + 7;
    EXPECT_TRUE(IsDark(im, xs[i], cy));
    EXPECT_TRUE(IsDark(im, xs[i] - 5, cy));
    EXPECT_TRUE(IsDark(im, xs[i] + 5, cy));
    EXPECT_FALSE(IsDark(im, xs[i] - 5, 7));  // no ring above it
    EXPECT_FALSE(IsDark(im, xs[i], 7));
  }
  // Muted low string: the cross's diagonals, no ring and no dot.
  const int x1 = xs[5] - 7;
  EXPECT_TRUE(IsDark(im, x1, 0));
  EXPECT_TRUE(IsDark(im, x1 + 13, 0));
  EXPECT_TRUE(IsDark(im, x1 + 3, 3));
  EXPECT_TRUE(IsDark(im, x1 + 10, 3));
  EXPECT_FALSE(IsDark(im, x1 + 6, 1));
  EXPECT_FALSE(IsDark(im, xs[5] - 5, 21));
}

TEST_F(DiagramTest, FingerGlyphShowsItsNumber) {
  auto record = MakeChord("A", 0, {0, 2, 2, 2, 0, 100});
  ChordDiagram plain(record, TestStyle());
  plain.Draw();
  record.flags = ChordRecord::kFingers;
  record.fingers = {0, 0, 3, 2, 1, 0, 0};
  ChordDiagram numbered(record, TestStyle());
  numbered.Draw();
  const auto xs = StringXs(plain);
  for (int i : {1, 2, 3}) {
    SCOPED_TRACE(i);
    const int x = xs[i], y = 35;
    // Glyph 0 is a solid dot; a numbered glyph has white strokes inside the same dot.
    EXPECT_EQ(CountDark(plain.Image(), x - 3, y - 3, x + 3, y + 3), 49);
    EXPECT_LT(CountDark(numbered.Image(), x - 3, y - 3, x + 3, y + 3), 45);
    EXPECT_TRUE(IsDark(numbered.Image(), x - 6, y));
    EXPECT_TRUE(IsDark(numbered.Image(), x + 6, y));
  }
}

TEST_F(DiagramTest, BarreFretActsAsTheNut) {
  auto record = MakeChord("G", 0, {3, 3, 4, 5, 5, 3});
  record.flags = ChordRecord::kBarre;
  record.barres[0] = 3;
  ChordDiagram d(record, TestStyle());
  d.Draw();
  const auto xs = StringXs(d);
  const gdImageStruct* im = d.Image();
  for (int i : {0, 1, 5}) EXPECT_FALSE(IsDark(im, xs[i], 7)) << i;  // rings
  for (int i : {0, 1, 5}) EXPECT_TRUE(IsDark(im, xs[i] + 6, 7)) << i;
  EXPECT_TRUE(IsDark(im, xs[2], 21));
  EXPECT_TRUE(IsDark(im, xs[3], 35));
  EXPECT_TRUE(IsDark(im, xs[4], 35));
  EXPECT_FALSE(IsDark(im, xs[3] - 4, 21));
}

TEST_F(DiagramTest, FiveStringBaseFretThreeDrawsTheShortString) {
  auto record = MakeChord("G", 3, {0, 0, 0, 0, 0}, kBanjoCode);
  ChordDiagram d(record, TestStyle());
  d.Draw();
  const gdImageStruct* im = d.Image();
  // The label column begins 7 pixels right of the right-most string.
  int right = -1;
  for (int x = d.GetWidth() - 1; x >= 0 && right < 0; --x) {
    if (IsDark(im, x, 63) && IsDark(im, x, 20)) right = x - 1;
  }
  const int fourth = right - 3 * 14, fifth = right - 4 * 14;
  EXPECT_FALSE(IsDark(im, fifth, 30));  // no fifth string above the last fret space
  EXPECT_FALSE(IsDark(im, fifth, 50));
  EXPECT_TRUE(IsDark(im, fifth, 63));
  EXPECT_TRUE(IsDark(im, fourth, 30));
  EXPECT_FALSE(IsDark(im, fifth + 5, 14));  // fret lines 1 to 3 stop at the fourth string
  EXPECT_FALSE(IsDark(im, fifth + 5, 42));
  EXPECT_TRUE(IsDark(im, fifth + 5, 56));  // 4 and 5 span all strings
  EXPECT_TRUE(IsDark(im, fifth + 5, 70));
  // The base-fret label " 3" sits in the label column, above the first fret space's middle.
  EXPECT_GT(CountDark(im, right + 7, 0, d.GetWidth() - 1, 26), 0);
}

TEST_F(DiagramTest, LabelsPresentOrAbsent) {
  auto labelInk = [&](const ChordRecord& record) {
    ChordDiagram d(record, TestStyle());
    d.Draw();
    const auto xs = StringXs(d);
    return CountDark(d.Image(), xs[0] + 7, 0, d.GetWidth() - 1, 70);
  };
  EXPECT_EQ(labelInk(MakeChord("A", 0, {1, 1, 1, 1, 1, 1})), 0);
  EXPECT_GT(labelInk(MakeChord("A", 5, {5, 5, 5, 5, 5, 5})), 0);
  EXPECT_EQ(labelInk(MakeChord("A", 25, {25, 25, 25, 25, 25, 25})), 0);
  auto barre = MakeChord("A", 5, {5, 5, 6, 7, 7, 5});
  barre.flags = ChordRecord::kBarre;
  barre.barres[0] = 12;
  const int barreInk = labelInk(barre);
  barre.barres[0] = 4;
  EXPECT_GT(barreInk, labelInk(barre));  // "c" and "12" against "c4"
}

TEST_F(DiagramTest, NameIsDrawnBelowTheGridAndCentred) {
  ChordDiagram d(MakeChord("Am", 0, {0, 1, 2, 2, 0, 100}), TestStyle());
  d.Draw();
  const gdImageStruct* im = d.Image();
  const int w = d.GetWidth(), h = d.GetHeight();
  EXPECT_GT(CountDark(im, 0, 73, w - 1, h - 1), 20);
  // The name is centred under the grid, not the whole image: more ink left of the middle.
  EXPECT_GT(CountDark(im, 0, 73, w / 2, h - 1), CountDark(im, w / 2 + 1, 73, w - 1, h - 1));
}

TEST_F(DiagramTest, SmallSizesFallBackToDefaults) {
  ChordDiagram a(CMajor(), TestStyle(5.9, 3.9));
  EXPECT_EQ(a.NameSize(), 20.0);
  EXPECT_EQ(a.LabelSize(), 7.0);
  ChordDiagram b(CMajor(), TestStyle(6.0, 4.0));
  EXPECT_EQ(b.NameSize(), 6.0);
  EXPECT_EQ(b.LabelSize(), 4.0);
  ChordDiagram c(CMajor(), TestStyle(std::nan(""), -1.0));
  EXPECT_EQ(c.NameSize(), 20.0);
  EXPECT_EQ(c.LabelSize(), 7.0);
  ChordDiagram big(CMajor(), TestStyle(1e9));
  big.Draw();
  EXPECT_GT(big.GetHeight(), 100);
  EXPECT_GT(big.GetWidth(), 0);
}

TEST_F(DiagramTest, UnusableFontGivesTheGridOnly) {
  ChordDiagram good(CMajor(), TestStyle());  // measured "10" with another font first
  ChordDiagram d(CMajor(), StyleInFont("/nonexistent/font.ttf"));
  EXPECT_EQ(d.Draw(), 0);
  // Nh = Nw = Lw = Lh = 0: the grid and the 4-pixel margin. What the good font measured must not
  // leak in, or the size would depend on what was drawn before and on thread timing.
  EXPECT_EQ(d.GetHeight(), 5 * 14 + 4);
  EXPECT_EQ(d.GetWidth(), 1 + 6 * 14);
  EXPECT_GT(good.GetWidth(), d.GetWidth());
  EXPECT_GT(CountDark(d.Image(), 0, 0, d.GetWidth() - 1, d.GetHeight() - 1), 100);
}

TEST_F(DiagramTest, OddRecordsNeverBreakTheDrawing) {
  std::vector<ChordRecord> records;
  for (int count : {0, 1, 2, 13, 14, 255}) {
    auto r = MakeChord("Odd", 0, {});
    r.entryCount = static_cast<uint8_t>(count);
    r.frets.fill(-128);
    r.frets[1] = 127;
    r.frets[2] = 99;
    r.fingers.fill(-7);
    r.barres.fill(127);
    r.flags = 0xFF;
    records.push_back(r);
  }
  auto wild = MakeChord(std::string(32, '\xB0'), -128, {127, -128, 100, 99, 1, 2});
  wild.instrumentCode = kBanjoCode;
  records.push_back(wild);
  for (const auto& r : records) {
    ChordDiagram d(r, TestStyle());
    EXPECT_EQ(d.Draw(), 0);
    EXPECT_GT(d.GetWidth(), 0);
    EXPECT_GT(d.GetHeight(), 0);
    EXPECT_FALSE(d.EncodeImage(ImageKind::kPng).empty());
  }
}

TEST(ImageFileName, LowerCaseHexOfTheOffset) {
  EXPECT_EQ(ImageFileName(444, ImageKind::kPng), "1bc.png");
  EXPECT_EQ(ImageFileName(444, ImageKind::kJpeg), "1bc.jpg");
  EXPECT_EQ(ImageFileName(444, ImageKind::kSvg), "1bc.svg");
  EXPECT_EQ(DiagramFileNames({444, 444}, ImageKind::kSvg),
            (std::vector<std::string>{"1bc.svg", "1bc-2.svg"}));
  EXPECT_EQ(ImageFileName(0, ImageKind::kPng), "0.png");
  EXPECT_EQ(ImageFileName(-1, ImageKind::kPng), "ffffffff.png");
  EXPECT_EQ(ImageFileName(INT32_MIN, ImageKind::kJpeg), "80000000.jpg");
  EXPECT_EQ(ImageFileName(0xABCDEF, ImageKind::kPng), "abcdef.png");
  // Left-handed pictures never take a right-handed one's name, duplicates included.
  EXPECT_EQ(DiagramFileNames({444, 444, 445}, ImageKind::kPng, true),
            (std::vector<std::string>{"1bc-left.png", "1bc-left-2.png", "1bd-left.png"}));
  EXPECT_EQ(DiagramFileNames({444, 444}, ImageKind::kJpeg),
            (std::vector<std::string>{"1bc.jpg", "1bc-2.jpg"}));
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(DiagramTest, WritesEveryKindSideBySideAndTheyDecode) {
  test::TempFolder folder;
  auto record = CMajor();
  record.recordOffset = 444;
  ChordDiagram d(record, TestStyle());
  d.Draw();
  EXPECT_EQ(d.WriteImage(ImageKind::kPng, folder.path()).value(), "1bc.png");
  EXPECT_EQ(d.WriteImage(ImageKind::kJpeg, folder.path() + "/").value(), "1bc.jpg");
  EXPECT_EQ(d.WriteImage(ImageKind::kSvg, folder.path()).value(), "1bc.svg");
  EXPECT_EQ(ReadFile(folder.path() + "/1bc.svg"), d.EncodeImage(ImageKind::kSvg));
  auto png = ReadFile(folder.path() + "/1bc.png");
  auto jpeg = ReadFile(folder.path() + "/1bc.jpg");
  EXPECT_EQ(png, d.EncodeImage(ImageKind::kPng));
  gdImagePtr decoded = gdImageCreateFromPngPtr(static_cast<int>(png.size()), png.data());
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(gdImageSX(decoded), d.GetWidth());
  EXPECT_EQ(gdImageSY(decoded), d.GetHeight());
  EXPECT_FALSE(gdImageTrueColor(decoded));
  EXPECT_EQ(gdImageRed(decoded, 0), 255);  // white is colour 0, the background
  gdImageDestroy(decoded);
  gdImagePtr fromJpeg = gdImageCreateFromJpegPtr(static_cast<int>(jpeg.size()), jpeg.data());
  ASSERT_NE(fromJpeg, nullptr);
  EXPECT_EQ(gdImageSX(fromJpeg), d.GetWidth());
  gdImageDestroy(fromJpeg);
}

TEST_F(DiagramTest, UnwritableTargetsAreReportedWithThePath) {
  test::TempFolder folder;
  auto record = CMajor();
  record.recordOffset = 444;
  ChordDiagram d(record, TestStyle());
  d.Draw();
  const std::string missing = folder.path() + "/no/such/folder";
  const Result<std::string> nowhere = d.WriteImage(ImageKind::kPng, missing);
  ASSERT_FALSE(nowhere);
  EXPECT_EQ(nowhere.error().kind, Error::Kind::kIo);
  EXPECT_EQ(nowhere.error().path, missing + "/1bc.png");
  EXPECT_EQ(nowhere.error().code, ENOENT);
  EXPECT_EQ(ImageErrorText(nowhere.error()),
            "Could not write " + missing + "/1bc.png: No such file or directory");

  // A full disk: the reason is named, and neither a part of the image nor a temporary file stays.
  std::optional<Result<std::string>> full;
  {
    testing::FileSizeLimit limit(64);
    full = d.WriteImage(ImageKind::kJpeg, folder.path());
  }
  ASSERT_FALSE(*full);
  EXPECT_EQ(full->error().path, folder.path() + "/1bc.jpg");
  const std::string text = ImageErrorText(full->error());
  EXPECT_NE(text.find("too large"), std::string::npos) << text;
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(DiagramTest, ALinkPlantedAtTheImageNameIsReplacedNotWrittenThrough) {
  test::TempFolder folder;
  const std::string victim = folder / "victim";
  {
    std::ofstream out(victim);
    out << "precious";
  }
  std::filesystem::create_symlink(victim, folder / "1bc.png");
  auto record = CMajor();
  record.recordOffset = 444;
  ChordDiagram d(record, TestStyle());
  d.Draw();
  EXPECT_EQ(d.WriteImage(ImageKind::kPng, folder.path()).value(), "1bc.png");
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "1bc.png"));
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
}

TEST_F(DiagramTest, DiagramsDrawnOnSeveralThreadsMatchTheSingleThreadedOnes) {
  std::vector<ChordRecord> records{CMajor(), MakeChord("G", 0, {3, 0, 0, 0, 2, 3}),
                                   MakeChord("Bb&7", 6, {6, 7, 6, 8, 6, 100}),
                                   MakeChord("Cm\xB0", 3, {3, 4, 5, 5, 3, 100})};
  std::vector<std::vector<unsigned char>> expected;
  for (const auto& r : records) {
    ChordDiagram d(r, TestStyle());
    d.Draw();
    expected.push_back(d.EncodeImage(ImageKind::kPng));
  }
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round) {
        const std::size_t k = (t + round) % records.size();
        ChordDiagram d(records[k], TestStyle());
        d.Draw();
        if (d.EncodeImage(ImageKind::kPng) != expected[k]) ++mismatches[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

TEST_F(DiagramTest, FontPathLongerThan255BytesIsUsedWhole) {
  test::TempFolder root;
  std::string folder = root.path();
  while (folder.size() < 300) {
    folder += "/" + std::string(60, 'f');
    std::filesystem::create_directory(folder);
  }
  const std::string longPath = folder + "/font.ttf";
  std::filesystem::create_symlink(font(), longPath);
  ChordDiagram viaLongPath(CMajor(), StyleInFont(longPath));
  ChordDiagram direct(CMajor(), TestStyle());
  viaLongPath.Draw();
  direct.Draw();
  EXPECT_EQ(viaLongPath.EncodeImage(ImageKind::kPng), direct.EncodeImage(ImageKind::kPng));
}

}  // namespace
}  // namespace strumlet
