// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "TerminalMessenger.h"
#include "TerminalOutput.h"

namespace strumlet {
namespace {

TEST(TerminalMessenger, MessageLineKeepsTheTextAndNamesOnlyForeignCaptions) {
  EXPECT_EQ(TerminalMessenger::MessageLine("StrumletViewer", "Error: Invalid Destination Folder"),
            "Error: Invalid Destination Folder");
  EXPECT_EQ(TerminalMessenger::MessageLine("", "plain"), "plain");
  EXPECT_EQ(
      TerminalMessenger::MessageLine("palm file Error", "'x' is not a valid file or folder path."),
      "palm file Error: 'x' is not a valid file or folder path.");
  EXPECT_EQ(TerminalMessenger::MessageLine("", "ends in a break\n"), "ends in a break");
}

TEST(TerminalMessenger, ProgressLineFillsWithDatabasesAndTheCurrentOnesChords) {
  ConversionProgress progress;
  EXPECT_EQ(TerminalMessenger::ProgressLine(progress),
            "[------------------------] databases 0/0, chords 0/0");
  progress.databasesTotal = 2;
  progress.databasesDone = 1;
  progress.chordsTotal = 10;
  progress.chordsDone = 5;
  EXPECT_EQ(TerminalMessenger::ProgressLine(progress),
            "[##################------] databases 1/2, chords 5/10");
  progress.databasesDone = 2;
  progress.chordsDone = progress.chordsTotal = 0;
  EXPECT_EQ(TerminalMessenger::ProgressLine(progress),
            "[########################] databases 2/2, chords 0/0");
}

TEST(TerminalText, ControlsAndMalformedBytesAreEscapedTheRestKept) {
  // What a hostile file name would have the terminal do: retitle it, clear it, hide text.
  EXPECT_EQ(TerminalText("\x1b]0;pwned\a.pdb"), "\\x1b]0;pwned\\x07.pdb");
  EXPECT_EQ(TerminalText("a\x1b[2Jb\rc\x7f"), "a\\x1b[2Jb\\x0dc\\x7f");
  EXPECT_EQ(TerminalText(std::string("nul\0x", 5)), "nul\\x00x");
  // C1 controls in their UTF-8 form (CSI, ST), and bytes that are no UTF-8: lone continuation,
  // truncated sequence, overlong form, surrogate, past U+10FFFF, Latin-1.
  EXPECT_EQ(TerminalText("\xc2\x9b"
                         "2J\xc2\x9c"),
            "\\xc2\\x9b2J\\xc2\\x9c");
  EXPECT_EQ(TerminalText("\x80|\xe2\x82|\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80|G\xe9"),
            "\\x80|\\xe2\\x82|\\xc0\\xaf|\\xed\\xa0\\x80|\\xf4\\x90\\x80\\x80|G\\xe9");
  // Printable text stays byte for byte: tabs, backslashes, and UTF-8 from U+00A0 up.
  const std::string kept = "Guitar\tChords \\x1b \xc2\xa0\xc3\xa9 \xe2\x80\x99 \xf0\x9f\x8e\xb8";
  EXPECT_EQ(TerminalText(kept), kept);
  // Messages keep their lines; a name printed as one line does not.
  EXPECT_EQ(TerminalText("one\ntwo\n"), "one\ntwo\n");
  EXPECT_EQ(TerminalText("one\ntwo", false), "one\\x0atwo");
}

}  // namespace
}  // namespace strumlet
