// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PalmDesktopFiles.h"

#include <gtest/gtest.h>

namespace strumlet::palmdesktop {
namespace {

TEST(PalmDesktopFiles, UsersFileRoundTripsAndRefusesClashes) {
  const std::vector<UserEntry> users{{1, "Ann", "Ann Smith"}, {2, "Bob", "Bob"}};
  const auto parsed = ParseUsersFile(FormatUsersFile(users));
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[1].id, 2u);
  EXPECT_EQ(parsed[0].name, "Ann Smith");
  EXPECT_TRUE(ParseUsersFile("1\tcore\tX\n2\ta/b\tY\n3\tok\t\n4294967296\tbig\tZ\n").empty());
  EXPECT_EQ(ParseUsersFile("1\ta\tX\n1\tb\tY\n2\tc\tX\n").size(), 1u);
}

TEST(PalmDesktopFiles, RegistryKeepsWhatItCanUse) {
  const std::string text =
      "junk before a section\n[STRM]\ntype = 0\nname=strumcond.dll\ndirectory=Strumlet\n"
      "title=Strumlet Conduit\nunknown=1\n[STRM]\nname=second\n[TOOLONG]\nname=x\n[ab]\n"
      "[memo]\ntype=notanumber\nname=memo.so\n";
  const auto entries = ParseConduitRegistry(text);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "strumcond.dll");
  EXPECT_EQ(entries[0].title, "Strumlet Conduit");
  EXPECT_EQ(entries[1].creator, "memo");
  EXPECT_EQ(entries[1].type, 0);
  const auto again = ParseConduitRegistry(FormatConduitRegistry(entries));
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].directory, "Strumlet");
  EXPECT_FALSE(IsValidCreator("ST]M"));
  EXPECT_FALSE(IsValidRegistryValue("two\nlines"));
}

TEST(PalmDesktopFiles, NewUserLineKeepsTheFileAndSkippedLinesStillClaim) {
  const std::string text = "# users\n3\tann\tAnn\n90\tlong\t" + std::string(64, 'n') +
                           "\n  12 junk\n" + "3\tdup\tAnn\n4294967296\tbig\tBig\nx\tbad";
  const UsersFileClaims claims = ScanUsersFile(text);
  EXPECT_EQ(claims.ids, (std::vector<uint32_t>{3, 90, 12, 3}));
  EXPECT_EQ(claims.folders, (std::vector<std::string>{"ann", "long", "dup", "big", "bad"}));
  // The last line lacks its line feed: it gets one, and nothing else changes.
  EXPECT_EQ(AppendUserLine(text, UserEntry{91, "Bob", "Bob B"}), text + "\n91\tBob\tBob B\n");
  EXPECT_EQ(AppendUserLine("", UserEntry{1, "a", "A"}), "1\ta\tA\n");
}

TEST(PalmDesktopFiles, RegistryChangesTouchOnlyTheirCreator) {
  const std::string before =
      "# mine\r\n[memo]\r\ntype=1\r\nname=memo.so\r\nsync=always\r\n\n# the next one\n";
  std::string text = AppendRegistrySection(before, ConduitEntry{"STRM", 0, {}, {}, {}});
  EXPECT_EQ(text, before + "[STRM]\ntype=0\nname=\ndirectory=\ntitle=\n");
  EXPECT_TRUE(SetRegistryValue(text, "STRM", "name", "strumcond.dll"));
  EXPECT_FALSE(SetRegistryValue(text, "none", "name", "x"));
  EXPECT_EQ(text, before + "[STRM]\ntype=0\nname=strumcond.dll\ndirectory=\ntitle=\n");
  EXPECT_TRUE(RemoveRegistrySections(text, "STRM"));
  EXPECT_EQ(text, before);
  EXPECT_FALSE(RemoveRegistrySections(text, "STRM"));

  // A section edited by hand: its first "name" line is rewritten and a later one dropped, a
  // missing key joins after its last setting (not after the comments that lead to the next
  // section), and a second "[STRM]", which the reader ignores, is left alone when setting.
  std::string edited =
      "[STRM]\n name = old\nflag=keep\nname=older\n# about memo\n[memo]\nname=m\n[STRM]\n"
      "name=ignored";
  EXPECT_TRUE(SetRegistryValue(edited, "STRM", "name", "new"));
  EXPECT_TRUE(SetRegistryValue(edited, "STRM", "title", "T"));
  EXPECT_EQ(edited,
            "[STRM]\nname=new\nflag=keep\ntitle=T\n# about memo\n[memo]\nname=m\n[STRM]\n"
            "name=ignored");
  const auto entries = ParseConduitRegistry(edited);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "new");
  EXPECT_EQ(entries[0].title, "T");
  // Removal takes every section of the creator, and the comment before [memo] stays.
  EXPECT_TRUE(RemoveRegistrySections(edited, "STRM"));
  EXPECT_EQ(edited, "# about memo\n[memo]\nname=m\n");
  // A last line without its line feed gets one before a new line follows it.
  std::string unended = "[STRM]\ntype=0";
  EXPECT_TRUE(SetRegistryValue(unended, "STRM", "title", "T"));
  EXPECT_EQ(unended, "[STRM]\ntype=0\ntitle=T\n");
}

TEST(PalmDesktopFiles, JPilotUserIsTheFirstUserLine) {
  EXPECT_EQ(ParseJPilotUser("username x\nuser\tMy Palm \r\nuser other\n"), "My Palm");
  EXPECT_EQ(ParseJPilotUser("pc_id 5\n"), std::nullopt);
  EXPECT_EQ(ParseJPilotUser("user \n"), std::nullopt);
  EXPECT_EQ(ParseJPilotUser("user " + std::string(64, 'x')), std::nullopt);
}

}  // namespace
}  // namespace strumlet::palmdesktop
