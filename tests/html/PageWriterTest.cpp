// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "Fixture.h"
#include "TestSupport.h"
#include "strumlet/core/MarkupText.h"
#include "strumlet/html/IndexWriter.h"
#include "strumlet/html/ModernPage.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramText.h"

namespace strumlet {
namespace {

using testing::ExpectedHeading;
using testing::ExpectedImage;
using testing::ExpectedPageHead;
using testing::ExpectedTail;
using testing::MaskTimestamp;
using testing::PngSize;
using testing::ReadFile;

ChordDatabase Read(const std::string& description, int sortOrder) {
  const std::vector<uint8_t> bytes = fixture::BuildDatabase(description);
  MemorySource source(bytes);
  ChordDatabase db;
  EXPECT_EQ(ParseDatabase(source, sortOrder, db), 0);
  return db;
}

PageOptions Options(int sortOrder) {
  PageOptions options;
  options.sortOrder = sortOrder;
  options.style.fontFile = DefaultFontFile();
  return options;
}

class PageWriterTest : public ::testing::Test {
 protected:
  // The image tag the page should hold for a chord at `offset`, from the written file's size.
  std::string Tag(int32_t offset, int percent = 100, int border = 0) {
    const std::string file = ImageFileName(offset, ImageKind::kPng);
    const auto [width, height] = PngSize(folder_ / file);
    EXPECT_GT(width, 0) << file;
    return ExpectedImage(file, width * percent / 100, height * percent / 100, border);
  }
  std::string Page(const std::string& baseName) {
    return MaskTimestamp(ReadFile(folder_ / (baseName + ".html")));
  }

  testing::TempFolder folder_;
  testing::RecordingMessenger messages_;
  ScopedMessenger scoped_{messages_};
};

TEST_F(PageWriterTest, DatabaseWithoutChordsGetsHeadRuleAndFooterOnly) {
  const ChordDatabase db = Read("database Empty\n", kSortByCategory);
  ASSERT_TRUE(
      WriteDatabasePage(db, "Empty", folder_.path(), ImageKind::kPng, Options(kSortByCategory))
          .ok());
  EXPECT_EQ(Page("Empty"),
            ExpectedPageHead("Empty.html", "Empty") + "<hr size=\"1\">" + ExpectedTail(""));
  EXPECT_EQ(testing::List(folder_.path()), std::vector<std::string>{"Empty.html"});
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(PageWriterTest, CategoryHeadingsFollowEveryChangeOfCategory) {
  // Read in list order but written by category, so the walk comes back to category 0.
  const ChordDatabase db = Read(
      "category 0 Unfiled id 0\ncategory 3 \"Open & <Barre>\" id 3\n"
      "{define: C frets x 3 2 0 1 0}\ncategory 0\n"
      "{define: G frets 3 2 0 0 0 3}\ncategory 0\n"
      "{define: F frets 1 3 3 2 1 1}\ncategory 3\n"
      "{define: E frets 0 2 2 1 0 0}\ncategory 9\n"
      "{define: D frets x x 0 2 3 2}\ncategory 0\n",
      kSortByPosition);
  ASSERT_EQ(db.chords.size(), 5u);
  ASSERT_TRUE(
      WriteDatabasePage(db, "Cats", folder_.path(), ImageKind::kPng, Options(kSortByCategory))
          .ok());
  std::string body;
  body +=
      ExpectedHeading("Unfiled") + Tag(db.chords[0].recordOffset) + Tag(db.chords[1].recordOffset);
  body += ExpectedHeading("Open &amp; &lt;Barre&gt;") + Tag(db.chords[2].recordOffset);
  body += ExpectedHeading("Unfiled") + Tag(db.chords[3].recordOffset);  // slot 9 is free
  body += ExpectedHeading("Unfiled") + Tag(db.chords[4].recordOffset);
  EXPECT_EQ(Page("Cats"),
            ExpectedPageHead("Cats.html", "Cats") + body + "<hr size=\"1\">" + ExpectedTail(""));
}

TEST_F(PageWriterTest, NameHeadingsAreRootNotesWithFlatsAndSharps) {
  const ChordDatabase db = Read(
      "{define: Am frets x 0 2 2 1 0}\n{define: A7 frets x 0 2 0 2 0}\n"
      "{define: Bb frets x 1 3 3 3 1}\n{define: B frets x 2 4 4 4 2}\n",
      kSortByName);
  ASSERT_TRUE(
      WriteDatabasePage(db, "Names", folder_.path(), ImageKind::kPng, Options(kSortByName)).ok());
  std::string body;
  std::string lastRoot;
  for (const ChordRecord& chord : db.chords) {
    if (chord.RootNote() != lastRoot) {
      body += ExpectedHeading(chord.RootNote());
      lastRoot = chord.RootNote();
    }
    body += Tag(chord.recordOffset);
  }
  EXPECT_EQ(Page("Names"),
            ExpectedPageHead("Names.html", "Names") + body + "<hr size=\"1\">" + ExpectedTail(""));
  // Three headings, in collection order: A, Bb, B.
  const std::string page = Page("Names");
  EXPECT_LT(page.find(ExpectedHeading("A")), page.find(ExpectedHeading("Bb")));
  EXPECT_LT(page.find(ExpectedHeading("Bb")), page.find(ExpectedHeading("B")));
}

TEST_F(PageWriterTest, PositionOrderHasNoHeadingsAndTagsAreScaledAndFramed) {
  const ChordDatabase db = Read(
      "category 0 Unfiled id 0\ncategory 1 Major\n"
      "{define: C frets x 3 2 0 1 0}\ncategory 1\n{define: Am frets x 0 2 2 1 0}\n",
      kSortByPosition);
  PageOptions options = Options(kSortByPosition);
  options.imagePercent = 50;
  options.frameImages = true;
  ASSERT_TRUE(WriteDatabasePage(db, "Pos", folder_.path(), ImageKind::kPng, options).ok());
  EXPECT_EQ(Page("Pos"),
            ExpectedPageHead("Pos.html", "Pos") + Tag(db.chords[0].recordOffset, 50, 1) +
                Tag(db.chords[1].recordOffset, 50, 1) + "<hr size=\"1\">" + ExpectedTail(""));
}

TEST_F(PageWriterTest, MarkupInTheBaseNameIsEscaped) {
  const ChordDatabase db = Read("", kSortByPosition);
  ASSERT_TRUE(
      WriteDatabasePage(db, "a&b<c>", folder_.path(), ImageKind::kPng, Options(kSortByPosition))
          .ok());
  EXPECT_EQ(Page("a&b<c>"), ExpectedPageHead("a&amp;b&lt;c&gt;.html", "a&amp;b&lt;c&gt;") +
                                "<hr size=\"1\">" + ExpectedTail(""));
}

TEST_F(PageWriterTest, PagesDrawnOnOneOrSeveralThreadsAreIdentical) {
  std::string description;
  for (int i = 0; i < 40; ++i) {
    description += "{define: C" + std::to_string(i) + " frets x 3 2 0 1 " + std::to_string(i % 5) +
                   "}\ncategory " + std::to_string(i % 3) + "\n";
  }
  const ChordDatabase db = Read(description, kSortByCategory);
  testing::TempFolder other;
  PageOptions options = Options(kSortByCategory);
  // The threaded run comes first, with every cache cold, so that the threads race on filling
  // them (the thread-sanitizer build runs this test too).
  options.threads = 4;
  std::size_t lastDone = 0;
  std::size_t calls = 0;
  ASSERT_TRUE(WriteDatabasePage(db, "Many", other.path(), ImageKind::kPng, options,
                                [&](std::size_t done, std::size_t total) {
                                  EXPECT_EQ(total, 40u);
                                  EXPECT_GE(done, lastDone);
                                  lastDone = done;
                                  ++calls;
                                })
                  .ok());
  options.threads = 1;
  ASSERT_TRUE(WriteDatabasePage(db, "Many", folder_.path(), ImageKind::kPng, options).ok());
  EXPECT_EQ(lastDone, 40u);
  EXPECT_GT(calls, 0u);
  EXPECT_EQ(Page("Many"), MaskTimestamp(ReadFile(other / "Many.html")));
  const auto names = testing::List(folder_.path());
  ASSERT_EQ(names, testing::List(other.path()));
  for (const std::string& name : names) {
    if (name != "Many.html") {
      EXPECT_EQ(ReadFile(folder_ / name), ReadFile(other / name)) << name;
    }
  }
}

TEST_F(PageWriterTest, UnwritablePageOrImageIsReportedAsFailure) {
  const ChordDatabase db =
      Read("{define: C frets x 3 2 0 1 0}\n{define: G frets 3 2 0 0 0 3}\n", kSortByPosition);
  // A folder in the way of the page file, and another in the way of the first image.
  ASSERT_EQ(::mkdir((folder_ / "Blocked.html").c_str(), 0777), 0);
  ASSERT_EQ(
      ::mkdir((folder_ / ImageFileName(db.chords[0].recordOffset, ImageKind::kPng)).c_str(), 0777),
      0);
  const PageWritten written =
      WriteDatabasePage(db, "Blocked", folder_.path(), ImageKind::kPng, Options(kSortByPosition));
  EXPECT_FALSE(written.ok());
  ASSERT_FALSE(written.images);
  ASSERT_FALSE(written.page);
  EXPECT_NE(PageErrorText(written.images.error())
                .find(ImageFileName(db.chords[0].recordOffset, ImageKind::kPng)),
            std::string::npos);
  EXPECT_NE(PageErrorText(written.page.error()).find("Blocked.html"), std::string::npos);
  EXPECT_TRUE(messages_.messages.empty());
  // The other chord's image was still written.
  EXPECT_GT(PngSize(folder_ / ImageFileName(db.chords[1].recordOffset, ImageKind::kPng)).first, 0);
}

TEST(PageStream, AFailedWriteKeepsTheOldFileWholeAndNamesItsOwnReason) {
  testing::TempFolder folder;
  const std::string path = folder / "page.html";
  {
    std::FILE* old = std::fopen(path.c_str(), "w");
    std::fputs("the old page", old);
    std::fclose(old);
  }
  PageStream page(path);
  ASSERT_TRUE(page.ok());
  {
    testing::FileSizeLimit full(4096);
    const std::string line(1000, 'x');
    for (int i = 0; i < 100; ++i) page.Print("%s\n", line.c_str());  // past the limit
    errno = ENOENT;  // what a later call (the clock, another file) may leave behind
    std::FILE* other = std::fopen("/no/such/file", "r");
    EXPECT_EQ(other, nullptr);
    EXPECT_FALSE(page.Close());
  }
  EXPECT_EQ(page.error(), EFBIG);
  EXPECT_EQ(ReadFile(path), "the old page");
  EXPECT_EQ(testing::List(folder.path()), std::vector<std::string>{"page.html"});
}

// The pages for today's browsers: the validators and the browser read them back as a whole
// (tests/export/page-readback.py); here the facts they cannot know.
class ModernPageTest : public PageWriterTest {
 protected:
  static PageOptions Modern(int sortOrder) {
    PageOptions options = Options(sortOrder);
    options.pageStyle = PageStyle::kModern;
    return options;
  }
  static std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
      ++count;
    }
    return count;
  }
};

TEST_F(ModernPageTest, HeadingsInUtf8AndEveryDiagramNamedByItsWords) {
  // Category names in the handheld's code page: an accented letter becomes UTF-8; slot 9 is
  // free. A base name that is no UTF-8 gets the replacement character.
  const ChordDatabase db = Read(
      "category 0 Unfiled id 0\ncategory 3 \"Caf\\xE9 & <Barre>\" id 3\n"
      "{define: C frets x 3 2 0 1 0}\ncategory 0\n"
      "{define: F frets 1 3 3 2 1 1}\ncategory 3\n"
      "{define: E frets 0 2 2 1 0 0}\ncategory 9\n",
      kSortByPosition);
  ASSERT_EQ(db.chords.size(), 3u);
  PageOptions options = Modern(kSortByCategory);
  options.imagePercent = 50;
  ASSERT_TRUE(
      WriteDatabasePage(db, "Caf\xC3\xA9 \xFF", folder_.path(), ImageKind::kPng, options).ok());
  const std::string page = Page("Caf\xC3\xA9 \xFF");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">", 0),
            0u);
  EXPECT_NE(page.find("<h1>Caf\xC3\xA9 \xEF\xBF\xBD</h1>"), std::string::npos);
  const std::size_t unfiled = page.find("<h2>Unfiled</h2>");
  const std::size_t cafe = page.find("<h2>Caf\xC3\xA9 &amp; &lt;Barre&gt;</h2>");
  ASSERT_NE(cafe, std::string::npos);
  EXPECT_LT(unfiled, cafe);
  EXPECT_EQ(Count(page, "<h2>Unfiled</h2>"), 2u);
  // Without --alt-text every diagram still has its words, at the scaled size.
  for (const ChordRecord& chord : db.chords) {
    const std::string file = ImageFileName(chord.recordOffset, ImageKind::kPng);
    const auto [width, height] = PngSize(folder_ / file);
    EXPECT_NE(page.find("<figure><img src=\"" + file + "\" alt=\"" + DescribeDiagram(chord) +
                        "\" width=\"" + std::to_string(width / 2) + "\" height=\"" +
                        std::to_string(height / 2) + "\"></figure>"),
              std::string::npos)
        << file;
  }
  EXPECT_EQ(Count(page, "<div class=\"chords\">"), 3u);
  // The grid's cells grow with the scale, and its tiles' padding.
  const int half =
      PngSize(folder_ / ImageFileName(db.chords[0].recordOffset, ImageKind::kPng)).first / 2;
  EXPECT_NE(page.find("minmax(max(6.5rem,min(100%," + std::to_string(half + 8) + "px)),1fr)"),
            std::string::npos);
  for (const char* classic : {"<font", "<table", "align=", "<FORM", "bgcolor", "border="}) {
    EXPECT_EQ(page.find(classic), std::string::npos) << classic;
  }
  // The footer's words are the classic page's.
  EXPECT_NE(page.find("<footer>\n<p>HTML Created: "), std::string::npos);
  EXPECT_NE(page.find("a Palm OS Application. All rights reserved by Quillory Software."),
            std::string::npos);
}

TEST_F(ModernPageTest, NamelessHeadingsAreNamedAndEmptyDatabasesHaveNoGrid) {
  const ChordDatabase db = Read(
      "{define: \"\" frets x 3 2 0 1 0}\n{define: \" \" frets 3 2 0 0 0 3}\n"
      "{define: Am frets x 0 2 2 1 0}\n",
      kSortByName);
  ASSERT_TRUE(
      WriteDatabasePage(db, "Names", folder_.path(), ImageKind::kSvg, Modern(kSortByName)).ok());
  const std::string page = Page("Names");
  EXPECT_EQ(page.find("<h2></h2>"), std::string::npos);
  EXPECT_EQ(page.find("<h2> </h2>"), std::string::npos);
  EXPECT_GE(Count(page, "<h2>(no name)</h2>"), 1u);
  EXPECT_EQ(Count(page, "<h2>A</h2>"), 1u);
  EXPECT_EQ(Count(page, "<figure><img src="), 3u);

  const ChordDatabase empty = Read("database Empty\n", kSortByCategory);
  PageOptions framed = Modern(kSortByCategory);
  framed.frameImages = true;
  ASSERT_TRUE(WriteDatabasePage(empty, "Empty", folder_.path(), ImageKind::kPng, framed).ok());
  const std::string none = Page("Empty");
  EXPECT_NE(none.find("<main>\n</main>"), std::string::npos);
  EXPECT_NE(none.find("figure img{outline:1px solid"), std::string::npos);
  EXPECT_NE(none.rfind("</footer>\n</body>\n</html>\n"), std::string::npos);
}

TEST(EscapeUtf8Html, CharactersAnHtml5PageMayNotCarryAreReplaced) {
  // C0 and C1 controls, a noncharacter, a byte that is no UTF-8; tab and line feed stay.
  EXPECT_EQ(EscapeUtf8Html("a\x01"
                           "b\xC2\x81"
                           "c\xEF\xB7\x90"
                           "d\xFF"
                           "e\t\n\"<&>'"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD"
            "c\xEF\xBF\xBD"
            "d\xEF\xBF\xBD"
            "e\t\n&quot;&lt;&amp;&gt;'");
  EXPECT_EQ(EscapeUtf8Html("Caf\xC3\xA9 \xE2\x99\xAF"), "Caf\xC3\xA9 \xE2\x99\xAF");
}

TEST(ModernIndex, DatabasesAndTheirFilesAreNestedListsThatCloseInOrder) {
  testing::TempFolder folder;
  IndexWriter index;
  ASSERT_TRUE(index.Open(folder / "index.html", "/music/a&b", PageStyle::kModern));
  index.AddPage("Guitar Chords");
  index.AddLink("Guitar Chords", "Guitar Chords.cho", "Guitar Chords.cho");
  index.AddLink("Guitar Chords", "Guitar Chords.json", "Guitar Chords.json");
  index.AddError("broken.pdb");
  index.AddLink("Only Files", "Only Files.json", "Only Files.json");  // no page of its own
  index.AddPage("Banjo");
  ASSERT_TRUE(index.Finish());
  const std::string page = MaskTimestamp(ReadFile(folder / "index.html"));
  EXPECT_NE(page.find("<h1>Index for folder: /music/a&amp;b</h1>"), std::string::npos);
  const std::string list =
      "<ul>\n"
      "<li><a href=\"Guitar%20Chords/Guitar%20Chords.html\">Guitar Chords</a>\n<ul>"
      "<li><a href=\"Guitar%20Chords/Guitar%20Chords.cho\">Guitar Chords.cho</a></li>"
      "<li><a href=\"Guitar%20Chords/Guitar%20Chords.json\">Guitar Chords.json</a></li>"
      "</ul></li>\n"
      "<li>broken.pdb - ERROR</li>\n"
      "<li>Only Files\n<ul><li><a href=\"Only%20Files/Only%20Files.json\">Only Files.json</a>"
      "</li></ul></li>\n"
      "<li><a href=\"Banjo/Banjo.html\">Banjo</a></li>\n"
      "</ul>\n</main>\n<footer>";
  EXPECT_NE(page.find(list), std::string::npos) << page;
}

}  // namespace
}  // namespace strumlet
