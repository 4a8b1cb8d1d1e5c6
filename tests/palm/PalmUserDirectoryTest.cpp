// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/PalmUserDirectory.h"

#include <gtest/gtest.h>

#include "PalmTestSupport.h"

namespace strumlet {
namespace {

using testing::FakeLibrary;
using testing::FakeScript;
using Names = std::vector<std::string>;

TEST(PalmUserDirectory, MissingLibraryOrEntryPointsGiveTheirCodes) {
  FakeScript script;
  PalmUserDirectory absent("/nonexistent/UserData.dll");
  EXPECT_EQ(absent.LoadRootDirectory(), 16);
  ASSERT_FALSE(absent.GetUserFolder(" ", 1));
  EXPECT_EQ(absent.GetUserFolder(" ", 1).error().kind, Error::Kind::kUnavailable);

  PalmUserDirectory noRoot(FakeLibrary("UmGetRootDirectory"));
  EXPECT_EQ(noRoot.LoadRootDirectory(), 9);
  EXPECT_EQ(noRoot.RootDirectory(), "");

  Names names{"kept"};
  PalmUserDirectory noCount(FakeLibrary("UmGetUserCount"));
  ASSERT_EQ(noCount.LoadRootDirectory(), 0);
  EXPECT_EQ(noCount.ListUserNames(names), 13);
  for (const char* entry : {"UmGetUserID", "UmGetUserName"}) {
    PalmUserDirectory directory(FakeLibrary(entry));
    ASSERT_EQ(directory.LoadRootDirectory(), 0);
    EXPECT_EQ(directory.ListUserNames(names), 14) << entry;
  }
  EXPECT_EQ(names, Names{"kept"});
  for (const char* entry : {"UmGetIDFromName", "UmGetUserDirectory"}) {
    PalmUserDirectory directory(FakeLibrary(entry));
    ASSERT_EQ(directory.LoadRootDirectory(), 0);
    const Result<std::string> folder = directory.GetUserFolder("Ann", 1);
    ASSERT_FALSE(folder) << entry;
    EXPECT_EQ(folder.error().kind, Error::Kind::kUnavailable) << entry;
  }
}

TEST(PalmUserDirectory, FailedRootKeepsWhatTheLibraryWroteAndSaysSo) {
  FakeScript script;
  script.Set("FAKE_ROOT", "/partial");
  script.Set("FAKE_UmGetRootDirectory", "0");
  PalmUserDirectory directory(FakeLibrary());
  EXPECT_EQ(directory.LoadRootDirectory(), 9);
  EXPECT_EQ(directory.RootDirectory(), "/partialerror no root path found");
  EXPECT_EQ(script.Calls(), Names{"UmGetRootDirectory 512"});
}

TEST(PalmUserDirectory, ListsUsersSkippingUnreadableIds) {
  FakeScript script;
  script.Set("FAKE_USERS", "Ann,Bob,Cid");
  PalmUserDirectory directory(FakeLibrary());
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  Names names;
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_EQ(names, (Names{"Ann", "Bob", "Cid"}));

  for (const auto& [bad, expected] :
       std::vector<std::pair<std::string, Names>>{{"2", {"Ann", "Cid"}}, {"3", {"Ann", "Bob"}}}) {
    script.Set("FAKE_BAD_IDS", bad);
    names.clear();
    EXPECT_EQ(directory.ListUserNames(names), 0);
    EXPECT_EQ(names, expected) << "id " << bad << " unreadable";
  }
  // The name buffer's size is handed over afresh for every user.
  for (const auto& call : script.Calls()) {
    if (call.rfind("UmGetUserName", 0) == 0) {
      EXPECT_EQ(call.substr(call.size() - 3), " 64");
    }
  }
}

TEST(PalmUserDirectory, NameResultsEndOrDiscardTheList) {
  FakeScript script;
  script.Set("FAKE_USERS", "Ann,Bob,Cid");
  PalmUserDirectory directory(FakeLibrary());
  ASSERT_EQ(directory.LoadRootDirectory(), 0);

  script.Set("FAKE_UmGetUserName", "2=0");
  Names names;
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_EQ(names, Names{"Ann"});

  script.Set("FAKE_UmGetUserName", "3=-502");
  names = {"before"};
  EXPECT_EQ(directory.ListUserNames(names), -502);
  EXPECT_EQ(names, Names{"before"});

  script.Set("FAKE_UmGetUserCount", "0");
  names.clear();
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_TRUE(names.empty());
  // Only the low 16 bits count, as a signed number: 0x10000 is no users, 0x1FFFF is -1.
  for (const char* count : {"65536", "131071"}) {
    script.Set("FAKE_UmGetUserCount", count);
    EXPECT_EQ(directory.ListUserNames(names), 0);
    EXPECT_TRUE(names.empty()) << count;
  }
}

TEST(PalmUserDirectory, UserFolderIsRootAndFolderJoinedAsGiven) {
  FakeScript script;
  script.Set("FAKE_USERS", "Ann,Bob");
  script.Set("FAKE_ROOT", "/home/u/palm");  // no trailing separator: none is added
  PalmUserDirectory directory(FakeLibrary());
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  EXPECT_EQ(directory.GetUserFolder("Bob", 1).value(), "/home/u/palmFolder2/Backup/");
  EXPECT_EQ(directory.GetUserFolder("Bob", 0).value(), "/home/u/palmFolder2/");
  script.Set("FAKE_FOLDER", "Sub\\Ann");
  EXPECT_EQ(directory.GetUserFolder("Ann", 1).value(), "/home/u/palmSub/Ann/Backup/");
  const Names calls = script.Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "UmGetIDFromName Bob 0"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "UmGetUserDirectory 2 260"), calls.end());

  // A name the library cannot place fails with the library's own code, not the root alone.
  script.Set("FAKE_UmGetIDFromName", "Nobody=-553");
  const Result<std::string> nobody = directory.GetUserFolder("Nobody", 1);
  ASSERT_FALSE(nobody);
  EXPECT_EQ(nobody.error().kind, Error::Kind::kRefused);
  EXPECT_EQ(nobody.error().code, -553);
  script.Set("FAKE_UmGetUserDirectory", "1=-502");
  const Result<std::string> noFolder = directory.GetUserFolder("Ann", 1);
  ASSERT_FALSE(noFolder);
  EXPECT_EQ(noFolder.error().code, -502);
}

}  // namespace
}  // namespace strumlet
