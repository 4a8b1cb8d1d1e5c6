// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

#include "strumlet/html/HtmlText.h"
#include "strumlet/html/PageWriter.h"

namespace strumlet {
namespace {

TEST(HtmlText, EscapesTheFourMarkupCharactersAndKeepsEverythingElse) {
  EXPECT_EQ(EscapeHtml("Tom & Jerry <\"best\"> 'x' \xE9"),
            "Tom &amp; Jerry &lt;&quot;best&quot;&gt; 'x' \xE9");
  EXPECT_EQ(EscapeHtml("&amp;"), "&amp;amp;");
}

TEST(HtmlText, FileNamesShowTheirCharactersInTheSingleByteCharsetOfThePages) {
  EXPECT_EQ(EscapeHtmlName("Caf\xC3\xA9 & \"Blues\""), "Caf&#233; &amp; &quot;Blues&quot;");
  EXPECT_EQ(EscapeHtmlName("\xE2\x82\xAC \xF0\x9F\x8E\xB8"), "&#8364; &#127928;");
  // Names that are not UTF-8 (an old single-byte name, a cut sequence) keep their bytes.
  EXPECT_EQ(EscapeHtmlName("Caf\xE9"), "Caf\xE9");
  EXPECT_EQ(EscapeHtmlName("x\xC3"), "x\xC3");
  EXPECT_EQ(EscapeHtmlName("\xC0\xAF\xED\xA0\x80"), "\xC0\xAF\xED\xA0\x80");
}

TEST(HtmlText, PercentEncodesEveryByteOutsideTheUnreservedSet) {
  EXPECT_EQ(PercentEncode("Guitar Chords"), "Guitar%20Chords");
  EXPECT_EQ(PercentEncode("a-b_c.d~e"), "a-b_c.d~e");
  EXPECT_EQ(PercentEncode("x/y?z#%\"<"), "x%2Fy%3Fz%23%25%22%3C");
  EXPECT_EQ(PercentEncode("\xE9\x01"), "%E9%01");
}

TEST(HtmlText, TimestampUsesTheCLocaleWhateverTheProcessLocale) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  // A locale with another date order ("11.06.26") must not leak into the page; the install
  // script generates it.
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "the de_DE.UTF-8 locale is missing";
    GTEST_SKIP() << "the de_DE.UTF-8 locale is missing (scripts/install-deps.sh makes it)";
  }
  char own[48];
  const std::time_t when = 1781215500;
  std::tm parts{};
  ::localtime_r(&when, &parts);
  std::strftime(own, sizeof own, "%x", &parts);
  ASSERT_STRNE(own, "06/11/26");  // the locale really orders the date otherwise
  EXPECT_EQ(FormatTimestamp(1781215500), "06/11/26 10:05PM");  // 2026-06-11 22:05 UTC
  EXPECT_EQ(FormatTimestamp(1781136000), "06/11/26 12:00AM");  // midnight
  EXPECT_EQ(FormatTimestamp(1781179200), "06/11/26 12:00PM");  // noon
  std::setlocale(LC_ALL, "C");
}

TEST(HtmlText, ImageSizesScaleWithTruncatingIntegerArithmetic) {
  EXPECT_EQ(ScaledSize(101, 50), 50);
  EXPECT_EQ(ScaledSize(87, 50), 43);  // 43.5 is cut, not rounded
  EXPECT_EQ(ScaledSize(87, 100), 87);
  EXPECT_EQ(ScaledSize(87, 400), 348);
  // Stored percentages are not range-checked; a huge one must not overflow.
  EXPECT_EQ(ScaledSize(32767, 2147483647), 2147483647);
  EXPECT_EQ(ScaledSize(87, -50), -43);
}

TEST(HtmlText, JoinPathNeverDoublesTheSeparator) {
  EXPECT_EQ(JoinPath("/out", "a"), "/out/a");
  EXPECT_EQ(JoinPath("/out/", "a"), "/out/a");
  EXPECT_EQ(JoinPath("/", "a"), "/a");
}

}  // namespace
}  // namespace strumlet
