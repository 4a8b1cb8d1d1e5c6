// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// CPalmInstaller against the scripted stand-in library: every code each step can give, the
// copies into the core folder, and the messages the user sees.

#include "strumlet/palm/PalmInstaller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "PalmReports.h"
#include "PalmTestSupport.h"

namespace strumlet {
namespace {

using testing::FakeLibrary;
using testing::FakeScript;
using testing::ReadFile;
using testing::ShownMessage;
using testing::WriteFile;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

class ScriptedChooser final : public UserChooser {
 public:
  int end = 1;
  Names pick;   // chosen when shown, if among the users
  Names shown;  // what the chooser was shown
  int ChooseUsers(const Names& users, Names& chosen) override {
    shown = users;
    for (const auto& user : users) {
      if (std::find(pick.begin(), pick.end(), user) != pick.end()) chosen.push_back(user);
    }
    return end;
  }
};

class PalmInstallerTest : public ::testing::Test {
 protected:
  PalmInstallerTest() : messages_(messenger) {
    fs::create_directories(core);
    fs::create_directories(installFiles);
    script.Set("FAKE_CORE", core);
  }

  // The install files a release carries: the stand-in plays HSAPI.dll and Instaide.dll.
  void ProvideInstallFiles(const std::string& hotSync = FakeLibrary(),
                           const std::string& installAide = FakeLibrary()) {
    WriteFile(installFiles + "/strumcond.dll", "conduit");
    fs::copy_file(hotSync, installFiles + "/HSAPI.dll");
    fs::copy_file(installAide, installFiles + "/Instaide.dll");
  }
  void ProvideProgram() { WriteFile(installFiles + "/strumlet.prc", "program"); }

  CPalmInstaller& Installer(const std::string& conduitManager = FakeLibrary()) {
    installer_ =
        std::make_unique<CPalmInstaller>(CPalmInstaller::Options{installFiles, conduitManager});
    installer_->SetUserChooser(&chooser);
    return *installer_;
  }

  bool Called(const std::string& prefix) const {
    const auto calls = script.Calls();
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }

  FakeScript script;
  std::string core = script.folder() / "core";
  std::string installFiles = script.folder() / "installfiles";
  RecordingMessenger messenger;
  ScriptedChooser chooser;

 private:
  ScopedMessenger messages_;
  std::unique_ptr<CPalmInstaller> installer_;
};

TEST_F(PalmInstallerTest, LocateCoreFilesCodes) {
  EXPECT_EQ(Installer("/nonexistent/CondMgr.dll").LocateCoreFiles(true), 1);
  EXPECT_EQ(Installer(FakeLibrary("CmGetCorePath")).LocateCoreFiles(true), 9);

  script.Set("FAKE_CmGetCorePath", "-1006");
  auto& failing = Installer();
  EXPECT_EQ(failing.LocateCoreFiles(true), -1006);
  EXPECT_EQ(failing.CoreFolder(), "");
  unsetenv("FAKE_CmGetCorePath");

  // Missing without copying: 10, and the second file is not looked at after the first.
  auto& installer = Installer();
  EXPECT_EQ(installer.LocateCoreFiles(false), 10);
  EXPECT_EQ(installer.CoreFolder(), core + "/");
  EXPECT_TRUE(Called("CmGetCorePath 512"));
  // Missing from the install files too: 11, and nothing left behind in the core folder.
  EXPECT_EQ(installer.LocateCoreFiles(true), 11);
  EXPECT_TRUE(fs::is_empty(core));
}

TEST_F(PalmInstallerTest, CopiesMissingFilesButNeverOverwrites) {
  ProvideInstallFiles();
  WriteFile(core + "/strumcond.dll", "already here");
  auto& installer = Installer();
  EXPECT_EQ(installer.LocateCoreFiles(true), 0);
  EXPECT_EQ(ReadFile(core + "/strumcond.dll"), "already here");
  EXPECT_EQ(ReadFile(core + "/HSAPI.dll"), ReadFile(installFiles + "/HSAPI.dll"));
  EXPECT_EQ(installer.LocateCoreFiles(false), 0);
  // Nothing but the two files: no temporary copy stays.
  EXPECT_EQ(std::distance(fs::directory_iterator(core), fs::directory_iterator()), 2);
}

TEST_F(PalmInstallerTest, InstallConduitRegistersAndRestarts) {
  ProvideInstallFiles();
  EXPECT_EQ(Installer().InstallConduit(), 0);
  EXPECT_EQ(script.Calls(),
            (Names{"CmGetCorePath 512", "CmInstallCreator STRM 0",
                   "CmSetCreatorName STRM strumcond.dll", "CmSetCreatorDirectory STRM Strumlet",
                   "CmSetCreatorTitle STRM Strumlet Conduit", "HsSetAppStatus 2 0"}));
  // The restart's failure does not count.
  script.Set("FAKE_HsSetAppStatus", "268435457");
  EXPECT_EQ(Installer().InstallConduit(), 0);
  EXPECT_TRUE(messenger.messages.empty());
}

TEST_F(PalmInstallerTest, InstallConduitStopsAtTheFirstFailure) {
  // No conduit anywhere: 11, and the Conduit Manager registers nothing.
  EXPECT_EQ(Installer().InstallConduit(), 11);
  EXPECT_FALSE(Called("CmInstallCreator"));

  ProvideInstallFiles();
  const std::vector<std::pair<std::string, int32_t>> missing{{"CmInstallCreator", 2},
                                                             {"CmSetCreatorName", 3},
                                                             {"CmSetCreatorDirectory", 4},
                                                             {"CmSetCreatorTitle", 5}};
  for (const auto& [entry, code] : missing) {
    EXPECT_EQ(Installer(FakeLibrary(entry)).InstallConduit(), code) << entry;
  }
  // The creator registered already: the Conduit Manager's code; no naming calls follow.
  script.ClearCalls();
  script.Set("FAKE_CmInstallCreator", "-1005");
  EXPECT_EQ(testing::Told(Installer().ReportConduitInstall()), -1005);
  EXPECT_FALSE(Called("CmSetCreatorName"));
  EXPECT_FALSE(Called("HsSetAppStatus"));
  ASSERT_EQ(messenger.messages.size(), 1u);
  EXPECT_EQ(
      messenger.messages[0],
      (ShownMessage{"Install Conduit Error", "Error: " + GetErrorText(-1005), MessageIcon::Error}));
  // A naming call failing leaves the entry as far as it got and passes its code on.
  unsetenv("FAKE_CmInstallCreator");
  script.Set("FAKE_CmSetCreatorDirectory", "-1008");
  EXPECT_EQ(Installer().InstallConduit(), -1008);
}

TEST_F(PalmInstallerTest, RemovalResultsAndMessages) {
  ProvideInstallFiles();
  for (const char* result : {"0", "1"}) {
    script.Set("FAKE_CmRemoveConduitByCreatorID", result);
    EXPECT_EQ(testing::Told(Installer().ReportConduitRemoval()), 0);
  }
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>(
                2, {"Good", "The Strumlet conduit has been removed.", MessageIcon::Information})));
  messenger.messages.clear();
  script.Set("FAKE_CmRemoveConduitByCreatorID", "-1003");
  EXPECT_EQ(testing::Told(Installer().ReportConduitRemoval()), -1003);
  EXPECT_EQ(
      testing::Told(Installer(FakeLibrary("CmRemoveConduitByCreatorID")).ReportConduitRemoval()),
      8);
  EXPECT_EQ(testing::Told(Installer("/nonexistent/CondMgr.dll").ReportConduitRemoval()), 1);
  ASSERT_EQ(messenger.messages.size(), 3u);
  EXPECT_EQ(messenger.messages[0],
            (ShownMessage{"Remove Conduit Error", "Error: The specified conduit does not exist.",
                          MessageIcon::Error}));
  EXPECT_EQ(messenger.messages[1].text, "Error: " + GetErrorText(8));
}

TEST_F(PalmInstallerTest, RemovalBeforeInstallRestartsOnlyWithBothFilesInPlace) {
  // Nothing in the core folder: the restart learns it without copying and does not call.
  EXPECT_EQ(testing::Told(Installer().ReportConduitRemoval()), 0);
  EXPECT_FALSE(Called("HsSetAppStatus"));
  EXPECT_TRUE(fs::is_empty(core));
  // Both there: restarted.
  fs::copy_file(FakeLibrary(), core + "/HSAPI.dll");
  WriteFile(core + "/strumcond.dll", "conduit");
  EXPECT_EQ(testing::Told(Installer().ReportConduitRemoval()), 0);
  EXPECT_TRUE(Called("HsSetAppStatus 2 0"));
  EXPECT_EQ(messenger.messages.size(), 2u);
  EXPECT_EQ(messenger.messages[1].caption, "Good");
}

TEST_F(PalmInstallerTest, RestartHotSyncCodes) {
  WriteFile(core + "/strumcond.dll", "conduit");
  WriteFile(core + "/HSAPI.dll", "not a library");
  auto& installer = Installer();
  EXPECT_EQ(installer.RestartHotSync(), 6);
  // After a removal the success message stands even when HSAPI.dll cannot be loaded.
  EXPECT_EQ(testing::Told(installer.ReportConduitRemoval()), 0);
  EXPECT_EQ(messenger.messages.back().caption, "Good");

  fs::remove(core + "/HSAPI.dll");
  fs::copy_file(FakeLibrary("HsSetAppStatus"), core + "/HSAPI.dll");
  EXPECT_EQ(Installer().RestartHotSync(), 7);
  fs::remove(core + "/HSAPI.dll");
  fs::copy_file(FakeLibrary(), core + "/HSAPI.dll");
  script.Set("FAKE_HsSetAppStatus", "268435457");
  EXPECT_EQ(Installer().RestartHotSync(), 0x10000001);
}

TEST_F(PalmInstallerTest, InstallAideIsCopiedThenLoadedFromTheCoreFolder) {
  ProvideInstallFiles();
  auto& installer = Installer();
  EXPECT_EQ(installer.LoadInstallAide(true), 0);
  EXPECT_EQ(ReadFile(core + "/Instaide.dll"), ReadFile(installFiles + "/Instaide.dll"));
  fs::remove(installFiles + "/Instaide.dll");  // held: no new look-up
  EXPECT_EQ(installer.LoadInstallAide(true), 0);

  fs::remove(core + "/Instaide.dll");
  EXPECT_EQ(Installer().LoadInstallAide(false), 10);
  EXPECT_EQ(Installer().LoadInstallAide(true), 11);
  WriteFile(core + "/Instaide.dll", "not a library");
  EXPECT_EQ(Installer().LoadInstallAide(true), 12);
}

TEST_F(PalmInstallerTest, UserListCodes) {
  script.Set("FAKE_USERS", "Cid,ann,Bob");
  ProvideInstallFiles(FakeLibrary(), FakeLibrary("PltGetUserCount"));
  Names users;
  EXPECT_EQ(Installer().GetPalmUsers(users), 13);
  fs::remove(core + "/Instaide.dll");
  fs::copy_file(FakeLibrary("PltGetUser"), core + "/Instaide.dll");
  EXPECT_EQ(Installer().GetPalmUsers(users), 14);
  fs::remove(core + "/Instaide.dll");
  fs::copy_file(FakeLibrary(), core + "/Instaide.dll");
  EXPECT_EQ(Installer().GetPalmUsers(users), 0);
  EXPECT_EQ(users, (Names{"Cid", "ann", "Bob"}));
  script.Set("FAKE_PltGetUser", "1=0");
  users.clear();
  EXPECT_EQ(Installer().GetPalmUsers(users), 0);
  EXPECT_EQ(users, Names{"Cid"});
  script.Set("FAKE_PltGetUser", "2=-501");
  users.clear();
  EXPECT_EQ(Installer().GetPalmUsers(users), -501);
  for (const auto& call : script.Calls()) {
    if (call.rfind("PltGetUser ", 0) == 0) {
      EXPECT_EQ(call.substr(call.size() - 3), " 64");
    }
  }
}

TEST_F(PalmInstallerTest, InstallsForTheChosenUsersInSortedOrder) {
  script.Set("FAKE_USERS", "Cid,ann,Bob");
  ProvideInstallFiles();
  ProvideProgram();
  chooser.pick = {"Cid", "ann"};
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Queued);
  EXPECT_EQ(chooser.shown, (Names{"ann", "Bob", "Cid"}));
  const std::string program = installFiles + "/strumlet.prc";
  Names installs;
  for (const auto& call : script.Calls()) {
    if (call.rfind("PltInstallFile", 0) == 0) installs.push_back(call);
  }
  EXPECT_EQ(installs, (Names{"PltInstallFile ann " + program, "PltInstallFile Cid " + program}));
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>{{"Install Strumlet Application",
                                        "Strumlet will be installed to your Palm on the next "
                                        "HotSync.",
                                        MessageIcon::Exclamation}}));
}

TEST_F(PalmInstallerTest, EveryFailingUserIsReportedByName) {
  script.Set("FAKE_USERS", "Ann,Bob,Cid");
  ProvideInstallFiles();
  ProvideProgram();
  const std::string copyFailed = GetErrorText(-504);
  // An early failure is no longer hidden by a later success, and the others are still tried.
  chooser.pick = {"Ann", "Bob"};
  script.Set("FAKE_PltInstallFile", "Ann=-504");
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Failed);
  EXPECT_TRUE(Called("PltInstallFile Bob"));
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>{{"Install Strumlet Application Error",
                                        "Error for the Palm user \"Ann\": " + copyFailed,
                                        MessageIcon::Error}}));

  messenger.messages.clear();
  chooser.pick = {"Ann", "Bob", "Cid"};
  script.Set("FAKE_PltInstallFile", "Bob=-504,Cid=-553");
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Failed);
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>{
                {"Install Strumlet Application Error",
                 "Error for the Palm user \"Bob\": " + copyFailed, MessageIcon::Error},
                {"Install Strumlet Application Error",
                 "Error for the Palm user \"Cid\": " + GetErrorText(-553), MessageIcon::Error}}));

  // One user chosen: the message as it always was.
  messenger.messages.clear();
  chooser.pick = {"Bob"};
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Failed);
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>{{"Install Strumlet Application Error",
                                        "Error: The PltInstallFile function could not copy the "
                                        "file.",
                                        MessageIcon::Error}}));
}

TEST_F(PalmInstallerTest, MissingProgramCancelAndNoChooser) {
  script.Set("FAKE_USERS", "Ann");
  ProvideInstallFiles();
  chooser.pick = {"Ann"};
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::ProgramMissing);
  EXPECT_FALSE(Called("PltInstallFile"));
  EXPECT_EQ(messenger.messages,
            (std::vector<ShownMessage>{{"Install Strumlet Application Error",
                                        "The Strumlet program could not be found!",
                                        MessageIcon::Error}}));

  ProvideProgram();
  messenger.messages.clear();
  for (int end : {0, 2, 3}) {
    chooser.end = end;
    EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Cancelled);
  }
  EXPECT_TRUE(messenger.messages.empty());
  EXPECT_FALSE(Called("PltInstallFile"));

  chooser.end = 42;
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Failed);
  EXPECT_EQ(messenger.messages.back().text, "Error: Unknown CMainFrame error.");

  messenger.messages.clear();
  auto& noChooser = Installer();
  noChooser.SetUserChooser(nullptr);
  EXPECT_EQ(testing::Told(noChooser.InstallApplication()), InstallOutcome::Failed);
  ASSERT_EQ(messenger.messages.size(), 3u);
  EXPECT_EQ(messenger.messages[0],
            (ShownMessage{"", "Error Creating Dialog Object", MessageIcon::Exclamation}));
  EXPECT_EQ(messenger.messages[1].text, "Dialog box could not be created!");
  EXPECT_EQ(messenger.messages[2].text, "Error: A nonspecific error occurred.");
}

TEST_F(PalmInstallerTest, FailuresBeforeTheChoiceSkipIt) {
  script.Set("FAKE_USERS", "Ann");
  chooser.pick = {"Ann"};
  EXPECT_EQ(testing::Told(Installer("/nonexistent/CondMgr.dll").InstallApplication()),
            InstallOutcome::Failed);
  EXPECT_TRUE(chooser.shown.empty());
  ProvideInstallFiles(FakeLibrary(), FakeLibrary("PltInstallFile"));
  ProvideProgram();
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Failed);
  EXPECT_EQ(chooser.shown, Names{"Ann"});  // the users were listed, then queueing failed
  ASSERT_EQ(messenger.messages.size(), 2u);
  EXPECT_EQ(messenger.messages[0].text, "Error: " + GetErrorText(1));
  EXPECT_EQ(messenger.messages[1].text, "Error: " + GetErrorText(15));
}

TEST_F(PalmInstallerTest, NoUsersStillOpensTheChoiceAndSucceeds) {
  ProvideInstallFiles();
  ProvideProgram();
  chooser.shown = {"stale"};
  EXPECT_EQ(testing::Told(Installer().InstallApplication()), InstallOutcome::Queued);
  EXPECT_TRUE(chooser.shown.empty());
  EXPECT_FALSE(Called("PltInstallFile"));
}

}  // namespace
}  // namespace strumlet
