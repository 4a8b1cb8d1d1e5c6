// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the built strumlet-convert as a user would and checks its exit status, its standard
// output and its messages.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Fixture.h"
#include "TestCommon.h"
#include "strumlet/core/FolderLock.h"

namespace {

namespace fs = std::filesystem;
using strumlet::testing::ShellQuote;

constexpr const char* kGuitar =
    "category 0 Unfiled id 0\ncategory 1 Major\n"
    "{define: C frets x 3 2 0 1 0}\ncategory 1\n{define: Am frets x 0 2 2 1 0}\n";

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Result {
  int status = -1;
  std::string out;
  std::string err;
  // The last line of standard output, without its line end.
  std::string LastLine() const {
    std::string text = out;
    if (!text.empty() && text.back() == '\n') {
      text.pop_back();
    }
    return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
  }
};

class ConvertCommandTest : public ::testing::Test {
 protected:
  ConvertCommandTest() { fs::create_directory(In()); }

  std::string In() const { return root_ + "/in"; }
  std::string Out() const { return root_ + "/out"; }

  void Database(const std::string& name, const std::string& description) {
    strumlet::fixture::WriteFile(In() + "/" + name, strumlet::fixture::BuildDatabase(description));
  }

  // Runs the program in `root_` with `arguments`; stderr is not a terminal here. Standard output
  // goes to a file, or to `stdoutTo` when given; `environment` (NAME=value) is set for it.
  Result Convert(const std::vector<std::string>& arguments, const std::string& stdoutTo = "",
                 const std::string& environment = "") {
    // Leak-checked builds must not add their suppression report to the messages.
    std::string command = "cd " + ShellQuote(root_) + " && " + environment +
                          " LSAN_OPTIONS=\"${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0\" " +
                          ShellQuote(STRUMLET_CONVERT);
    for (const std::string& argument : arguments) {
      command += ' ';
      command += ShellQuote(argument);
    }
    command += " >";
    command += ShellQuote(stdoutTo.empty() ? root_ + "/stdout" : stdoutTo);
    command += " 2>";
    command += ShellQuote(root_ + "/stderr");
    command += " </dev/null";
    const int raw = std::system(command.c_str());
    Result run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = stdoutTo.empty() ? Read(root_ + "/stdout") : "";
    run.err = Read(root_ + "/stderr");
    return run;
  }

  // Runs the program with standard output on a terminal of its own: what the terminal got.
  std::string OnTerminal(const std::vector<std::string>& arguments) {
    std::string command = ShellQuote(STRUMLET_CONVERT);
    for (const std::string& argument : arguments) command += ' ' + ShellQuote(argument);
    const std::string shell = "cd " + ShellQuote(root_) + " && script -qec " +
                              ShellQuote(command + " 2>/dev/null") + " /dev/null </dev/null >tty";
    EXPECT_EQ(std::system(shell.c_str()), 0);
    return Read(root_ + "/tty");
  }

  strumlet::testing::TempFolder folder_;
  const std::string root_ = folder_.path();
};

TEST_F(ConvertCommandTest, SingleDatabasePrintsItsPage) {
  Database("Guitar Chords.pdb", kGuitar);
  const Result run = Convert({"-o", Out(), "in/Guitar Chords.pdb"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/Guitar Chords/Guitar Chords.html\n");
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(fs::exists(Out() + "/Guitar Chords/Guitar Chords.html"));
}

TEST_F(ConvertCommandTest, AFileIsADatabaseAndADirectoryAFolderWhateverTheirNamesEndIn) {
  fs::create_directory(In() + "/palm-pdb");
  Database("palm-pdb/Chords.Pdb", std::string("database Chords\n") + kGuitar);
  EXPECT_EQ(Convert({"-o", Out(), "in/palm-pdb/Chords.Pdb"}).status, 0);
  EXPECT_EQ(Convert({"-o", Out(), "in/palm-pdb"}).status, 0);
  EXPECT_TRUE(fs::exists(Out() + "/Chords/Chords.html"));
}

TEST_F(ConvertCommandTest, FolderGoesToStrumletOutputByDefault) {
  Database("A.pdb", kGuitar);
  Database("other.pdb", "creator ABCD\n");  // not ours: skipped, not a failure
  const Result run = Convert({"in"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.LastLine(), root_ + "/StrumletOutput/index.html");
  EXPECT_EQ(run.err, "Converted 1 of 2 files in '" + In() +
                         "'.\n'other.pdb' is a Palm database of another program (creator 'ABCD'), "
                         "not a chord database.\n");
  EXPECT_TRUE(fs::exists(root_ + "/StrumletOutput/A/A.html"));
  const std::string index = Read(root_ + "/StrumletOutput/index.html");
  EXPECT_NE(index.find("<a href=\"A/A.html\">A</a>"), std::string::npos);
  EXPECT_EQ(index.find("other"), std::string::npos);
}

TEST_F(ConvertCommandTest, OptionsReachThePage) {
  Database("G.pdb", kGuitar);
  const Result run = Convert({"--format", "both", "--frame", "--scale", "50", "--sort", "category",
                              "--font-size", "20", "-q", "-o", Out() + "/", "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = Read(Out() + "/G/G.html");
  EXPECT_NE(page.find(".jpg\" width=\""), std::string::npos);
  EXPECT_NE(page.find("border=\"1\">"), std::string::npos);
  EXPECT_NE(page.find("<b><i>Major</i></b>"), std::string::npos);
  int png = 0;
  for (const auto& entry : fs::directory_iterator(Out() + "/G")) {
    png += entry.path().extension() == ".png";
  }
  EXPECT_EQ(png, 2);
}

TEST_F(ConvertCommandTest, TuningsReachTheWordsAndTheChecksOrAreRefusedWithTheirFault) {
  Database("G.pdb", kGuitar);
  Result run = Convert({"-q", "-f", "png,json", "--alt-text", "--tuning", "guitar=open-g",
                        "--tuning", "ukulele=low-g", "-o", Out(), "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(Read(Out() + "/G/G.html").find("alt=\"C: x 3 2 0 1 0, notes A# E G C D\""),
            std::string::npos);
  EXPECT_NE(Read(Out() + "/G/G.json").find("\"name\": \"Guitar, 6 strings, Open G tuning\""),
            std::string::npos);
  // The check hears the same notes: x 3 2 0 1 0 in open G is no C.
  run = Convert({"--check-names", "--tuning", "guitar=D2 G2 D3 G3 B3 D4", "in/G.pdb"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("G: C (x 3 2 0 1 0) sounds A# E G C D"), std::string::npos) << run.out;

  // A usage error, before anything is read or written, naming the fault.
  for (const auto& [tuning, fault] :
       {std::pair{"guitar=D2 A2 D3 G3 A3", "the guitar has 6 strings: 'D2 A2 D3 G3 A3' gives 5"},
        std::pair{"banjo=G4 C3 G3 C4 X4", "'X4' is no pitch"},
        std::pair{"violin=standard", "'violin' is not guitar, ukulele, banjo"}}) {
    run = Convert({"-q", "--tuning", tuning, "-o", Out() + "/never", "in/G.pdb"});
    EXPECT_EQ(run.status, 2) << tuning;
    EXPECT_NE(run.err.find(fault), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Out() + "/never"));
  }
}

TEST_F(ConvertCommandTest, LeftHandedAndAltTextAreChoicesThatLeaveTheDefaultPageAlone) {
  Database("G.pdb", kGuitar);
  ASSERT_EQ(Convert({"-q", "-f", "png", "-o", Out(), "in/G.pdb"}).status, 0);
  const std::string plain = Read(Out() + "/G/G.html");
  EXPECT_EQ(plain.find(" alt="), std::string::npos);

  const Result run =
      Convert({"-q", "-f", "png", "--left-handed", "--alt-text", "-o", Out(), "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = Read(Out() + "/G/G.html");
  EXPECT_NE(page.find("-left.png\" alt=\"C: x 3 2 0 1 0, notes C E G C E\" width="),
            std::string::npos)
      << page;
  // Both kinds of pictures sit side by side: the right-handed ones are still there.
  int left = 0, right = 0;
  for (const auto& entry : fs::directory_iterator(Out() + "/G")) {
    if (entry.path().extension() != ".png") continue;
    (entry.path().stem().string().ends_with("-left") ? left : right) += 1;
  }
  EXPECT_EQ(left, 2);
  EXPECT_EQ(right, 2);
}

TEST_F(ConvertCommandTest, SoundWritesAChordsAudioBesideItsImageAndThePageLinksIt) {
  Database("G.pdb", kGuitar + std::string("{define: Mute frets x x x x x x}\n"
                                          "{define: C frets x 3 2 0 1 0}\n"));
  ASSERT_EQ(Convert({"-q", "-f", "png", "-o", Out(), "in/G.pdb"}).status, 0);
  const std::string plain = Read(Out() + "/G/G.html");
  EXPECT_EQ(plain.find(".ogg"), std::string::npos);
  // Nothing to put the sounds beside: said, not taken for a run that made them.
  const Result none = Convert({"-q", "-f", "json", "--sound", "-o", Out() + "/none", "in/G.pdb"});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("add png, jpeg or svg"), std::string::npos) << none.err;
  EXPECT_FALSE(fs::exists(Out() + "/none"));

  const Result run = Convert({"-q", "-f", "png,svg", "--sound", "-o", Out(), "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::vector<std::string> sounds;
  for (const auto& entry : fs::directory_iterator(Out() + "/G")) {
    if (entry.path().extension() == ".ogg") sounds.push_back(entry.path().filename());
  }
  std::sort(sounds.begin(), sounds.end());
  // Four chords, one of them silent; the repeated C under its image's own name.
  ASSERT_EQ(sounds.size(), 3u);
  const std::string page = Read(Out() + "/G/G.html");
  for (const std::string& sound : sounds) {
    const std::string stem = sound.substr(0, sound.size() - 4);
    EXPECT_TRUE(fs::exists(Out() + "/G/" + stem + ".svg")) << stem;
    EXPECT_NE(page.find("<a href=\"" + sound + "\"><img src=\"" + stem + ".svg\""),
              std::string::npos)
        << page;
    EXPECT_EQ(Read(Out() + "/G/" + sound).substr(0, 4), "OggS");
  }
  EXPECT_EQ(std::count(page.begin(), page.end(), '<') - std::count(plain.begin(), plain.end(), '<'),
            2 * 3)
      << "one link opened and closed for each sounding chord";
  EXPECT_NE(page.find("\"></a>\n"), std::string::npos);
  // The PNG page was written with the same links.
  Convert({"-q", "-f", "png", "--sound", "-o", Out(), "in/G.pdb"});
  EXPECT_NE(Read(Out() + "/G/G.html").find(".png\" width"), std::string::npos);
  EXPECT_NE(Read(Out() + "/G/G.html").find(".ogg\"><img src="), std::string::npos);
}

TEST_F(ConvertCommandTest, SoundWithoutASoundFontSaysSoOnceAndFailsButWritesThePages) {
  Database("G.pdb", kGuitar);
  Database("H.pdb", kGuitar);
  const Result run = Convert({"-q", "-f", "png", "--sound", "-o", Out(), "in"}, "",
                             "STRUMLET_SOUNDFONT=/nonexistent.sf2");
  EXPECT_EQ(run.status, 1) << run.err;
  // Said once for the run, at the database it came to first.
  const std::string told =
      "No chord sounds are written: the SoundFont named by STRUMLET_SOUNDFONT cannot be read "
      "('/nonexistent.sf2'). Install timgm6mb-soundfont or name a SoundFont in "
      "STRUMLET_SOUNDFONT.\n";
  ASSERT_NE(run.err.find(told), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(told, run.err.find(told) + 1), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Converted 0 of 2 files in"), std::string::npos) << run.err;
  for (const char* name : {"G", "H"}) {
    const std::string page = Read(Out() + "/" + name + "/" + name + ".html");
    EXPECT_NE(page.find("<img src="), std::string::npos) << name;
    EXPECT_EQ(page.find(".ogg"), std::string::npos) << name;
  }
}

TEST_F(ConvertCommandTest, PageStyleIsClassicUnlessModernIsAskedFor) {
  Database("G.pdb", kGuitar);
  const Result wrong = Convert({"-q", "--page-style", "fancy", "-o", Out(), "in/G.pdb"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find("fancy"), std::string::npos) << wrong.err;
  EXPECT_FALSE(fs::exists(Out() + "/G"));

  ASSERT_EQ(Convert({"-q", "--page-style", "classic", "-o", Out(), "in"}).status, 0);
  EXPECT_EQ(Read(Out() + "/G/G.html").rfind("<html>\n<head>", 0), 0u);
  EXPECT_EQ(Read(Out() + "/index.html").rfind("<html>\n<head>", 0), 0u);
  const Result run = Convert({"-q", "--page-style", "modern", "-o", Out(), "in"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = Read(Out() + "/G/G.html");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n", 0), 0u);
  EXPECT_NE(page.find("\" alt=\"C: x 3 2 0 1 0\" width="), std::string::npos) << page;
  const std::string index = Read(Out() + "/index.html");
  EXPECT_EQ(index.rfind("<!DOCTYPE html>\n", 0), 0u);
  EXPECT_NE(index.find("<li><a href=\"G/G.html\">G</a></li>"), std::string::npos) << index;
}

TEST_F(ConvertCommandTest, SvgAloneOrJoinedWithTheOtherOutputs) {
  Database("G.pdb", kGuitar);
  auto count = [this](const std::string& extension) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(Out() + "/G")) {
      n += entry.path().extension() == extension;
    }
    return n;
  };
  Result run = Convert({"-f", "svg", "-q", "-o", Out(), "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/G/G.html\n");
  EXPECT_NE(Read(Out() + "/G/G.html").find(".svg\" alt=\""), std::string::npos);
  EXPECT_EQ(count(".svg"), 2);
  EXPECT_EQ(count(".png") + count(".jpg") + count(".cho"), 0);

  // Joined with commas: the page is the SVG one, written last.
  fs::remove_all(Out());
  run = Convert({"-f", "png,svg,chordpro", "-q", "-o", Out(), "in/G.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(Read(Out() + "/G/G.html").find(".svg\" alt=\""), std::string::npos);
  EXPECT_EQ(count(".svg"), 2);
  EXPECT_EQ(count(".png"), 2);
  EXPECT_EQ(count(".cho"), 1);
  EXPECT_EQ(count(".jpg"), 0);
  fs::remove_all(Out());
  ASSERT_EQ(Convert({"-f", "all,svg", "-q", "-o", Out(), "in/G.pdb"}).status, 0);
  EXPECT_EQ(count(".svg") + count(".png") + count(".jpg") + count(".cho"), 7);
}

TEST_F(ConvertCommandTest, FailedDatabasesGiveStatusOneAndTheirMessages) {
  Database("other.pdb", "creator ABCD\n");
  Result run = Convert({"-o", Out(), "in/other.pdb"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  // Each message names the database it concerns, then gives the text unchanged.
  EXPECT_EQ(run.err,
            "other.pdb: The selected database is not a Strumlet database.  It cannot be "
            "processed.\n'" +
                In() +
                "/other.pdb' is a Palm database of another program (creator 'ABCD'), not a chord "
                "database.\n");

  // A truncated database keeps its page, which is still shown.
  Database("Cut.pdb", std::string(kGuitar) + "truncate -3\n");
  run = Convert({"-o", Out(), "in/Cut.pdb"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.LastLine(), Out() + "/Cut/Cut.html");
  EXPECT_EQ(run.err.rfind("Cut.pdb: '" + In() + "/Cut.pdb' ends inside", 0), 0u) << run.err;

  // In a folder the others still get their pages.
  fs::remove(In() + "/Cut.pdb");
  Database("Good.pdb", kGuitar);
  Database("Blocked.pdb", kGuitar);
  fs::create_directories(Out());
  std::ofstream(Out() + "/Blocked") << "in the way";
  run = Convert({"-o", Out(), "in"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.LastLine(), Out() + "/index.html");
  EXPECT_EQ(run.err,
            "Blocked.pdb: Error: Invalid Destination Folder: '" + Out() +
                "/Blocked' is a file\nConverted 1 of 3 files in '" + In() +
                "'.\n'other.pdb' is a Palm database of another program (creator 'ABCD'), not a "
                "chord database.\n'Blocked.pdb' was not converted.\n");
  EXPECT_TRUE(fs::exists(Out() + "/Good/Good.html"));
  EXPECT_NE(Read(Out() + "/index.html").find("Blocked.pdb - ERROR"), std::string::npos);
}

TEST_F(ConvertCommandTest, NamesReachATerminalEscapedAndAFileAsTheyAre) {
  const std::string hostile = "\x1b]0;pwned\a\x1b[2J";
  Database(hostile + ".pdb", "creator ABCD\n");
  Result run = Convert({"-o", Out(), "in/" + hostile + ".pdb"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "\\x1b]0;pwned\\x07\\x1b[2J.pdb: The selected database is not a Strumlet database.  "
            "It cannot be processed.\n'" +
                In() +
                "/\\x1b]0;pwned\\x07\\x1b[2J.pdb' is a Palm database of another program (creator "
                "'ABCD'), not a chord database.\n");

  fs::remove(In() + "/" + hostile + ".pdb");
  Database(hostile + ".pdb", kGuitar);
  // The page path printed last: as it is to a file, for the next command to open.
  run = Convert({"-o", Out() + "/\x1b[2J", "in/" + hostile + ".pdb"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/\x1b[2J/" + hostile + "/" + hostile + ".html\n");
  const std::string escaped = "\\x1b]0;pwned\\x07\\x1b[2J";
  EXPECT_EQ(OnTerminal({"-o", Out() + "/\x1b[2J", "in/" + hostile + ".pdb"}),
            Out() + "/\\x1b[2J/" + escaped + "/" + escaped + ".html\r\n");
  EXPECT_TRUE(fs::exists(Out() + "/\x1b[2J/" + hostile + "/" + hostile + ".html"));
  run = Convert({"in/\x1b[2Jmissing.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("/in/\\x1b[2Jmissing.pdb'"), std::string::npos) << run.err;
}

TEST_F(ConvertCommandTest, AnUnwritableStandardOutputIsAFailure) {
  Database("G.pdb", kGuitar);
  Result run = Convert({"-o", Out(), "in/G.pdb"}, "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "strumlet-convert: could not write standard output: No space left on device\n");
  // A usage error keeps its own status; help text that is lost is a failure too.
  run = Convert({"--scale", "401", "in/G.pdb"}, "/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(Convert({"--help"}, "/dev/full").status, 1);
  EXPECT_EQ(Convert({"--help"}).status, 0);
}

TEST_F(ConvertCommandTest, UsageErrorsAndBadPathsGiveStatusTwo) {
  Database("G.pdb", kGuitar);
  EXPECT_EQ(Convert({}).status, 2);
  EXPECT_EQ(Convert({"--format", "gif", "in/G.pdb"}).status, 2);
  for (const char* format : {"svg,gif", "svg,", ",svg", "SVG", "svg png"}) {
    EXPECT_EQ(Convert({"--format", format, "in/G.pdb"}).status, 2) << format;
  }
  EXPECT_EQ(Convert({"--sort", "colour", "in/G.pdb"}).status, 2);
  EXPECT_EQ(Convert({"--scale", "many", "in/G.pdb"}).status, 2);
  EXPECT_EQ(Convert({"--bogus", "in/G.pdb"}).status, 2);

  Result run = Convert({"--scale", "401", "in/G.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "The scale must be between 25 and 400.\n");
  EXPECT_EQ(Convert({"--scale", "25", "-o", Out(), "in/G.pdb"}).status, 0);

  run = Convert({"--font-size", "7", "in/G.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Please enter an integer between 8 and 36.\n");
  EXPECT_EQ(Convert({"--font-size", "37", "in/G.pdb"}).status, 2);

  run = Convert({"--font", "no-such.ttf", "in/G.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no-such.ttf"), std::string::npos);
  // A file that is no font would leave every diagram without its name.
  run = Convert({"--font", "in/G.pdb", "in/G.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("The font file '" + root_ + "/in/G.pdb' cannot be used: ", 0), 0u)
      << run.err;

  run = Convert({"in/missing.pdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("missing.pdb' is not a valid file or folder path."), std::string::npos);

  run = Convert({"in/G.Pdb"});  // no such file or folder
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "palm file Error: '" + root_ + "/in/G.Pdb' is not a valid file or folder path.\n");

  std::ofstream(root_ + "/file") << "not a folder";
  run = Convert({"-o", root_ + "/file", "in"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Invalid Destination Folder: '" + root_ + "/file' is a file, not a folder.\n");
  EXPECT_EQ(run.out, "");
}

TEST_F(ConvertCommandTest, ChordProFilesBesideOrInsteadOfThePages) {
  Database("Guitar Chords.pdb", kGuitar);
  Database("B.pdb", "instrument 1\n{define: G7 frets 0 2 1 2}\n");
  Result run = Convert({"-f", "chordpro", "-s", "category", "-o", Out(), "in"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.LastLine(), Out() + "/index.html");
  EXPECT_EQ(Read(Out() + "/Guitar Chords/Guitar Chords.cho"),
            "{title: Guitar Chords}\n{comment: Guitar, 6 strings}\n{comment: Unfiled}\n"
            "{define: Am base-fret 1 frets x 0 2 2 1 0}\n{comment: Major}\n"
            "{define: C base-fret 1 frets x 3 2 0 1 0}\n");
  EXPECT_EQ(Read(Out() + "/B/B.cho"),
            "{title: B}\n{comment: Ukulele, 4 strings}\n{comment: Unfiled}\n"
            "{define: G7 base-fret 1 frets 0 2 1 2}\n");
  EXPECT_FALSE(fs::exists(Out() + "/B/B.html"));
  const std::string index = Read(Out() + "/index.html");
  EXPECT_NE(index.find("<a href=\"B/B.cho\">B (ChordPro)</a>"), std::string::npos);
  EXPECT_EQ(index.find(".html\">"), std::string::npos);

  // One database, pages and ChordPro file: the page is the one to show.
  run = Convert({"-f", "all", "-q", "-o", Out(), "in/B.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/B/B.html\n");
  int jpg = 0, png = 0;
  for (const auto& entry : fs::directory_iterator(Out() + "/B")) {
    jpg += entry.path().extension() == ".jpg";
    png += entry.path().extension() == ".png";
  }
  EXPECT_EQ(jpg + png, 2);
  Database("C.pdb", "{define: C frets x 3 2 0 1 0 fingers x 3 2 0 1 0}\n");
  run = Convert({"-f", "chordpro", "-o", Out(), "in/C.pdb"});
  EXPECT_EQ(run.out, Out() + "/C/C.cho\n");
  EXPECT_NE(Read(Out() + "/C/C.cho").find("frets x 3 2 0 1 0 fingers 0 3 2 0 1 0}"),
            std::string::npos);
  run = Convert({"-f", "chordpro", "--no-fingers", "-o", Out(), "in/C.pdb"});
  EXPECT_NE(Read(Out() + "/C/C.cho").find("frets x 3 2 0 1 0}"), std::string::npos);

  // A ChordPro file that cannot be written fails that database, with its message.
  fs::remove(Out() + "/Guitar Chords/Guitar Chords.cho");
  fs::create_directories(Out() + "/Guitar Chords/Guitar Chords.cho/blocked");
  Database("other.pdb", "creator ABCD\n");
  run = Convert({"-f", "chordpro", "-o", Out(), "in/Guitar Chords.pdb"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Could not write '" + Out() + "/Guitar Chords/Guitar Chords.cho'"),
            std::string::npos);
  run = Convert({"-f", "chordpro", "-o", Out(), "in/other.pdb"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
}

TEST_F(ConvertCommandTest, MusicXmlAndJsonFilesAloneOrWithEverything) {
  Database("B.pdb", "instrument 1\n{define: G7 frets 0 2 1 2}\n");
  Result run = Convert({"-f", "musicxml", "-o", Out(), "in/B.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/B/B.musicxml\n");
  EXPECT_NE(Read(Out() + "/B/B.musicxml").find("<kind text=\"7\">dominant</kind>"),
            std::string::npos);
  run = Convert({"-f", "json", "-o", Out(), "in/B.pdb"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Out() + "/B/B.json\n");
  EXPECT_NE(Read(Out() + "/B/B.json").find("\"frets\": [0, 2, 1, 2]"), std::string::npos);
  EXPECT_FALSE(fs::exists(Out() + "/B/B.html"));

  // All of them in a folder run: every file linked from the index, in one order.
  fs::remove_all(Out());
  run = Convert({"-f", "all", "-q", "-o", Out(), "in"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string index = Read(Out() + "/index.html");
  const std::size_t page = index.find("<a href=\"B/B.html\">B</a>");
  const std::size_t cho = index.find("<a href=\"B/B.cho\">B (ChordPro)</a>");
  const std::size_t xml = index.find("<a href=\"B/B.musicxml\">B (MusicXML)</a>");
  const std::size_t json = index.find("<a href=\"B/B.json\">B (JSON)</a>");
  ASSERT_NE(json, std::string::npos);
  EXPECT_LT(page, cho);
  EXPECT_LT(cho, xml);
  EXPECT_LT(xml, json);

  // One file that cannot be written fails the database, and the others are still written.
  fs::remove(Out() + "/B/B.musicxml");
  fs::create_directories(Out() + "/B/B.musicxml/blocked");
  fs::remove(Out() + "/B/B.json");
  run = Convert({"-f", "all", "-q", "-o", Out(), "in"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Could not write '" + Out() + "/B/B.musicxml'"), std::string::npos);
  EXPECT_TRUE(fs::exists(Out() + "/B/B.json"));
  const std::string failed = Read(Out() + "/index.html");
  EXPECT_NE(failed.find("B.pdb - ERROR"), std::string::npos);
  EXPECT_EQ(failed.find("B (MusicXML)"), std::string::npos);
  EXPECT_NE(failed.find("B (JSON)"), std::string::npos);
}

TEST_F(ConvertCommandTest, UsageErrorsLeaveNoOutputFolderBehind) {
  Database("G.pdb", kGuitar);
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"in/no-such-folder"},
                                             {"in/G.Pdb"},
                                             {"in/missing.pdb"},
                                             {"--scale", "401", "in/G.pdb"},
                                             {"--font", "no-such.ttf", "in/G.pdb"},
                                             {"--font", "in/G.pdb", "in/G.pdb"}}) {
    EXPECT_EQ(Convert(arguments).status, 2) << arguments[0];
    EXPECT_FALSE(fs::exists(root_ + "/StrumletOutput")) << arguments[0];
  }
  EXPECT_EQ(Convert({"in"}).status, 0);  // a good run makes the default folder
  EXPECT_TRUE(fs::exists(root_ + "/StrumletOutput/index.html"));
}

TEST_F(ConvertCommandTest, HelpAndVersionSucceed) {
  Result run = Convert({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--font-size"), std::string::npos);
  EXPECT_NE(run.out.find("--output"), std::string::npos);
  EXPECT_NE(run.out.find("chordpro"), std::string::npos);
  run = Convert({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("strumlet-convert"), std::string::npos);
}

// Output that a stopped, starved or contested run leaves behind.
class InterruptedRunTest : public ConvertCommandTest {
 protected:
  // Databases large enough that a run takes a while: `count` of `chords` chords each.
  void ManyDatabases(int count, int chords) {
    std::string description;
    for (int i = 0; i < chords; ++i) description += "{define: C frets x 3 2 0 1 0}\n";
    for (int i = 0; i < count; ++i) Database("D" + std::to_string(i) + ".pdb", description);
  }

  // Starts the program on `arguments` with its messages going to `stderrPath`.
  pid_t Start(const std::vector<std::string>& arguments, const std::string& stderrPath) {
    const pid_t child = ::fork();
    if (child == 0) {
      if (::freopen("/dev/null", "w", stdout) == nullptr ||
          ::freopen(stderrPath.c_str(), "w", stderr) == nullptr) {
        ::_exit(127);
      }
      // A leak-checked build's report of its suppressions is nothing the program said.
      const char* leaks = std::getenv("LSAN_OPTIONS");
      const std::string options =
          (leaks != nullptr && *leaks != '\0' ? std::string(leaks) + ":" : std::string()) +
          "print_suppressions=0";
      ::setenv("LSAN_OPTIONS", options.c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(STRUMLET_CONVERT)};
      for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      ::execv(STRUMLET_CONVERT, argv.data());
      ::_exit(127);
    }
    return child;
  }

  static int Wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Every page and the index hold a whole page and every image a whole PNG; our own temporary
  // files (dot-files) may be left by a killed run, nothing else.
  void ExpectEveryFileWhole() {
    int pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Out())) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name.front() == '.') continue;
      const std::string bytes = Read(entry.path().string());
      if (entry.path().extension() == ".html") {
        ++pages;
        EXPECT_EQ(bytes.rfind("<html>", 0), 0u) << entry.path();
        EXPECT_TRUE(bytes.ends_with("</div></body></html>")) << entry.path();
      } else {
        EXPECT_TRUE(bytes.ends_with(std::string("IEND\xAE\x42\x60\x82", 8))) << entry.path();
      }
    }
    EXPECT_GT(pages, 0);
  }
};

TEST_F(InterruptedRunTest, AKilledRunLeavesEveryPageImageAndTheIndexWhole) {
  ManyDatabases(8, 300);
  ASSERT_EQ(Convert({"-f", "png", "-q", "-o", Out(), "in"}).status, 0);
  for (const int milliseconds : {15, 40, 80, 150, 250, 400, 700}) {
    SCOPED_TRACE(milliseconds);
    const pid_t run = Start({"-f", "png", "-q", "-o", Out(), In()}, root_ + "/killed");
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    ::kill(run, SIGKILL);
    Wait(run);
    ExpectEveryFileWhole();
  }
  // The next whole run tidies away what the killed ones left.
  ASSERT_EQ(Convert({"-f", "png", "-q", "-o", Out(), "in"}).status, 0);
  for (const auto& entry : fs::recursive_directory_iterator(Out())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

TEST_F(InterruptedRunTest, CtrlCStopsAfterTheDatabaseBeingWrittenWithStatus130) {
  ManyDatabases(30, 300);
  const pid_t run = Start({"-f", "png", "-q", "-o", Out(), In()}, root_ + "/stopped");
  const auto anyPage = [&] {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(Out(), error))
      if (entry.path().extension() == ".html") return true;
    return false;
  };
  for (int i = 0; i < 3000 && !anyPage(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ::kill(run, SIGINT);
  EXPECT_EQ(Wait(run), 130);
  const std::string said = Read(root_ + "/stopped");
  EXPECT_EQ(said.rfind("Stopped after ", 0), 0u) << said;
  EXPECT_TRUE(said.ends_with(" of 30 databases.\n")) << said;
  ExpectEveryFileWhole();
  EXPECT_FALSE(fs::exists(Out() + "/index.html"));
}

TEST_F(InterruptedRunTest, AFullDiskKeepsThePreviousPageWholeAndSaysWhy) {
  ManyDatabases(1, 100);
  ASSERT_EQ(Convert({"-f", "png", "-q", "-o", Out(), "in/D0.pdb"}).status, 0);
  const std::string page = Read(Out() + "/D0/D0.html");
  ASSERT_GT(page.size(), 4096u);
  // The shell ignores the signal, so the program's writes past 4 KiB fail as on a full disk.
  const std::string command = "trap '' XFSZ; ulimit -f 4; " + ShellQuote(STRUMLET_CONVERT) +
                              " -f png -q -o " + ShellQuote(Out()) + " " +
                              ShellQuote(In() + "/D0.pdb") + " >/dev/null 2>" +
                              ShellQuote(root_ + "/full");
  const int raw = std::system(("bash -c " + ShellQuote(command)).c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
  EXPECT_NE(
      Read(root_ + "/full").find("Could not write '" + Out() + "/D0/D0.html': File too large"),
      std::string::npos)
      << Read(root_ + "/full");
  EXPECT_EQ(Read(Out() + "/D0/D0.html"), page);
}

TEST_F(InterruptedRunTest, LinksPlantedInTheOutputAreReplacedNeverWrittenThrough) {
  ManyDatabases(1, 2);
  fs::create_directories(Out() + "/D0");
  std::ofstream(root_ + "/victim") << "precious";
  fs::create_symlink(root_ + "/victim", Out() + "/index.html");
  fs::create_symlink(root_ + "/victim", Out() + "/D0/D0.html");
  // The output folder the user names may itself be a link.
  fs::create_symlink(Out(), root_ + "/link-to-out");
  const Result run = Convert({"-q", "-o", root_ + "/link-to-out", "in"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Read(root_ + "/victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(Out() + "/index.html"));
  EXPECT_FALSE(fs::is_symlink(Out() + "/D0/D0.html"));
  EXPECT_NE(Read(Out() + "/D0/D0.html").find("</html>"), std::string::npos);
}

TEST_F(InterruptedRunTest, ASecondRunIntoTheSameFolderWaitsForTheFirstAndSaysSo) {
  ManyDatabases(1, 2);
  fs::create_directories(Out());
  auto first = std::make_unique<strumlet::FolderLock>();
  ASSERT_EQ(first->Acquire(Out(), std::chrono::milliseconds(0), nullptr), 0);
  const pid_t second = Start({"-q", "-o", Out(), In()}, root_ + "/second");
  bool waiting = false;
  for (int i = 0; i < 400 && !waiting; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    waiting = Read(root_ + "/second") ==
              "Waiting for another conversion into '" + Out() + "' to end...\n";
  }
  EXPECT_TRUE(waiting) << Read(root_ + "/second");
  EXPECT_FALSE(fs::exists(Out() + "/index.html"));  // nothing written while it waits
  first.reset();
  EXPECT_EQ(Wait(second), 0);
  EXPECT_TRUE(fs::exists(Out() + "/D0/D0.html"));
}

}  // namespace
