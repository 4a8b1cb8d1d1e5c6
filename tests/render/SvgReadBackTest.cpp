// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The SVG diagrams read back by a real renderer (rsvg-convert) and laid over the PNG of the same
// chord: every chord of the bundled samples and of the fixture descriptions, which between them
// have every instrument, barres of both kinds, base fret labels and finger numbers.
#include <gd.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "Fixture.h"
#include "PdfDiagramFile.h"
#include "RenderTestSupport.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/core/Handles.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramLayout.h"

extern char** environ;

namespace strumlet {
namespace {

namespace fs = std::filesystem;

// Thresholds, from the dark-pixel comparison of the two renderings below. Grid and marks: the
// lines, discs and circles sit on whole pixels and differ only in anti-aliased edge pixels of
// the round shapes and the crosses' diagonals; the worst diagram of the samples and fixtures
// scores 0.988, one moved by a single pixel about 0.73. Texts: with a pixel of slack, the worst
// scores 0.95 at both name sizes, one moved by two pixels about 0.65. Each threshold sits well
// clear of both.
constexpr double kMinGridOverlap = 0.90;
constexpr double kMinTextOverlap = 0.85;

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t colon = std::min(folders.find(':', start), folders.size());
    const std::string candidate = folders.substr(start, colon - start) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = colon + 1;
  }
  return {};
}

// Runs `argv`, returns its exit status (-1 when it could not be started or did not exit).
int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

struct GdDestroyer {
  void operator()(gdImagePtr image) const { gdImageDestroy(image); }
};
using Image = std::unique_ptr<gdImage, GdDestroyer>;

Image DecodePng(const std::vector<unsigned char>& bytes) {
  if (bytes.empty()) return nullptr;
  return Image(gdImageCreateFromPngPtr(static_cast<int>(bytes.size()),
                                       const_cast<unsigned char*>(bytes.data())));
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where a diagram's grid and string marks may draw: from half a string spacing left of the
// left-most string to the label column right of the right-most, down to the last fret line's
// brush. The texts (name below, labels beside) fall outside.
struct Box {
  int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
  bool Contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};

Box GridBox(const DiagramLayout& layout) {
  Box box;
  if (layout.strings.empty()) return box;
  int left = layout.strings[0].x, right = left, bottom = 0;
  for (const StringLine& s : layout.strings) {
    left = std::min(left, s.x);
    right = std::max(right, s.x);
    bottom = std::max(bottom, s.y2);
  }
  for (const FretLine& f : layout.frets) bottom = std::max(bottom, f.y);
  box.x1 = left - kStringSpacing / 2;
  box.x2 = right + kStringSpacing / 2 - 1;
  box.y1 = 0;
  box.y2 = bottom + 1;
  return box;
}

// Dark pixels of the two renderings. Grid and marks: exact intersection over union. Texts: the
// share of dark pixels of either that have a dark pixel of the other at most one pixel away,
// since two rasterizers hint the same glyph a pixel apart here and there.
struct Comparison {
  int gridBoth = 0, gridEither = 0;
  int textMatched = 0, textDark = 0;
  double Grid() const { return gridEither == 0 ? 1.0 : static_cast<double>(gridBoth) / gridEither; }
  double Text() const { return textDark == 0 ? 1.0 : static_cast<double>(textMatched) / textDark; }
};

bool DarkNear(const gdImageStruct* image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (test::IsDark(image, x + dx, y + dy)) return true;
    }
  }
  return false;
}

Comparison Compare(const gdImageStruct* png, const gdImageStruct* svg, const Box& grid) {
  Comparison c;
  for (int y = 0; y < gdImageSY(png); ++y) {
    for (int x = 0; x < gdImageSX(png); ++x) {
      const bool a = test::IsDark(png, x, y), b = test::IsDark(svg, x, y);
      if (grid.Contains(x, y)) {
        c.gridBoth += a && b;
        c.gridEither += a || b;
      } else {
        c.textDark += a + b;
        c.textMatched += (a && DarkNear(svg, x, y)) + (b && DarkNear(png, x, y));
      }
    }
  }
  return c;
}

// Every chord of the samples and the fixtures, the samples' first.
std::vector<std::pair<std::string, ChordRecord>> AllChords() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> databases;
  for (const auto& entry : fs::directory_iterator(STRUMLET_TEST_SOURCE_DIR "/samples")) {
    if (entry.path().extension() == ".pdb") {
      const auto bytes = ReadBytes(entry.path());
      databases.emplace_back(entry.path().filename(),
                             std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
  }
  for (const char* folder : {"/samples", "/fuzz/seeds"}) {
    for (const auto& entry :
         fs::directory_iterator(std::string(STRUMLET_TEST_SOURCE_DIR) + folder)) {
      if (entry.path().extension() != ".txt") continue;
      databases.emplace_back("fixture " + entry.path().filename().string(),
                             fixture::BuildDatabase(fixture::ReadTextFile(entry.path())));
    }
  }
  std::vector<std::pair<std::string, ChordRecord>> chords;
  for (const auto& [name, bytes] : databases) {
    MemorySource source(bytes);
    ChordDatabase db;
    ParseDatabase(source, kSortByPosition, db);  // damaged fixtures give what they can
    for (const ChordRecord& record : db.chords) chords.emplace_back(name, record);
  }
  // The instruments the files have no chord of (two of the four-string ones and the codes that
  // fall back to six strings), with a base fret, one barre and fingers.
  for (uint8_t code = 0; code <= 5; ++code) {
    ChordRecord record = test::MakeChord("G#m7", 3, {3, 4, 5, 5, 3, 3}, code);
    record.entryCount = static_cast<uint8_t>(InstrumentFor(code).strings + 1);
    record.flags = ChordRecord::kBarre | ChordRecord::kFingers;
    record.barres[0] = 3;
    for (int r = 1; r <= 6; ++r) record.fingers[r] = static_cast<int8_t>(r % 6);
    chords.emplace_back("instrument " + std::to_string(code), record);
  }
  return chords;
}

class SvgReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    STRUMLET_REQUIRE_FONT();
    rsvg_ = FindOnPath("rsvg-convert");
    if (rsvg_.empty()) {
      if (test::InCi()) FAIL() << "rsvg-convert is missing (CI); install librsvg2-bin";
      GTEST_SKIP() << "rsvg-convert is not installed (librsvg2-bin): the SVG diagrams are not "
                      "read back by a renderer";
    }
  }

  // The SVG rendered at its own size; null when the renderer refused it.
  Image Render(const std::string& svg) {
    const std::string in = folder_ / "diagram.svg", out = folder_ / "diagram.png";
    std::ofstream(in, std::ios::binary) << svg;
    fs::remove(out);
    if (RunProgram({rsvg_, "--background-color=white", "-o", out, in}) != 0) return nullptr;
    return DecodePng(ReadBytes(out));
  }

  std::string rsvg_;
  test::TempFolder folder_;
};

TEST_F(SvgReadBackTest, EverySampleAndFixtureChordLooksLikeItsPng) {
  const auto chords = AllChords();
  ASSERT_GT(chords.size(), 100u);
  std::set<std::string> seen;
  std::set<int> instruments;
  bool baseFretLabel = false, barreLabel = false, finger = false;
  double worstGrid = 1.0, worstText = 1.0;
  for (const auto& [database, record] : chords) {
    // The page's default name size, twice it, and the default drawn left-handed.
    for (const auto& [nameSize, leftHanded] :
         {std::pair{12.0, false}, std::pair{24.0, false}, std::pair{12.0, true}}) {
      ChordDiagram diagram(record, test::TestStyle(nameSize, 14.0, leftHanded));
      diagram.Draw();
      const auto svgBytes = diagram.EncodeImage(ImageKind::kSvg);
      const std::string svg(svgBytes.begin(), svgBytes.end());
      instruments.insert(record.instrumentCode);
      if (!seen.insert(svg).second) continue;
      SCOPED_TRACE(database + ": " + record.name + "\n" + svg);
      const DiagramLayout& layout = diagram.Layout();
      instruments.insert(record.instrumentCode);
      for (const LabelPlacement& label : layout.labels) {
        (label.text.starts_with("c") ? barreLabel : baseFretLabel) = true;
      }
      for (const StringMark& mark : layout.marks) finger |= mark.glyph > 0;

      const Image png = DecodePng(diagram.EncodeImage(ImageKind::kPng));
      ASSERT_TRUE(png);
      const Image read = Render(svg);
      ASSERT_TRUE(read) << "rsvg-convert refused the SVG";
      ASSERT_EQ(gdImageSX(read.get()), gdImageSX(png.get()));
      ASSERT_EQ(gdImageSY(read.get()), gdImageSY(png.get()));
      const Comparison c = Compare(png.get(), read.get(), GridBox(layout));
      EXPECT_GE(c.Grid(), kMinGridOverlap);
      EXPECT_GE(c.Text(), kMinTextOverlap);
      worstGrid = std::min(worstGrid, c.Grid());
      worstText = std::min(worstText, c.Text());
    }
  }
  // What the chords covered, so that a thinner sample set cannot pass unnoticed.
  EXPECT_EQ(instruments.size(), 6u);
  EXPECT_TRUE(baseFretLabel && barreLabel && finger);
  std::printf("%zu distinct diagrams; worst overlap: grid %.3f, text %.3f\n", seen.size(),
              worstGrid, worstText);
}

TEST_F(SvgReadBackTest, ADiagramMovedAPixelOrTwoFailsTheComparison) {
  // F with a barre, base-fret label and fingers: grid, marks, labels and name all present.
  ChordRecord record = test::MakeChord("F", 1, {1, 1, 2, 3, 3, 1});
  record.flags = ChordRecord::kBarre | ChordRecord::kFingers;
  record.barres[0] = 1;
  for (int r = 1; r <= 6; ++r) record.fingers[r] = static_cast<int8_t>(r % 5);
  ChordDiagram diagram(record, test::TestStyle(12.0));
  diagram.Draw();
  const auto bytes = diagram.EncodeImage(ImageKind::kSvg);
  const std::string svg(bytes.begin(), bytes.end());
  const Image png = DecodePng(diagram.EncodeImage(ImageKind::kPng));
  const Box grid = GridBox(diagram.Layout());

  const Image same = Render(svg);
  ASSERT_TRUE(same);
  const Comparison exact = Compare(png.get(), same.get(), grid);
  EXPECT_GE(exact.Grid(), kMinGridOverlap);
  EXPECT_GE(exact.Text(), kMinTextOverlap);

  // Everything moved right or down: the view box starts early. One pixel fails the grid, two
  // fail the texts too.
  const std::string box = "viewBox=\"0 0 ";
  for (const std::string moved :
       {"viewBox=\"-1 0 ", "viewBox=\"0 -1 ", "viewBox=\"-2 0 ", "viewBox=\"0 -2 "}) {
    SCOPED_TRACE(moved);
    std::string shifted = svg;
    shifted.replace(shifted.find(box), box.size(), moved);
    const Image read = Render(shifted);
    ASSERT_TRUE(read);
    const Comparison c = Compare(png.get(), read.get(), grid);
    EXPECT_LT(c.Grid(), kMinGridOverlap);
    if (moved.find('2') != std::string::npos) {
      EXPECT_LT(c.Text(), kMinTextOverlap);
    }
  }
}

// The chord book's painter read back by poppler (pdftoppm at 96 dots per inch, where a diagram
// pixel is a device pixel) and laid over the PNG of the same chord, as the SVG ones are.
class PdfReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    STRUMLET_REQUIRE_FONT();
    pdftoppm_ = FindOnPath("pdftoppm");
    if (pdftoppm_.empty()) {
      if (test::InCi()) FAIL() << "pdftoppm is missing (CI); install poppler-utils";
      GTEST_SKIP() << "pdftoppm is not installed (poppler-utils): the PDF diagrams are not read "
                      "back by a renderer";
    }
  }

  Image Render(const std::string& pdf) {
    const std::string in = folder_ / "diagram.pdf", out = folder_ / "diagram";
    std::ofstream(in, std::ios::binary) << pdf;
    fs::remove(out + ".png");
    if (RunProgram({pdftoppm_, "-r", "96", "-png", "-singlefile", in, out}) != 0) return nullptr;
    return DecodePng(ReadBytes(out + ".png"));
  }

  std::string pdftoppm_;
  test::TempFolder folder_;
};

TEST_F(PdfReadBackTest, EverySampleAndFixtureChordLooksLikeItsPng) {
  const auto chords = AllChords();
  ASSERT_GT(chords.size(), 100u);
  std::set<std::string> seen;
  double worstGrid = 1.0, worstText = 1.0;
  for (const auto& [database, record] : chords) {
    for (const auto& [nameSize, leftHanded] :
         {std::pair{12.0, false}, std::pair{24.0, false}, std::pair{12.0, true}}) {
      ChordDiagram diagram(record, test::TestStyle(nameSize, 14.0, leftHanded));
      diagram.Draw();
      const auto pngBytes = diagram.EncodeImage(ImageKind::kPng);
      if (!seen.insert(std::string(pngBytes.begin(), pngBytes.end())).second) continue;
      SCOPED_TRACE(database + ": " + record.name + (leftHanded ? " (left-handed)" : ""));
      const std::string pdf = DiagramPdf(diagram.Layout(), CodePageToUtf8(record.name),
                                         diagram.NameSize(), diagram.LabelSize(), test::TestFont());
      ASSERT_FALSE(pdf.empty());
      const Image png = DecodePng(pngBytes);
      const Image read = Render(pdf);
      ASSERT_TRUE(png && read) << "pdftoppm refused the PDF";
      // The page's size in points is rounded up to whole pixels.
      ASSERT_GE(gdImageSX(read.get()), gdImageSX(png.get()));
      ASSERT_GE(gdImageSY(read.get()), gdImageSY(png.get()));
      const Comparison c = Compare(png.get(), read.get(), GridBox(diagram.Layout()));
      EXPECT_GE(c.Grid(), kMinGridOverlap);
      EXPECT_GE(c.Text(), kMinTextOverlap);
      worstGrid = std::min(worstGrid, c.Grid());
      worstText = std::min(worstText, c.Text());
    }
  }
  std::printf("%zu distinct diagrams; worst overlap: grid %.3f, text %.3f\n", seen.size(),
              worstGrid, worstText);
}

TEST_F(PdfReadBackTest, AMirroredDiagramIsNotTakenForTheRightHandedOne) {
  // C, with its muted low string: left-handed, the cross is on the right.
  ChordRecord record = test::MakeChord("C", 0, {0, 1, 0, 2, 3, 100});
  ChordDiagram right(record, test::TestStyle(12.0));
  ChordDiagram left(record, test::TestStyle(12.0, 14.0, true));
  right.Draw();
  left.Draw();
  const Image png = DecodePng(right.EncodeImage(ImageKind::kPng));
  const Image mirrored = Render(DiagramPdf(left.Layout(), "C", 12.0, 14.0, test::TestFont()));
  ASSERT_TRUE(png && mirrored);
  EXPECT_LT(Compare(png.get(), mirrored.get(), GridBox(right.Layout())).Grid(), kMinGridOverlap);
}

}  // namespace
}  // namespace strumlet
