// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole files: headings per sort order, the samples read back through the fixture writer, and
// the export's promise never to leave a half-written file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ExportSupport.h"
#include "Fixture.h"
#include "FixtureDatabase.h"
#include "TestCommon.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/export/DatabaseExport.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {
namespace {

ChordDatabase Read(const std::string& text, int sortOrder) {
  return testing::ReadFixtureDatabase(text, sortOrder);
}

std::string File(const std::string& text, int sortOrder, const std::string& title = "Songs") {
  const ChordDatabase db = Read(text, sortOrder);
  return WriteChordPro(title, db.chords, db.categories, sortOrder);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// The names in a folder, sorted.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

constexpr const char* kMixed = R"(
category 0 Unfiled id 0
category 1 Major id 1
category 2 "Minor & more" id 2
{define: Am frets x 0 2 2 1 0}
category 2
{define: C frets x 3 2 0 1 0}
category 1
{define: A frets x 0 2 2 2 0}
category 1
{define: Bb frets x 1 3 3 3 1}
category 9
barre 1
{define: Ab frets 4 6 6 5 4 4}
category 1
barre 4
)";

TEST(ChordProFile, CategoryHeadingsWhereTheCategoryChanges) {
  EXPECT_EQ(File(kMixed, kSortByCategory),
            "{title: Songs}\n"
            "{comment: Guitar, 6 strings}\n"
            "{comment: Major}\n"
            "{define: C base-fret 1 frets x 3 2 0 1 0}\n"
            "{define: A base-fret 1 frets x 0 2 2 2 0}\n"
            "{define: Ab base-fret 4 frets 1 3 3 2 1 1 fingers 1 0 0 0 1 1}\n"
            "{comment: Minor & more}\n"
            "{define: Am base-fret 1 frets x 0 2 2 1 0}\n"
            "{comment: Unfiled}\n"
            "{define: Bb base-fret 1 frets x 1 3 3 3 1 fingers 0 1 0 0 0 1}\n");
}

TEST(ChordProFile, RootHeadingsUnderTheNameOrderAndNoneByPosition) {
  EXPECT_EQ(File(kMixed, kSortByName),
            "{title: Songs}\n"
            "{comment: Guitar, 6 strings}\n"
            "{comment: Ab}\n"
            "{define: Ab base-fret 4 frets 1 3 3 2 1 1 fingers 1 0 0 0 1 1}\n"
            "{comment: A}\n"
            "{define: A base-fret 1 frets x 0 2 2 2 0}\n"
            "{define: Am base-fret 1 frets x 0 2 2 1 0}\n"
            "{comment: Bb}\n"
            "{define: Bb base-fret 1 frets x 1 3 3 3 1 fingers 0 1 0 0 0 1}\n"
            "{comment: C}\n"
            "{define: C base-fret 1 frets x 3 2 0 1 0}\n");
  const std::string byPosition = File(kMixed, kSortByPosition);
  EXPECT_EQ(byPosition.find("{comment: A"), std::string::npos);
  EXPECT_EQ(byPosition.find("{comment: Major"), std::string::npos);
}

TEST(ChordProFile, TheTitleIsTheFileNameAsTheFileSystemGivesIt) {
  auto title = [](const std::string& name) {
    const std::string file = File("{define: C frets x 3 2 0 1 0}\n", kSortByPosition, name);
    return file.substr(0, file.find('\n'));
  };
  EXPECT_EQ(title("Akkorde f\xC3\xBCr Gitarre"), "{title: Akkorde f\xC3\xBCr Gitarre}");
  // A name that is no UTF-8 is taken in the handheld's character set.
  EXPECT_EQ(title("Accords \xE0 moi"), "{title: Accords \xC3\xA0 moi}");
}

TEST(ChordProFile, InstrumentCommentsAndRemarksStandBeforeTheirChords) {
  const std::string file = File(
      "{define: \"C\\xB0\" frets x 3 4 2 4 x}\n"
      "set frets 0 120 4 2 4 3 100\n"
      "{define: G7 frets 0 2 1 2}\ninstrument 1\n"
      "{define: None frets 0}\nentry-count 1\n",
      kSortByPosition, "My {Chords}");
  EXPECT_EQ(file,
            "{title: My \\{Chords\\}}\n"
            "{comment: Guitar, 6 strings}\n"
            "# C\xC2\xB0: fret value 120 on string 1 (1 = highest-pitched) shows nothing in the "
            "diagram: written as muted\n"
            "{define-guitar: C\xC2\xB0 base-fret 1 frets x 3 4 2 4 x}\n"
            "{comment: Ukulele, 4 strings}\n"
            "{define-ukulele: G7 base-fret 1 frets 0 2 1 2}\n"
            "{comment: 0 strings}\n"
            "# None: the chord has no strings to define\n");
}

// A define line as what it plays: the name, each string's absolute fret ("x", "0" or the fret
// counted from the nut) and the fingers (0 for none), so that two ways of writing the same chord
// compare equal.
std::string Played(const std::smatch& m) {
  const int base = m[2].matched ? std::max(1, std::stoi(m[2].str())) : 1;
  std::string played = m[1].str() + ":";
  std::istringstream frets(m[3].str());
  for (std::string fret; frets >> fret;) {
    played +=
        " " + (fret == "x" || fret == "0" ? fret : std::to_string(std::stoi(fret) + base - 1));
  }
  if (m[4].matched) {
    played += " /" + std::regex_replace(m[4].str(), std::regex(R"([xX-])"), "0");
  }
  return played;
}

std::vector<std::string> PlayedDefines(const std::string& text) {
  static const std::regex define(
      R"(^\{define:\s+(\S+)(?:\s+base-fret\s+(\d+))?\s+frets\s+([^}]*?)(?:\s+fingers\s+([^}]*))?\}\s*$)");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_match(line, m, define)) lines.push_back(Played(m));
  }
  return lines;
}

std::vector<std::string> Defines(const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("{define:", 0) == 0) lines.push_back(line);
  }
  return lines;
}

TEST(ChordProFile, SamplesComeBackAsTheirSources) {
  for (const char* sample : {"Guitar Chords", "Ukulele Chords", "Banjo Chords"}) {
    SCOPED_TRACE(sample);
    const std::string source =
        fixture::ReadTextFile(std::string(STRUMLET_SAMPLES_DIR) + "/" + sample + ".txt");
    const std::vector<std::string> expected = PlayedDefines(source);
    ASSERT_GT(expected.size(), 10u);
    const std::string file = File(source, kSortByPosition, sample);
    EXPECT_EQ(Defines(file).size(), expected.size());
    // A name the sample repeats comes back as NAME(v2): a reader keeps one chord per name.
    std::vector<std::string> played = PlayedDefines(file);
    std::set<std::string> names;
    for (std::string& chord : played) {
      EXPECT_TRUE(names.insert(chord.substr(0, chord.find(':'))).second) << chord;
      chord = std::regex_replace(chord, std::regex(R"(^(\S+)\(v2\):)"), "$1:");
    }
    EXPECT_EQ(played, expected);
    // No remark but the repeats': every sample chord maps as written.
    EXPECT_EQ(
        std::regex_replace(file, std::regex(R"(\n# \S+\(v2\): another \S+)"), "").find("\n# "),
        std::string::npos);
  }
}

TEST(ChordProFile, EveryChordStaysReachableByItsOwnName) {
  // Two shapes of F and a chord already named F(v2); a C for the guitar and one for the
  // ukulele, which readers tell apart by the instrument they are set to.
  EXPECT_EQ(File("{define: F frets 1 3 3 2 1 1}\n{define: F frets x x 3 2 1 1}\n"
                 "{define: F(v2) frets 1 3 3 2 1 1}\n{define: \"F maj\" frets x x 3 2 1 0}\n"
                 "{define: \"F maj\" frets 1 x 2 2 1 0}\n{define: C frets 0 0 0 3}\ninstrument 1\n"
                 "{define: C frets x 3 2 0 1 0}\n",
                 kSortByPosition),
            "{title: Songs}\n"
            "{comment: Guitar, 6 strings}\n"
            "{define-guitar: F base-fret 1 frets 1 3 3 2 1 1}\n"
            "# F(v3): another F\n"
            "{define-guitar: F(v3) base-fret 1 frets x x 3 2 1 1}\n"
            "{define-guitar: F(v2) base-fret 1 frets 1 3 3 2 1 1}\n"
            "{define-guitar: \"F maj\" base-fret 1 frets x x 3 2 1 0}\n"
            "# F maj(v2): another F maj\n"
            "{define-guitar: \"F maj(v2)\" base-fret 1 frets 1 x 2 2 1 0}\n"
            "{comment: Ukulele, 4 strings}\n"
            "{define-ukulele: C base-fret 1 frets 0 0 0 3}\n"
            "{comment: Guitar, 6 strings}\n"
            "{define-guitar: C base-fret 1 frets x 3 2 0 1 0}\n");
}

TEST(ChordProExport, WritesTheFileOfADatabaseOrAnArchive) {
  testing::TempFolder folder;
  fixture::WriteFile(folder / "Guitar.Chords.pdb",
                     fixture::BuildDatabase("{define: C frets x 3 2 0 1 0}"));
  fixture::WriteFile(folder / "Old.arc", fixture::BuildArchive("{define: Am frets x 0 2 2 1 0}"));
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  ASSERT_TRUE(testing::ExportAndTell(ChordProText, folder / "Guitar.Chords.pdb", kSortByName,
                                     folder / "out.cho"));
  EXPECT_EQ(ReadText(folder / "out.cho"),
            "{title: Guitar}\n{comment: Guitar, 6 strings}\n{comment: C}\n"
            "{define: C base-fret 1 frets x 3 2 0 1 0}\n");
  ASSERT_TRUE(testing::ExportAndTell(ChordProText, folder / "Old.arc", kSortByPosition,
                                     folder / "old.cho"));
  EXPECT_NE(ReadText(folder / "old.cho").find("{define: Am base-fret 1"), std::string::npos);
  EXPECT_TRUE(messages.messages.empty());
}

TEST(ChordProExport, AFailureLeavesTheOldFileAndNothingHalfWritten) {
  testing::TempFolder folder;
  const std::string out = folder / "keep.cho";
  { std::ofstream(out) << "old"; }
  fixture::WriteFile(folder / "other.pdb",
                     fixture::BuildDatabase("creator XXXX\n{define: C frets x 3 2 0 1 0}"));
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);

  EXPECT_FALSE(testing::ExportAndTell(ChordProText, folder / "missing.pdb", kSortByPosition, out));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("missing.pdb"), std::string::npos);

  EXPECT_FALSE(testing::ExportAndTell(ChordProText, folder / "other.pdb", kSortByPosition, out));
  EXPECT_EQ(messages.messages.back().text,
            "The selected database is not a Strumlet database.  It cannot be processed.\n'" +
                (folder / "other.pdb") +
                "' is a Palm database of another program (creator 'XXXX'), not a chord database.");
  EXPECT_EQ(ReadText(out), "old");

  fixture::WriteFile(folder / "ok.pdb", fixture::BuildDatabase("{define: C frets x 3 2 0 1 0}"));
  ::mkdir((folder / "taken.cho").c_str(), 0755);
  EXPECT_FALSE(testing::ExportAndTell(ChordProText, folder / "ok.pdb", kSortByPosition,
                                      folder / "taken.cho"));
  EXPECT_NE(messages.messages.back().text.find("Could not write '" + (folder / "taken.cho")),
            std::string::npos);
  EXPECT_FALSE(testing::ExportAndTell(ChordProText, folder / "ok.pdb", kSortByPosition,
                                      folder / "no/such/x.cho"));
  EXPECT_EQ(Entries(folder.path()),
            (std::vector<std::string>{"keep.cho", "ok.pdb", "other.pdb", "taken.cho"}));
  EXPECT_TRUE(Entries(folder / "taken.cho").empty());

  // Replacing keeps the old file's permissions.
  ::chmod(out.c_str(), 0640);
  ASSERT_TRUE(testing::ExportAndTell(ChordProText, folder / "ok.pdb", kSortByPosition, out));
  struct stat info {};
  ASSERT_EQ(::stat(out.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_NE(ReadText(out).find("{define: C "), std::string::npos);
  EXPECT_TRUE(Exists(out));
}

TEST(ChordProExport, ATruncatedDatabaseSaysSoInTheFile) {
  testing::TempFolder folder;
  fixture::WriteFile(folder / "cut.pdb",
                     fixture::BuildDatabase("{define: C frets x 3 2 0 1 0}\n"
                                            "{define: Am frets x 0 2 2 1 0}\ntruncate -3"));
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  ASSERT_TRUE(testing::ExportAndTell(ChordProText, folder / "cut.pdb", kSortByPosition,
                                     folder / "cut.cho"));
  ASSERT_EQ(messages.messages.size(), 1u);
  const std::string file = ReadText(folder / "cut.cho");
  EXPECT_NE(file.find("{title: cut}\n# The database could not be read to its end"),
            std::string::npos);
  EXPECT_EQ(Defines(file).size(), 1u);
}

}  // namespace
}  // namespace strumlet
