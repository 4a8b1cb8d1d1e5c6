// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "TestSupport.h"
#include "strumlet/convert/OutputFormats.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/FolderLock.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

using testing::Exists;
using testing::ExpectedIndexHead;
using testing::ExpectedTail;
using testing::List;
using testing::MaskTimestamp;
using testing::ReadFile;
using testing::WriteDatabase;
using Messages = std::vector<std::pair<std::string, std::string>>;

std::string Words(const std::optional<std::vector<const OutputFormat*>>& formats) {
  if (!formats) return "none";
  std::string words;
  for (const OutputFormat* format : *formats) words += std::string(format->word) + " ";
  return words;
}

// The --format words, help and refusal come from the format table; they must read as the
// command line always printed them.
TEST(OutputFormats, FormatWordsNameTheRowsOnceEachInTableOrder) {
  EXPECT_EQ(Words(ParseFormats("all")), "jpeg png chordpro musicxml json pdf ");
  EXPECT_EQ(Words(ParseFormats("svg,both,png")), "jpeg png svg ");
  EXPECT_EQ(Words(ParseFormats("json,chordpro")), "chordpro json ");
  EXPECT_EQ(Words(ParseFormats("jpeg,")), "none");
  EXPECT_EQ(Words(ParseFormats("PNG")), "none");
  EXPECT_EQ(FormatHelp(),
            "pages with jpeg, png, svg or both (jpeg and png) images; chordpro, musicxml, json, "
            "pdf or midi files; or all (jpeg, png and the four files); several joined by commas, "
            "such as svg,musicxml (default: jpeg)");
  EXPECT_EQ(FormatProblem("gif"),
            "gif is not jpeg, png, svg, both, chordpro, musicxml, json, pdf, midi or all, nor "
            "several of them joined by commas");
  for (const OutputFormat& format : OutputFormats()) {
    const bool file = format.write != nullptr || format.writeBook != nullptr;
    EXPECT_EQ(format.page.has_value(), !file) << format.word;
    EXPECT_EQ(format.menuText != nullptr, file) << format.word;
  }
}

constexpr const char* kGuitar =
    "database \"Guitar Chords\"\ncategory 0 Unfiled id 0\ncategory 1 Major\n"
    "{define: C frets x 3 2 0 1 0}\ncategory 1\n{define: Am frets x 0 2 2 1 0}\n";
constexpr const char* kNotOurs = "creator ABCD\n{define: C frets x 3 2 0 1 0}\n";

class ConversionTest : public ::testing::Test {
 protected:
  ConversionTest() {
    ::mkdir(input_.c_str(), 0777);
    ::mkdir(output_.c_str(), 0777);
    settings_.m_bJpeg = true;
    settings_.m_bPng = false;
    settings_.m_nChordPercent = 100;
    settings_.m_nSort = kSortByPosition;
    settings_.m_nFontSize = 12;
    settings_.m_strFontFile = DefaultFontFile();
    settings_.m_strOutputPath = output_;
  }

  std::string Index() { return MaskTimestamp(ReadFile(output_ + "/index.html")); }

  testing::TempFolder root_;
  std::string input_ = root_ / "in";
  std::string output_ = root_ / "out";
  ProcessingSettings settings_;
  testing::RecordingMessenger messages_;
  ScopedMessenger scoped_{messages_};
};

TEST_F(ConversionTest, SingleDatabaseGetsItsPageAndIsShown) {
  WriteDatabase(input_ + "/Guitar Chords.PDB", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Guitar Chords.PDB"));
  EXPECT_EQ(doc.BaseName, "Guitar Chords");
  EXPECT_EQ(doc.DestinationFolder, output_ + "/Guitar Chords");
  EXPECT_EQ(doc.PagePath, output_ + "/Guitar Chords/Guitar Chords.html");
  EXPECT_EQ(doc.GetTitle(), "Guitar Chords.html");
  EXPECT_EQ(List(output_), std::vector<std::string>{"Guitar Chords"});
  const auto files = List(output_ + "/Guitar Chords");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[2], "Guitar Chords.html");
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(files[static_cast<std::size_t>(i)].ends_with(".jpg"));
  }
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(doc.summary().failures, 0);
}

TEST_F(ConversionTest, AFileIsOneDatabaseAndADirectoryAFolderWhateverTheirNamesEndIn) {
  const std::string folder = root_ / "palm-pdb";
  ::mkdir(folder.c_str(), 0777);
  WriteDatabase(folder + "/Chords.Pdb", kGuitar);
  CStrumletViewerDoc file(settings_), run(settings_);
  ASSERT_TRUE(file.OnOpenDocument(folder + "/Chords.Pdb"));
  ASSERT_TRUE(run.OnOpenDocument(folder));
  EXPECT_EQ(run.summary().databases - run.summary().failures, 1);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(ConversionTest, MissingSingleDatabaseFailsSilently) {
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_ + "/none.pdb"));
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_TRUE(doc.PagePath.empty());
}

TEST_F(ConversionTest, DatabaseNameThatIsNoPlainFileIsRefusedWithoutReading) {
  ASSERT_EQ(::mkfifo((input_ + "/pipe.pdb").c_str(), 0666), 0);  // opening it would block
  ::mkdir((input_ + "/folder.pdb").c_str(), 0777);
  CStrumletViewerDoc doc(settings_);
  for (const char* name : {"/pipe.pdb", "/folder.pdb"}) {
    messages_.messages.clear();
    EXPECT_LT(doc.ProcessDatabase(input_ + name, output_), 0) << name;
    ASSERT_EQ(messages_.messages.size(), 1u) << name;
    EXPECT_NE(messages_.messages[0].text.find(name), std::string::npos);
  }
  EXPECT_TRUE(List(output_).empty());
}

TEST_F(ConversionTest, SingleFileOfAnotherProgramIsReadButGetsNoPage) {
  WriteDatabase(input_ + "/other.pdb", kNotOurs);
  CStrumletViewerDoc doc(settings_);
  EXPECT_TRUE(doc.OnOpenDocument(input_ + "/other.pdb"));
  EXPECT_TRUE(doc.PagePath.empty());
  EXPECT_EQ(messages_.Pairs(),
            (Messages{{"",
                       "The selected database is not a Strumlet database.  It cannot be "
                       "processed.\n'" +
                           input_ +
                           "/other.pdb' is a Palm database of another program (creator 'ABCD'), "
                           "not a chord database."}}));
  EXPECT_EQ(doc.summary().failures, 1);
  EXPECT_TRUE(List(output_).empty());
}

TEST_F(ConversionTest, FolderIndexLinksPagesAndMarksFailures) {
  WriteDatabase(input_ + "/Guitar Chords.pdb", kGuitar);
  WriteDatabase(input_ + "/other.pdb", kNotOurs);   // not ours: no line at all
  WriteDatabase(input_ + "/.hidden.pdb", kGuitar);  // hidden: not offered
  WriteDatabase(input_ + "/notes.txt", kGuitar);    // not a database name
  ::mkdir((input_ + "/sub.pdb").c_str(), 0777);     // a folder is never a database
  WriteDatabase(input_ + "/Blocked.pdb", kGuitar);
  WriteDatabase(output_ + "/Blocked", "");  // a file where its destination folder should be

  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(doc.PagePath, output_ + "/index.html");
  EXPECT_EQ(doc.GetTitle(), "index.html");
  EXPECT_EQ(
      messages_.Pairs(),
      (Messages{{"StrumletViewer",
                 "Error: Invalid Destination Folder: '" + output_ + "/Blocked' is a file"},
                {"", "Converted 1 of 3 files in '" + input_ +
                         "'.\n'other.pdb' is a Palm database of another program (creator "
                         "'ABCD'), not a chord database.\n'Blocked.pdb' was not converted."}}));
  EXPECT_EQ(doc.summary().databases, 2);
  EXPECT_EQ(doc.summary().failures, 1);

  // The two lines come in directory order, which the test does not fix.
  const std::string good =
      "\n\t<br><a href=\"Guitar%20Chords/Guitar%20Chords.html\">Guitar "
      "Chords</a>";
  const std::string bad = "\n\t<br>Blocked.pdb - ERROR";
  const std::string index = Index();
  const std::string head = ExpectedIndexHead(input_);
  const std::string tail = ExpectedTail("<br><br>");
  EXPECT_TRUE(index == head + good + bad + tail || index == head + bad + good + tail) << index;
  EXPECT_TRUE(Exists(output_ + "/Guitar Chords/Guitar Chords.html"));
  EXPECT_FALSE(Exists(output_ + "/hidden"));
  EXPECT_FALSE(Exists(output_ + "/other"));
}

TEST_F(ConversionTest, AFolderWithoutDatabasesKeepsTheOldIndexAndSkippedFilesAreNamed) {
  WriteDatabase(input_ + "/other.pdb", kNotOurs);
  std::ofstream(input_ + "/notes.pdb") << "plain words\n";
  std::ofstream(output_ + "/index.html") << "old";
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_ + "/"));
  EXPECT_EQ(ReadFile(output_ + "/index.html"), "old");
  const std::string skipped =
      "\n'notes.pdb' is a text file, not a Palm database.\n'other.pdb' is a Palm database of "
      "another program (creator 'ABCD'), not a chord database.";
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"No chord databases in '" + input_ + "/'." + skipped});

  messages_.messages.clear();
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"Converted 1 of 3 files in '" + input_ + "'." + skipped});
}

TEST_F(ConversionTest, AStoppedFolderRunKeepsItsPagesWholeAndTheOldIndex) {
  for (const char* name : {"/A.pdb", "/B.pdb", "/C.pdb"}) WriteDatabase(input_ + name, kGuitar);
  std::ofstream(output_ + "/index.html") << "old";
  CStrumletViewerDoc doc(settings_);
  doc.SetProgressCallback([&doc](const ConversionProgress& progress) {
    if (progress.databasesDone == 1) doc.RequestStop();
  });
  EXPECT_FALSE(doc.OnOpenDocument(input_));
  EXPECT_TRUE(doc.summary().stopped);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Stopped after 1 of 3 databases."});
  EXPECT_EQ(ReadFile(output_ + "/index.html"), "old");
  ASSERT_EQ(List(output_).size(), 2u);
  const std::string first = List(output_)[0] == "index.html" ? List(output_)[1] : List(output_)[0];
  EXPECT_TRUE(ReadFile(output_ + "/" + first + "/" + first + ".html").ends_with("</html>"));
}

TEST_F(ConversionTest, MarkupInTheFolderPathIsEscaped) {
  const std::string odd = root_ / "a&b";
  ::mkdir(odd.c_str(), 0777);
  WriteDatabase(odd + "/Guitar.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(odd));
  EXPECT_EQ(Index().rfind(ExpectedIndexHead(root_ / "a&amp;b"), 0), 0u);
}

TEST_F(ConversionTest, FolderRunNeedsAnExistingOutputFolder) {
  const std::string missing = root_ / "missing";
  settings_.m_strOutputPath = missing;
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_));
  EXPECT_EQ(messages_.Pairs(),
            (Messages{{"Invalid Destination Folder",
                       "'" + missing + "' is not a valid file or folder path."}}));
  EXPECT_TRUE(doc.summary().invalidOutput);
  EXPECT_FALSE(Exists(root_ / "missing"));
}

TEST_F(ConversionTest, SingleRunIntoMissingOutputFolderIsAnInvalidDestination) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  settings_.m_strOutputPath = root_ / "missing/deeper";
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_ + "/Guitar.pdb"));
  EXPECT_EQ(messages_.Pairs(),
            (Messages{{"StrumletViewer", "Error: Invalid Destination Folder: '" +
                                             settings_.m_strOutputPath +
                                             "/Guitar' cannot be created: No such file or "
                                             "directory"}}));
}

TEST_F(ConversionTest, TrailingSeparatorOnTheOutputFolderChangesNothing) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  for (const std::string& output : {output_, output_ + "/"}) {
    settings_.m_strOutputPath = output;
    CStrumletViewerDoc doc(settings_);
    ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Guitar.pdb"));
    EXPECT_EQ(doc.DestinationFolder, output_ + "/Guitar");
    EXPECT_EQ(doc.PagePath, output_ + "/Guitar/Guitar.html");
  }
}

TEST_F(ConversionTest, BaseNameComesFromTheFileNameOnly) {
  const std::string dotted = root_ / "my.data";
  ::mkdir(dotted.c_str(), 0777);
  WriteDatabase(dotted + "/Chords.v2.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(dotted + "/Chords.v2.pdb"));
  EXPECT_EQ(doc.BaseName, "Chords");
  EXPECT_TRUE(Exists(output_ + "/Chords/Chords.html"));
}

TEST_F(ConversionTest, BothFormatsLeaveBothImageSetsAndTheJpegPage) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  settings_.m_bPng = true;
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Guitar.pdb"));
  EXPECT_TRUE(doc.WritePng);
  EXPECT_EQ(doc.ProcessDatabase(input_ + "/Guitar.pdb", output_), CStrumletViewerDoc::kJpegPage);
  int png = 0;
  int jpg = 0;
  for (const std::string& name : List(output_ + "/Guitar")) {
    png += name.ends_with(".png");
    jpg += name.ends_with(".jpg");
  }
  EXPECT_EQ(png, 2);
  EXPECT_EQ(jpg, 2);
  const std::string page = ReadFile(output_ + "/Guitar/Guitar.html");
  EXPECT_NE(page.find(".jpg\""), std::string::npos);
  EXPECT_EQ(page.find(".png\""), std::string::npos);

  // SVG besides: written last, so the page is the SVG one, with the tags' sizes unchanged and
  // the words of every diagram, which SVG pages always carry.
  settings_.m_bSvg = true;
  CStrumletViewerDoc all(settings_);
  ASSERT_TRUE(all.OnOpenDocument(input_ + "/Guitar.pdb"));
  EXPECT_EQ(all.ProcessDatabase(input_ + "/Guitar.pdb", output_), CStrumletViewerDoc::kSvgPage);
  const std::string svgPage = ReadFile(output_ + "/Guitar/Guitar.html");
  std::string tags = page, svgTags = svgPage;
  for (std::size_t at; (at = tags.find(".jpg\"")) != std::string::npos;)
    tags.replace(at, 4, ".svg");
  for (const auto& [file, words] : {std::pair{"1ac.svg\"", " alt=\"C: x 3 2 0 1 0\""},
                                    std::pair{"1c0.svg\"", " alt=\"Am: x 0 2 2 1 0\""}}) {
    const auto at = tags.find(file);
    ASSERT_NE(at, std::string::npos);
    tags.insert(at + std::string(file).size(), words);
  }
  EXPECT_EQ(svgTags.substr(0, svgTags.find("HTML Created")),
            tags.substr(0, tags.find("HTML Created")));
  int svg = 0;
  for (const std::string& name : List(output_ + "/Guitar")) svg += name.ends_with(".svg");
  EXPECT_EQ(svg, 2);
}

TEST_F(ConversionTest, NeitherFormatGivesNoPageAndAnErrorLine) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  settings_.m_bJpeg = false;
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(Index(),
            ExpectedIndexHead(input_) + "\n\t<br>Guitar.pdb - ERROR" + ExpectedTail("<br><br>"));
  EXPECT_FALSE(Exists(output_ + "/Guitar/Guitar.html"));
  EXPECT_EQ(doc.summary().failures, 1);

  CStrumletViewerDoc single(settings_);
  EXPECT_FALSE(single.OnOpenDocument(input_ + "/Guitar.pdb"));
}

TEST_F(ConversionTest, EverySecondOpenReadsTheSettingsAgain) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  CStrumletViewerDoc first(settings_);
  ASSERT_TRUE(first.OnOpenDocument(input_ + "/Guitar.pdb"));
  EXPECT_TRUE(first.WriteJpeg);
  settings_.m_bJpeg = false;
  settings_.m_bPng = true;
  settings_.m_nChordPercent = 50;
  CStrumletViewerDoc second(settings_);
  ASSERT_TRUE(second.OnOpenDocument(input_ + "/Guitar.pdb"));
  EXPECT_TRUE(second.WritePng);
  EXPECT_FALSE(second.WriteJpeg);
  EXPECT_EQ(second.ImagePercent, 50);
  EXPECT_EQ(second.LabelFontSize, 14.0);
  EXPECT_EQ(second.NameFontSize, 12.0);
  EXPECT_NE(ReadFile(output_ + "/Guitar/Guitar.html").find(".png\""), std::string::npos);
}

// Every front end's settings become page options and diagram style in one function: each
// setting, changed alone, must come out where the page writer and the renderer read it.
TEST(PageOptionsFor, CarriesEachSettingToItsOwnField) {
  ProcessingSettings settings;
  settings.m_nSort = kSortByName;
  settings.m_nChordPercent = 250;
  settings.m_nFontSize = 30;
  settings.m_strFontFile = "/fonts/serif.ttf";
  PageOptions options = PageOptionsFor(settings);
  EXPECT_EQ(options.sortOrder, kSortByName);
  EXPECT_EQ(options.imagePercent, 250);
  EXPECT_FALSE(options.frameImages);
  DiagramStyle style;
  style.nameSize = 30.0;
  style.fontFile = "/fonts/serif.ttf";
  EXPECT_EQ(options.style, style);
  EXPECT_EQ(options.threads, 0u);

  settings.m_bBorder = true;
  EXPECT_TRUE(PageOptionsFor(settings).frameImages);
  settings.m_bBorder = false;
  settings.m_bLeftHanded = true;
  options = PageOptionsFor(settings);
  EXPECT_TRUE(options.style.leftHanded && !options.style.altText && !options.frameImages);
  settings.m_bLeftHanded = false;
  settings.m_bAltText = true;
  options = PageOptionsFor(settings);
  EXPECT_TRUE(options.style.altText && !options.style.leftHanded);
  EXPECT_EQ(options.pageStyle, PageStyle::kClassic);
  settings.m_bModernPage = true;
  EXPECT_EQ(PageOptionsFor(settings).pageStyle, PageStyle::kModern);
}

TEST_F(ConversionTest, TruncatedDatabaseKeepsItsPageButCountsAsFailure) {
  WriteDatabase(input_ + "/Cut.pdb", std::string(kGuitar) + "truncate -3\n");
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Cut.pdb"));
  EXPECT_FALSE(doc.database().complete);
  EXPECT_EQ(doc.database().chords.size(), 1u);
  EXPECT_TRUE(Exists(output_ + "/Cut/Cut.html"));
  EXPECT_EQ(doc.summary().failures, 1);
  EXPECT_EQ(messages_.messages.size(), 1u);  // the reader's own
}

// An archived collection reaches the driver through a folder, under a mixed-case ".pdb" name;
// its bytes 64..67 must read "STRM" for the folder scan to offer it.
std::string ArchiveNamedLikeADatabase() {
  // value (4 bytes), then the text: one length byte and 59 bytes put "STRM" at 64.
  return "archive-text \"" + std::string(59, 'x') +
         "STRM\"\n{define: C frets x 3 2 0 1 0}\n{define: G frets 3 2 0 0 0 3}\n";
}

TEST_F(ConversionTest, ArchivedCollectionGetsItsPageAndBrokenOneAnErrorLine) {
  testing::WriteArchive(input_ + "/Book.pDB", ArchiveNamedLikeADatabase());
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(Index(), ExpectedIndexHead(input_) + "\n\t<br><a href=\"Book/Book.html\">Book</a>" +
                         ExpectedTail("<br><br>"));
  EXPECT_EQ(List(output_ + "/Book").size(), 3u);

  testing::WriteArchive(input_ + "/Book.pDB", ArchiveNamedLikeADatabase() + "truncate -2\n");
  CStrumletViewerDoc broken(settings_);
  ASSERT_TRUE(broken.OnOpenDocument(input_));
  EXPECT_EQ(Index(),
            ExpectedIndexHead(input_) + "\n\t<br>Book.pDB - ERROR" + ExpectedTail("<br><br>"));
  ASSERT_EQ(messages_.messages.size(), 2u);  // the reader's, then the run's summary
  EXPECT_NE(messages_.messages[0].text.find("Book.pDB"), std::string::npos);
  // A read failure never passes for a written page, whatever its cause code.
  EXPECT_LT(broken.ProcessDatabase(input_ + "/Book.pDB", output_), 0);
}

TEST_F(ConversionTest, UnwritableIndexIsReportedAndTheOpenFails) {
  ::mkdir((output_ + "/index.html").c_str(), 0777);
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_));
  EXPECT_TRUE(doc.summary().indexFailed);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find(output_ + "/index.html"), std::string::npos);
}

TEST_F(ConversionTest, ProgressCountsDatabasesAndChords) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  WriteDatabase(input_ + "/B.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  std::vector<ConversionProgress> seen;
  doc.SetProgressCallback([&](const ConversionProgress& p) { seen.push_back(p); });
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().databasesDone, 2u);
  EXPECT_EQ(seen.back().databasesTotal, 2u);
  bool sawAllChords = false;
  for (const ConversionProgress& p : seen) {
    EXPECT_LE(p.chordsDone, p.chordsTotal);
    sawAllChords |= p.chordsTotal == 2 && p.chordsDone == 2;
  }
  EXPECT_TRUE(sawAllChords);
}

TEST_F(ConversionTest, DatabasesSharingABaseNameKeepTheirOwnPagesRunAfterRun) {
  WriteDatabase(input_ + "/Chords.v1.pdb", kGuitar);
  WriteDatabase(input_ + "/Chords.v2.pdb", "{define: G frets 3 0 0 0 2 3}\n");
  WriteDatabase(input_ + "/x.pdb", "{define: D frets 2 3 2 0 x x}\n");
  WriteDatabase(input_ + "/x.PDB", kGuitar);
  for (int run = 0; run < 2; ++run) {
    CStrumletViewerDoc doc(settings_);
    ASSERT_TRUE(doc.OnOpenDocument(input_));
    EXPECT_EQ(doc.summary().failures, 0);
    // The file name that sorts first keeps the plain name, whatever order the folder lists.
    EXPECT_EQ(List(output_),
              (std::vector<std::string>{"Chords", "Chords-2", "index.html", "x", "x-2"}));
    EXPECT_EQ(List(output_ + "/Chords").size(), 3u);  // two chords and the page
    EXPECT_EQ(List(output_ + "/Chords-2").size(), 2u);
    EXPECT_EQ(List(output_ + "/x").size(), 3u);
    EXPECT_EQ(List(output_ + "/x-2").size(), 2u);
    EXPECT_TRUE(Exists(output_ + "/Chords-2/Chords-2.html"));
    EXPECT_TRUE(Exists(output_ + "/x-2/x-2.html"));
    const std::string index = Index();
    for (const char* link : {"<a href=\"Chords/Chords.html\">Chords</a>",
                             "<a href=\"Chords-2/Chords-2.html\">Chords-2</a>",
                             "<a href=\"x/x.html\">x</a>", "<a href=\"x-2/x-2.html\">x-2</a>"}) {
      EXPECT_NE(index.find(link), std::string::npos) << link;
    }
  }
  // A database that is itself named like a second one keeps its name; the other moves on.
  WriteDatabase(input_ + "/Chords-2.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(List(output_),
            (std::vector<std::string>{"Chords", "Chords-2", "Chords-3", "index.html", "x", "x-2"}));
  const std::string page = ReadFile(output_ + "/Chords-2/Chords-2.html");
  EXPECT_NE(page.find("<img"), page.rfind("<img"));  // its own two chords, not v2's one
  EXPECT_EQ(List(output_ + "/Chords-3").size(), 2u);
}

TEST_F(ConversionTest, ReadErrorIsReportedWithItsReasonAndGivesNoPage) {
  // Reading a process's own memory at offset 0 fails with an I/O error, as a bad disk would.
  const std::string broken = input_ + "/Broken.pdb";
  ASSERT_EQ(::symlink("/proc/self/mem", broken.c_str()), 0);
  {
    std::FILE* probe = std::fopen(broken.c_str(), "rb");
    char byte;
    const bool fails = probe && std::fread(&byte, 1, 1, probe) == 0 && std::ferror(probe);
    if (probe) std::fclose(probe);
    if (!fails) GTEST_SKIP() << "/proc/self/mem gives no read error here";
  }
  CStrumletViewerDoc doc(settings_);
  doc.OnOpenDocument(broken);
  EXPECT_EQ(messages_.Pairs(),
            (Messages{{"", "Could not read '" + broken + "': Input/output error"}}));
  EXPECT_EQ(doc.summary().failures, 1);
  EXPECT_TRUE(doc.PagePath.empty());
  EXPECT_TRUE(List(output_).empty());
}

TEST_F(ConversionTest, SortValueOutsideTheOrdersListsTheChordsByPosition) {
  WriteDatabase(input_ + "/Guitar.pdb", kGuitar);
  for (int sort : {-1, 3}) {
    settings_.m_nSort = sort;
    CStrumletViewerDoc doc(settings_);
    ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Guitar.pdb"));
    EXPECT_EQ(doc.database().chords.size(), 2u) << sort;
    const std::string page = ReadFile(doc.PagePath);
    EXPECT_NE(page.find("<img src=\"" +
                        ImageFileName(doc.database().chords[0].recordOffset, ImageKind::kJpeg)),
              std::string::npos);
    EXPECT_EQ(page.find("<table width=\"95%\""), std::string::npos);  // no headings
    EXPECT_EQ(settings_.m_nSort, sort);
  }
}

TEST_F(ConversionTest, DatabaseNamedWithALeadingDotGetsAFolderOfItsOwn) {
  WriteDatabase(input_ + "/.x.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/.x.pdb"));
  EXPECT_EQ(doc.BaseName, "x");
  EXPECT_EQ(List(output_), std::vector<std::string>{"x"});
  EXPECT_TRUE(Exists(output_ + "/x/x.html"));
}

// The extra output a front end supplies: here a file holding the base name and chord count,
// refused for databases named "Refused".
CStrumletViewerDoc::ExtraOutput CountingOutput(std::vector<std::string>& written) {
  return {".txt", " (count)",
          [&written](const ChordDatabase& db, const std::string& baseName, int,
                     const std::string& path) {
            if (baseName == "Refused") return false;
            std::ofstream(path) << baseName << " " << db.chords.size();
            written.push_back(path);
            return true;
          }};
}

TEST_F(ConversionTest, ExtraOutputIsLinkedBesideThePageAndItsFailureIsAnError) {
  WriteDatabase(input_ + "/Guitar Chords.pdb", kGuitar);
  WriteDatabase(input_ + "/Refused.pdb", kGuitar);
  std::vector<std::string> written;
  CStrumletViewerDoc doc(settings_);
  doc.SetExtraOutput(CountingOutput(written));
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(written, std::vector<std::string>{output_ + "/Guitar Chords/Guitar Chords.txt"});
  EXPECT_EQ(ReadFile(written[0]), "Guitar Chords 2");
  const std::string index = Index();
  EXPECT_NE(index.find("\n\t<br><a href=\"Guitar%20Chords/Guitar%20Chords.html\">Guitar Chords</a>"
                       "\n\t<br><a href=\"Guitar%20Chords/Guitar%20Chords.txt\">Guitar Chords "
                       "(count)</a>"),
            std::string::npos);
  // The page of the refused one is linked, and its missing extra file makes it an error.
  EXPECT_NE(index.find("<a href=\"Refused/Refused.html\">Refused</a>\n\t<br>Refused.pdb - ERROR"),
            std::string::npos);
  EXPECT_EQ(doc.summary().failures, 1);
}

TEST_F(ConversionTest, ExtraOutputAloneNeedsNoImagesAndIsShownForOneDatabase) {
  WriteDatabase(input_ + "/Guitar Chords.pdb", kGuitar);
  settings_.m_bJpeg = settings_.m_bPng = false;
  std::vector<std::string> written;
  CStrumletViewerDoc doc(settings_);
  doc.SetExtraOutput(CountingOutput(written));
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Guitar Chords.pdb"));
  EXPECT_EQ(doc.PagePath, output_ + "/Guitar Chords/Guitar Chords.txt");
  EXPECT_EQ(List(output_ + "/Guitar Chords"), std::vector<std::string>{"Guitar Chords.txt"});
  EXPECT_EQ(doc.summary().failures, 0);

  WriteDatabase(input_ + "/Refused.pdb", kGuitar);
  CStrumletViewerDoc refused(settings_);
  refused.SetExtraOutput(CountingOutput(written));
  EXPECT_FALSE(refused.OnOpenDocument(input_ + "/Refused.pdb"));
  EXPECT_EQ(refused.summary().failures, 1);
}

TEST_F(ConversionTest, ADatabaseThatCannotBeReadIsAFailureAndTheRunGoesOn) {
  WriteDatabase(input_ + "/Good.pdb", kGuitar);
  // Reading a process's own memory at offset 0 fails with an I/O error, as a bad disk would.
  const std::string broken = input_ + "/Broken.pdb";
  ASSERT_EQ(::symlink("/proc/self/mem", broken.c_str()), 0);
  CStrumletViewerDoc doc(settings_);
  EXPECT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(messages_.Pairs(),
            (Messages{{"", "Could not read '" + broken + "': Input/output error"},
                      {"", "Converted 1 of 2 files in '" + input_ +
                               "'.\n'Broken.pdb' was not converted."}}));
  EXPECT_EQ(doc.summary().databases, 2);
  EXPECT_EQ(doc.summary().failures, 1);
  EXPECT_NE(Index().find("Broken.pdb - ERROR"), std::string::npos);
  EXPECT_TRUE(Exists(output_ + "/Good/Good.html"));
}

TEST_F(ConversionTest, AFolderThatCannotBeListedIsAFailureNotAnEmptyIndex) {
  // Root reads every folder, so the run drops to an ordinary user where it can.
  ::chmod(root_.path().c_str(), 0755);
  ::chmod(output_.c_str(), 0777);
  ::chmod(input_.c_str(), 0311);  // enterable, not listable
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    CStrumletViewerDoc doc(settings_);
    const bool opened = doc.OnOpenDocument(input_);
    const bool told =
        messages_.Pairs() == Messages{{"", "Could not read '" + input_ + "': Permission denied"}};
    ::_exit(!opened && doc.summary().listingFailed && told && !Exists(output_ + "/index.html") ? 0
                                                                                               : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot run as an ordinary user here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ConversionTest, ChordsSharingARecordOffsetGetImagesOfTheirOwnAndOneMessage) {
  WriteDatabase(input_ + "/Damaged.pdb",
                "{define: C frets x 3 2 0 1 0}\noffset 4000\n"
                "{define: G frets 3 2 0 0 0 3}\noffset 4000\n"
                "{define: D frets x x 0 2 3 2}\noffset 4000\n");
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Damaged.pdb"));
  EXPECT_EQ(List(output_ + "/Damaged"),
            (std::vector<std::string>{"Damaged.html", "fa0-2.jpg", "fa0-3.jpg", "fa0.jpg"}));
  const std::string page = ReadFile(output_ + "/Damaged/Damaged.html");
  for (const char* image : {"\"fa0.jpg\"", "\"fa0-2.jpg\"", "\"fa0-3.jpg\""}) {
    EXPECT_NE(page.find(image), std::string::npos) << image;
  }
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"'" + input_ +
                                     "/Damaged.pdb' is damaged: a chord shares its record offset "
                                     "with an earlier chord; each still gets a diagram of its "
                                     "own. (2 records)"});
}

TEST_F(ConversionTest, AFaultInManyRecordsIsToldOnceWithItsCountAndEveryChordIsDrawn) {
  std::string description;
  for (int i = 0; i < 217; ++i) {
    // A length past 32 reads 32 name bytes, so the name holds that many.
    description += "{define: ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 frets x 3 2 0 1 0}\nname-length 40\n";
  }
  WriteDatabase(input_ + "/Many.pdb", description);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_ + "/Many.pdb"));
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"Invalid Chord name length. (217 records)\n'" + input_ +
                                     "/Many.pdb' is damaged."});
  EXPECT_EQ(List(output_ + "/Many").size(), 218u);
}

TEST_F(ConversionTest, ASecondRunIntoTheSameFolderWaitsAndSaysSo) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  FolderLock other;
  ASSERT_EQ(other.Acquire(output_, std::chrono::milliseconds(0), nullptr), 0);

  // Gives up after its patience, saying why, and writes nothing.
  CStrumletViewerDoc impatient(settings_);
  impatient.SetLockPatience(std::chrono::milliseconds(300));
  EXPECT_FALSE(impatient.OnOpenDocument(input_));
  EXPECT_TRUE(impatient.summary().outputBusy);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_EQ(messages_.Texts()[0].rfind("Another conversion is writing into '" + output_ + "'", 0),
            0u);
  EXPECT_EQ(List(output_), std::vector<std::string>{FolderLock::kFileName});

  // Goes on once the other run has ended, after saying that it waits.
  std::vector<std::string> waitedFor;
  CStrumletViewerDoc patient(settings_);
  patient.SetProgressCallback([&](const ConversionProgress& progress) {
    if (!progress.waitingFor.empty()) waitedFor.push_back(progress.waitingFor);
  });
  std::thread ending([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other = FolderLock{};
  });
  EXPECT_TRUE(patient.OnOpenDocument(input_));
  ending.join();
  EXPECT_EQ(waitedFor, std::vector<std::string>{output_});
  EXPECT_TRUE(Exists(output_ + "/A/A.html"));
}

TEST_F(ConversionTest, ADestinationFolderThatIsALinkIsRefused) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  const std::string elsewhere = root_ / "elsewhere";
  ::mkdir(elsewhere.c_str(), 0777);
  ASSERT_EQ(::symlink(elsewhere.c_str(), (output_ + "/A").c_str()), 0);
  CStrumletViewerDoc doc(settings_);
  EXPECT_FALSE(doc.OnOpenDocument(input_ + "/A.pdb"));
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_EQ(messages_.Texts()[0].rfind("'" + output_ + "/A' is a symbolic link", 0), 0u);
  EXPECT_TRUE(List(elsewhere).empty());
}

TEST_F(ConversionTest, AReaderOfTheFolderCannotHoldOffItsWriters) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  // Anyone who may read the folder can flock it; the lock is on a file only its writers reach.
  const int folder = ::open(output_.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(folder, LOCK_EX), 0);
  CStrumletViewerDoc doc(settings_);
  doc.SetLockPatience(std::chrono::milliseconds(200));
  EXPECT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_TRUE(messages_.Texts().empty());
  ::close(folder);
  // Nothing of the lock is left once the run has ended.
  EXPECT_EQ(List(output_), (std::vector<std::string>{"A", "index.html"}));

  // Whatever the umask, the lock file is its maker's alone while it is held.
  const mode_t mask = ::umask(0);
  FolderLock held;
  ASSERT_EQ(held.Acquire(output_, std::chrono::milliseconds(0), nullptr), 0);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat((output_ + "/.strumlet.lock").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  held = FolderLock{};

  // A link at the lock file's name is never followed.
  ASSERT_EQ(::symlink((root_ / "elsewhere").c_str(), (output_ + "/.strumlet.lock").c_str()), 0);
  CStrumletViewerDoc linked(settings_);
  EXPECT_FALSE(linked.OnOpenDocument(input_));
  EXPECT_TRUE(linked.summary().invalidOutput);
  EXPECT_FALSE(Exists(root_ / "elsewhere"));
}

TEST_F(ConversionTest, OnlyOurOwnTemporaryNamesAreSweptAndOnlyInFoldersTheRunHolds) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  const std::string folder = output_ + "/A";
  ::mkdir(folder.c_str(), 0777);
  const std::string stale = folder + "/.strumlet-0123456789abcdef.part";
  const std::vector<std::string> users = {folder + "/.strumlet-notes.part",
                                          output_ + "/.strumlet-0123456789ABCDEF.part",
                                          folder + "/.strumlet-0123456789abcdef0.part"};
  for (const std::string& path : users) WriteDatabase(path, "");
  WriteDatabase(stale, "");
  const timespec old[2] = {{1, 0}, {1, 0}};
  for (const std::string& path : users) ::utimensat(AT_FDCWD, path.c_str(), old, 0);
  ::utimensat(AT_FDCWD, stale.c_str(), old, 0);

  // Another run writes into A as its output folder: this one waits for it and keeps out.
  FolderLock other;
  ASSERT_EQ(other.Acquire(folder, std::chrono::milliseconds(0), nullptr), 0);
  CStrumletViewerDoc blocked(settings_);
  blocked.SetLockPatience(std::chrono::milliseconds(200));
  EXPECT_TRUE(blocked.OnOpenDocument(input_));
  EXPECT_EQ(blocked.summary().failures, 1);
  ASSERT_EQ(messages_.Texts().size(), 2u);  // and the run's summary
  EXPECT_EQ(messages_.Texts()[0].rfind("Another conversion is writing into '" + folder + "'", 0),
            0u);
  EXPECT_TRUE(Exists(stale));
  EXPECT_FALSE(Exists(folder + "/A.html"));

  other = FolderLock{};
  CStrumletViewerDoc doc(settings_);
  EXPECT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_TRUE(Exists(folder + "/A.html"));
  EXPECT_FALSE(Exists(stale));
  for (const std::string& path : users) EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(ConversionTest, ARerunKeepsTheModesTheUserGaveAndNewFilesFollowTheUmask) {
  WriteDatabase(input_ + "/A.pdb", kGuitar);
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  const std::string page = output_ + "/A/A.html";
  const std::vector<std::string> images = List(output_ + "/A");
  const std::string image = output_ + "/A/" + images.front();
  ASSERT_NE(image, page);
  ::chmod(page.c_str(), 0600);
  ::chmod(image.c_str(), 0640);
  const mode_t mask = ::umask(077);
  WriteDatabase(input_ + "/B.pdb", kGuitar);
  CStrumletViewerDoc again(settings_);
  EXPECT_TRUE(again.OnOpenDocument(input_));
  ::umask(mask);
  auto mode = [](const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
  };
  EXPECT_EQ(mode(page), 0600u);
  EXPECT_EQ(mode(image), 0640u);
  EXPECT_EQ(mode(output_ + "/B/B.html"), 0600u);
}

TEST_F(ConversionTest, BaseNamesTooLongForTheirFilesAreCutAndKeptApart) {
  // 251 bytes of base name: the longest a ".pdb" file can have, with no room left for ".html".
  // The cut falls inside the last letter's two bytes, which go whole, and the two names that
  // are then the same are kept apart.
  const std::string stem(249, 'a');
  WriteDatabase(input_ + "/" + stem + "\xc3\xa9" + ".pdb", kGuitar);
  WriteDatabase(input_ + "/" + stem + "\xc3\xb6" + ".pdb", kGuitar);
  settings_.m_bPng = true;
  CStrumletViewerDoc doc(settings_);
  ASSERT_TRUE(doc.OnOpenDocument(input_));
  EXPECT_EQ(doc.summary().failures, 0);
  EXPECT_EQ(messages_.Texts().size(), 2u);
  const std::string& first = stem;
  const std::string second = std::string(248, 'a') + "-2";
  EXPECT_TRUE(Exists(output_ + "/" + first + "/" + first + ".html"));
  EXPECT_TRUE(Exists(output_ + "/" + second + "/" + second + ".html"));
}

}  // namespace
}  // namespace strumlet
