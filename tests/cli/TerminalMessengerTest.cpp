#include <gtest/gtest.h>

#include "cli/TerminalMessenger.h"

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

}  // namespace
}  // namespace strumlet
