// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "RenderTestSupport.h"
#include "SvgPainter.h"
#include "strumlet/core/MarkupText.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramText.h"

namespace strumlet {
namespace {

std::string SvgOf(const ChordDiagram& d) {
  const auto bytes = d.EncodeImage(ImageKind::kSvg);
  return {bytes.begin(), bytes.end()};
}

TEST(EscapeXml, MarkupIsEscapedAndWhatXmlCannotCarryIsLeftOut) {
  EXPECT_EQ(EscapeXml("a&b<c>\"d'"), "a&amp;b&lt;c&gt;&quot;d&apos;");
  EXPECT_EQ(EscapeXml("\xC2\xB0 \xE2\x82\xAC \xF0\x9F\x8E\xB8"),
            "\xC2\xB0 \xE2\x82\xAC \xF0\x9F\x8E\xB8");
  // Controls, a NUL, U+FFFE, a cut sequence, a surrogate and an overlong form.
  EXPECT_EQ(EscapeXml(std::string("A\x01\x1F\tB\0C", 7)), "A\tBC");
  EXPECT_EQ(EscapeXml("x\xEF\xBF\xBEy\xC3"), "xy");
  EXPECT_EQ(EscapeXml("\xED\xA0\x80z\xE0\x80\xAF"), "z");
}

class SvgPainterTest : public ::testing::Test {
 protected:
  void SetUp() override { STRUMLET_REQUIRE_FONT(); }
};

TEST_F(SvgPainterTest, NamesAndTitleComeFromTheCodePageEscapedInTheFontsFamily) {
  // 0xB0 is the degree sign in the handheld's code page; 0x01 has no place in XML.
  ChordRecord record = test::MakeChord("C\xB0<&>\x01", 3, {0, 1, 0, 2, 3, 100});
  ChordDiagram d(record, test::TestStyle(12.0));
  const std::string svg = SvgOf(d);
  EXPECT_NE(svg.find(">C\xC2\xB0&lt;&amp;&gt;</text>"), std::string::npos) << svg;
  const std::string title = "<title>" + EscapeXml(DescribeDiagram(record)) + "</title>";
  EXPECT_TRUE(title.starts_with("<title>C\xC2\xB0&lt;&amp;&gt;: ")) << title;
  EXPECT_NE(svg.find(title), std::string::npos) << svg;
  EXPECT_NE(svg.find("> 3</text>"), std::string::npos) << "the label keeps its blank";
  const std::string width = std::to_string(d.GetWidth()), height = std::to_string(d.GetHeight());
  EXPECT_NE(svg.find("width=\"" + width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width +
                     " " + height + "\""),
            std::string::npos);

  const SvgFontFace face = FontFaceOf(test::TestFont());
  ASSERT_FALSE(face.family.empty());
  EXPECT_NE(svg.find("font-family=\"&apos;" + EscapeXml(face.family) + "&apos;, serif\""),
            std::string::npos);
}

TEST_F(SvgPainterTest, WithoutItsFontTheSvgDrawsNoTextTheImageDoesNotHave) {
  ChordRecord record = test::MakeChord("Am", 5, {0, 1, 2, 2, 0, 100});
  ChordDiagram d(record, test::StyleInFont("/no/such/font.ttf", 12.0));
  const std::string svg = SvgOf(d);
  EXPECT_EQ(svg.find(">Am<"), std::string::npos);
  EXPECT_EQ(svg.find("> 5<"), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"serif\""), std::string::npos);
  EXPECT_NE(svg.find("<title>Am:"), std::string::npos);
}

}  // namespace
}  // namespace strumlet
