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

TEST(PalmDesktopFiles, JPilotUserIsTheFirstUserLine) {
  EXPECT_EQ(ParseJPilotUser("username x\nuser\tMy Palm \r\nuser other\n"), "My Palm");
  EXPECT_EQ(ParseJPilotUser("pc_id 5\n"), std::nullopt);
  EXPECT_EQ(ParseJPilotUser("user \n"), std::nullopt);
  EXPECT_EQ(ParseJPilotUser("user " + std::string(64, 'x')), std::nullopt);
}

}  // namespace
}  // namespace strumlet::palmdesktop
