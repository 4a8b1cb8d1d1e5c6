// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "Fixture.h"
#include "TestSupport.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/render/ChordDiagram.h"

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

}  // namespace
}  // namespace strumlet
