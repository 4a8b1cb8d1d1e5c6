// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Our Palm Desktop libraries, loaded as the programs load them, driven through the callers: a
// fresh Palm Desktop folder, the conduit registry, the install queue and a J-Pilot home.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "PalmDesktopFiles.h"
#include "PalmHome.h"
#include "PalmReports.h"
#include "PalmTestSupport.h"
#include "strumlet/palm/PalmInstaller.h"
#include "strumlet/palm/PalmUserDirectory.h"

namespace strumlet {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

class PickAll final : public UserChooser {
 public:
  int ChooseUsers(const Names& users, Names& chosen) override {
    chosen = users;
    return 1;
  }
};

class PalmDesktopTest : public ::testing::Test {
 protected:
  PalmDesktopTest() : messages_(messenger) {
    setenv("STRUMLET_PALM_HOME", palm.c_str(), 1);
    setenv("JPILOT_HOME", temp.path().c_str(), 1);
    setenv("HOME", temp.path().c_str(), 1);
    // The release's install files, and the program the user put beside them.
    fs::create_directories(installFiles);
    for (const char* file : {"strumcond.dll", "HSAPI.dll", "Instaide.dll"}) {
      fs::copy_file(std::string(STRUMLET_BUILD_INSTALLFILES_DIR) + "/" + file,
                    installFiles + "/" + file);
    }
    WriteFile(installFiles + "/strumlet.prc", "a Palm program");
    installer.SetUserChooser(&chooser);
  }

  uint32_t AddUser(const std::string& name) {
    uint32_t id = 0;
    EXPECT_EQ(TryAddUser(name, id), 0) << name;
    return id;
  }

  int32_t TryAddUser(const std::string& name, uint32_t& id) {
    DynamicLibrary userData;
    EXPECT_TRUE(userData.Load(palm::kUserDataLibrary));
    const auto add = userData.Find<UmAddUserFn>("UmAddUser");
    return add(name.c_str(), &id);
  }

  Names ListedUsers() {
    PalmUserDirectory directory;
    Names names;
    EXPECT_EQ(directory.LoadRootDirectory(), 0);
    EXPECT_EQ(directory.ListUserNames(names), 0);
    return names;
  }

  void MakeJPilotHome(const std::string& settings) {
    fs::create_directories(jpilot + "/backup");
    WriteFile(jpilot + "/jpilot.rc", settings);
  }

  TempFolder temp;
  std::string palm = temp / "palm";
  std::string jpilot = temp / ".jpilot";
  std::string installFiles = temp / "installfiles";
  RecordingMessenger messenger;
  ScopedMessenger messages_;
  PickAll chooser;
  CPalmInstaller installer{CPalmInstaller::Options{installFiles, palm::kConduitManagerLibrary}};
};

TEST_F(PalmDesktopTest, FreshFolderListsAddedUsersAndTheirBackupFolders) {
  PalmUserDirectory directory;
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  EXPECT_EQ(directory.RootDirectory(), palm + "/");
  Names names;
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_TRUE(names.empty());

  AddUser("Zoë Strummer");
  AddUser("amy/guitar");
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_EQ(names, (Names{"Zoë Strummer", "amy/guitar"}));
  const std::string folder = directory.GetUserFolder("amy/guitar", 1).value();
  EXPECT_EQ(folder, palm + "/amy_guitar/Backup/");
  EXPECT_TRUE(fs::is_directory(folder));
  const Result<std::string> nobody = directory.GetUserFolder("nobody", 1);
  ASSERT_FALSE(nobody);
  EXPECT_EQ(nobody.error().code, -553);
  EXPECT_FALSE(directory.GetUserFolder(" ", 1));

  // The same users through the Install Aide, which the installer copies into the core folder.
  Names users;
  EXPECT_EQ(installer.GetPalmUsers(users), 0);
  EXPECT_EQ(users, names);
  EXPECT_TRUE(fs::exists(palm + "/core/Instaide.dll"));
}

TEST_F(PalmDesktopTest, ConduitRegistryKeepsOneEntryAndRemovesIt) {
  EXPECT_EQ(installer.RemoveConduit(), -1003);  // nothing registered yet
  EXPECT_EQ(installer.InstallConduit(), 0);
  EXPECT_TRUE(fs::exists(palm + "/core/strumcond.dll"));
  EXPECT_TRUE(fs::exists(palm + "/core/HSAPI.dll"));
  const auto entries = palmdesktop::ParseConduitRegistry(ReadFile(palm + "/core/conduits"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].creator, "STRM");
  EXPECT_EQ(entries[0].name, "strumcond.dll");
  EXPECT_EQ(entries[0].directory, "Strumlet");
  EXPECT_EQ(entries[0].title, "Strumlet Conduit");

  EXPECT_EQ(testing::Told(installer.ReportConduitInstall()), -1005);
  EXPECT_EQ(testing::Told(installer.ReportConduitRemoval()), 0);
  EXPECT_TRUE(palmdesktop::ParseConduitRegistry(ReadFile(palm + "/core/conduits")).empty());
  EXPECT_EQ(testing::Told(installer.ReportConduitRemoval()), -1003);
  ASSERT_EQ(messenger.messages.size(), 3u);
  EXPECT_EQ(messenger.messages[0].caption, "Install Conduit Error");
  EXPECT_EQ(messenger.messages[1].caption, "Good");
  EXPECT_EQ(messenger.messages[2].text, "Error: The specified conduit does not exist.");
  // No sync program runs on a test machine.
  EXPECT_EQ(installer.RestartHotSync(), 0x10000001);
}

TEST_F(PalmDesktopTest, FirstRunsAtTheSameMomentBothFindTheCoreFiles) {
  // Round after round two runs copy the core files at once: the one that finds a file the other
  // just put in place has it all the same.
  for (int round = 0; round < 20; ++round) {
    setenv("STRUMLET_PALM_HOME", (temp / ("home" + std::to_string(round))).c_str(), 1);
    std::atomic<int> ready{0};
    int32_t results[2] = {-1, -1};
    auto run = [&](int which) {
      CPalmInstaller own{CPalmInstaller::Options{installFiles, palm::kConduitManagerLibrary}};
      ready.fetch_add(1);
      while (ready.load() < 2) {
      }
      results[which] = own.LoadInstallAide(true);
    };
    std::thread first(run, 0);
    std::thread second(run, 1);
    first.join();
    second.join();
    ASSERT_EQ(results[0], 0) << "round " << round;
    ASSERT_EQ(results[1], 0) << "round " << round;
  }
}

TEST_F(PalmDesktopTest, ProgramIsCopiedIntoEachUsersInstallFolderOnce) {
  AddUser("Ann");
  AddUser("bob");
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Queued);
  for (const char* user : {"Ann", "bob"}) {
    EXPECT_EQ(ReadFile(palm + "/" + user + "/Install/strumlet.prc"), "a Palm program");
  }
  // Both have it now: each user's refusal is shown, naming the user.
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Failed);
  ASSERT_GE(messenger.messages.size(), 2u);
  const auto last = messenger.messages.end() - 2;
  EXPECT_EQ(last[0].text, "Error for the Palm user \"Ann\": " + GetErrorText(-512));
  EXPECT_EQ(last[1].text, "Error for the Palm user \"bob\": " + GetErrorText(-512));
  EXPECT_EQ(last[1].caption, "Install Strumlet Application Error");
}

TEST_F(PalmDesktopTest, AddUserKeepsEveryLineItDoesNotOwn) {
  fs::create_directories(palm);
  // Comments, a name too long (id 90, folder "long"), a duplicate, a line with extra fields and
  // a last line without its line feed.
  const std::string before = "# Our band\n7\tann\tAnn\n90\tlong\t" + std::string(64, 'n') +
                             "\n8\tann\tAnn again\n# kept\n9\tbob\tBob\textra";
  WriteFile(palm + "/users", before);
  EXPECT_EQ(AddUser("long"), 91u);  // above the skipped line's id, not in its folder
  const std::string after = before + "\n91\tlong-2\tlong\n";
  EXPECT_EQ(ReadFile(palm + "/users"), after);
  EXPECT_EQ(ListedUsers(), (Names{"Ann", "long"}));
  uint32_t id = 0;
  EXPECT_EQ(TryAddUser("Ann", id), -1);
  EXPECT_EQ(ReadFile(palm + "/users"), after);
}

TEST_F(PalmDesktopTest, AddUserNeverReplacesAUsersFileItCannotReadWhole) {
  fs::create_directories(palm);
  const std::string users = palm + "/users";
  WriteFile(users, "1\tann\tAnn\n");
  fs::resize_file(users, palmdesktop::kMaxUsersFileSize + 1);
  uint32_t id = 0;
  EXPECT_EQ(TryAddUser("Bob", id), palm::kUsersFileUnreadable);
  EXPECT_EQ(fs::file_size(users), palmdesktop::kMaxUsersFileSize + 1);
  EXPECT_EQ(ReadFile(users).substr(0, 10), "1\tann\tAnn\n");
  EXPECT_FALSE(fs::exists(palm + "/Bob"));
}

TEST_F(PalmDesktopTest, UsersNamedLikeTheFoldersOwnEntriesBreakNothing) {
  AddUser("users");
  AddUser(".lock");
  AddUser("Bob");
  EXPECT_TRUE(fs::is_regular_file(palm + "/users"));
  EXPECT_EQ(ListedUsers(), (Names{"users", ".lock", "Bob"}));
  PalmUserDirectory directory;
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  EXPECT_EQ(directory.GetUserFolder(".lock", 1).value(), palm + "/_.lock/Backup/");
  // A user the users file cannot take leaves no folder behind.
  uint32_t id = 0;
  {
    testing::FileSizeLimit full(fs::file_size(palm + "/users"));
    EXPECT_EQ(TryAddUser("Cid", id), -1);
  }
  EXPECT_FALSE(fs::exists(palm + "/Cid"));
}

TEST_F(PalmDesktopTest, UserListFollowsChangesMadeInPlace) {
  fs::create_directories(palm);
  WriteFile(palm + "/users", "1\tann\tAnn\n");
  EXPECT_EQ(ListedUsers(), Names{"Ann"});
  // Same inode, same size: the list is read again all the same.
  WriteFile(palm + "/users", "1\tbob\tBob\n");
  EXPECT_EQ(ListedUsers(), Names{"Bob"});
  MakeJPilotHome("user Hand\n");
  EXPECT_EQ(ListedUsers(), (Names{"Bob", "Hand"}));
  WriteFile(jpilot + "/jpilot.rc", "user Palm\n");
  EXPECT_EQ(ListedUsers(), (Names{"Bob", "Palm"}));
  fs::remove(palm + "/users");
  EXPECT_EQ(ListedUsers(), Names{"Palm"});
}

TEST_F(PalmDesktopTest, ConduitRegistryKeepsWhatItDoesNotOwn) {
  fs::create_directories(palm + "/core");
  const std::string registry = palm + "/core/conduits";
  const std::string before =
      "# hand-made\n[memo]\ntype=1\nname=memo.so\nschedule=hourly\n\n[XTRA]\nx=1\n";
  WriteFile(registry, before);
  EXPECT_EQ(installer.InstallConduit(), 0);
  EXPECT_EQ(ReadFile(registry), before +
                                    "[STRM]\ntype=0\nname=strumcond.dll\ndirectory=Strumlet\n"
                                    "title=Strumlet Conduit\n");
  EXPECT_EQ(installer.RemoveConduit(), 0);
  EXPECT_EQ(ReadFile(registry), before);
}

TEST_F(PalmDesktopTest, HostileUsersFileNeverBreaksTheList) {
  fs::create_directories(palm);
  WriteFile(palm + "/users",
            "# comment\n7\tgood\tGood User\r\nnot a line\n8\t..\tEscaper\n9\tgood\tSame Folder\n"
            "x\tbad\tBad Id\n10\tlong\t" +
                std::string(64, 'n') + "\n11\tfine\tFine\n");
  PalmUserDirectory directory;
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  Names names;
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_EQ(names, (Names{"Good User", "Fine"}));
}

TEST_F(PalmDesktopTest, JPilotHandheldIsAUserWhoseBackupIsJPilots) {
  MakeJPilotHome("pc_id 1\nuser Hand Held \nuser Other\n");
  WriteFile(jpilot + "/backup/Chords.pdb", "db");
  AddUser("Ann");
  PalmUserDirectory directory;
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  Names names;
  EXPECT_EQ(directory.ListUserNames(names), 0);
  EXPECT_EQ(names, (Names{"Ann", "Hand Held"}));
  const std::string folder = directory.GetUserFolder("Hand Held", 1).value();
  EXPECT_EQ(folder, palm + "/J-Pilot/Backup/");
  EXPECT_EQ(fs::canonical(folder), fs::canonical(jpilot + "/backup"));
  EXPECT_TRUE(fs::exists(folder + "Chords.pdb"));

  // A moved J-Pilot home moves the link; a real folder of the user's is left alone.
  fs::rename(temp / ".jpilot", temp / "moved");
  fs::create_directories(temp / "other");
  setenv("JPILOT_HOME", (temp / "other").c_str(), 1);
  fs::rename(temp / "moved", temp / "other/.jpilot");
  EXPECT_EQ(directory.GetUserFolder("Hand Held", 1).value(), folder);
  EXPECT_EQ(fs::canonical(folder), fs::canonical(temp / "other/.jpilot/backup"));
}

TEST_F(PalmDesktopTest, JPilotQueueIsOnlyEverAppendedTo) {
  MakeJPilotHome("user Hand Held\n");
  const std::string queue = jpilot + "/jpilot.install";
  WriteFile(queue, "/earlier/Memo.pdb");  // its last line lacks the line feed
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Queued);
  const std::string queued = palm + "/J-Pilot/Install/strumlet.prc";
  EXPECT_EQ(ReadFile(queue), "/earlier/Memo.pdb\n" + queued + "\n");
  EXPECT_EQ(ReadFile(queued), "a Palm program");

  // Listed already: refused, the list as it was.
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Failed);
  EXPECT_EQ(messenger.messages.back().text, "Error: " + GetErrorText(-512));
  EXPECT_EQ(ReadFile(queue), "/earlier/Memo.pdb\n" + queued + "\n");

  // A second file joins the list after what is there.
  DynamicLibrary aide;
  ASSERT_TRUE(aide.Load(palm + "/core/Instaide.dll"));
  const auto install = aide.Find<PltInstallFileFn>("PltInstallFile");
  WriteFile(temp / "Songs.pdb", "songs");
  EXPECT_EQ(install("Hand Held", (temp / "Songs.pdb").c_str()), 0);
  EXPECT_EQ(ReadFile(queue),
            "/earlier/Memo.pdb\n" + queued + "\n" + palm + "/J-Pilot/Install/Songs.pdb\n");
  EXPECT_EQ(install("Hand Held", (temp / "missing.pdb").c_str()), -513);
  EXPECT_EQ(install("Nobody", (temp / "Songs.pdb").c_str()), -553);
  EXPECT_EQ(install(nullptr, (temp / "Songs.pdb").c_str()), -505);
  EXPECT_EQ(install("Hand Held", nullptr), -506);
}

TEST_F(PalmDesktopTest, RelativeHomesStillGiveAbsolutePaths) {
  MakeJPilotHome("user Hand Held\n");
  WriteFile(jpilot + "/backup/Chords.pdb", "db");
  const fs::path here = fs::current_path();
  setenv("STRUMLET_PALM_HOME", fs::relative(palm, here).c_str(), 1);
  setenv("JPILOT_HOME", fs::relative(temp.path(), here).c_str(), 1);
  PalmUserDirectory directory;
  ASSERT_EQ(directory.LoadRootDirectory(), 0);
  const std::string root = directory.RootDirectory();
  EXPECT_EQ(root.front(), '/');
  EXPECT_TRUE(fs::equivalent(root, palm));
  // The Backup link leads to J-Pilot's backups, and J-Pilot is handed a path it can open.
  EXPECT_TRUE(fs::exists(directory.GetUserFolder("Hand Held", 1).value() + "Chords.pdb"));
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Queued);
  const std::string queued = ReadFile(jpilot + "/jpilot.install");
  EXPECT_EQ(queued.front(), '/');
  ASSERT_EQ(queued.back(), '\n');
  EXPECT_TRUE(
      fs::equivalent(queued.substr(0, queued.size() - 1), palm + "/J-Pilot/Install/strumlet.prc"));
}

TEST_F(PalmDesktopTest, JPilotQueueWaitsForAnotherProgramsLock) {
  MakeJPilotHome("user Hand Held\n");
  const std::string queue = jpilot + "/jpilot.install";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Another program holds the list locked, then writes its line and lets go.
    const int fd = open(queue.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fd < 0 || fcntl(fd, F_SETLKW, &lock) != 0) _exit(1);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    usleep(300 * 1000);
    const char line[] = "/other/program.pdb\n";
    if (write(fd, line, sizeof line - 1) != sizeof line - 1) _exit(1);
    _exit(0);
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Queued);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ(ReadFile(queue), "/other/program.pdb\n" + palm + "/J-Pilot/Install/strumlet.prc\n");
}

TEST_F(PalmDesktopTest, ConcurrentQueueingListsAPathOnce) {
  MakeJPilotHome("user Hand Held\n");
  // Two threads queue the same path at the same moment, many times over: the check and the
  // append are one step, so one of them finds the path listed.
  for (int round = 0; round < 100; ++round) {
    const std::string path = "/queued/file-" + std::to_string(round) + ".pdb";
    std::atomic<int> ready{0};
    int32_t results[2] = {};
    auto queue = [&](int which) {
      ready.fetch_add(1);
      while (ready.load() < 2) {
      }
      results[which] = palmdesktop::AppendToJPilotQueue(jpilot, path);
    };
    std::thread first(queue, 0);
    std::thread second(queue, 1);
    first.join();
    second.join();
    ASSERT_EQ(results[0] + results[1], -512) << "round " << round;
  }
  const auto lines = testing::Lines(ReadFile(jpilot + "/jpilot.install"));
  EXPECT_EQ(lines.size(), 100u);
}

TEST_F(PalmDesktopTest, QueueLineGoesInWholeOrNotAtAll) {
  MakeJPilotHome("user Hand Held\n");
  const std::string queue = jpilot + "/jpilot.install";
  const std::string before = "/earlier/Memo.pdb\n";
  WriteFile(queue, before);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Room for a few bytes of the line only: the write stops part-way.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{before.size() + 5, before.size() + 5};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
    const int32_t result = palmdesktop::AppendToJPilotQueue(jpilot, "/a/long/path/to/Songs.pdb");
    _exit(result == palm::kJPilotListNotWritten ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(queue), before);
}

TEST_F(PalmDesktopTest, UnwritableQueueIsReportedAsSuch) {
  MakeJPilotHome("user Hand Held\n");
  fs::create_directories(jpilot + "/jpilot.install");  // no file to append to
  EXPECT_EQ(testing::Told(installer.InstallApplication()), InstallOutcome::Failed);
  ASSERT_EQ(messenger.messages.size(), 1u);
  EXPECT_EQ(messenger.messages[0],
            (RecordedMessage{"Install Strumlet Application Error",
                             "Error: J-Pilot's install list, jpilot.install, could not be written.",
                             MessageIcon::Error}));
}

TEST_F(PalmDesktopTest, SmallBuffersGetCodesNeverOverflow) {
  AddUser("A Rather Long Name");
  char buffer[16];
  auto filled = [&] { std::memset(buffer, '#', sizeof buffer); };
  auto untouchedPast = [&](std::size_t n) {
    for (std::size_t i = n; i < sizeof buffer; ++i) {
      if (buffer[i] != '#') return false;
    }
    return true;
  };
  DynamicLibrary userData, conduits, aide;
  ASSERT_TRUE(userData.Load(palm::kUserDataLibrary));
  ASSERT_TRUE(conduits.Load(palm::kConduitManagerLibrary));
  ASSERT_EQ(installer.LoadInstallAide(true), 0);
  ASSERT_TRUE(aide.Load(palm + "/core/Instaide.dll"));

  filled();
  int32_t size = 4;
  EXPECT_EQ(conduits.Find<CmGetCorePathFn>("CmGetCorePath")(buffer, &size), -1010);
  EXPECT_TRUE(untouchedPast(4));
  filled();
  size = 4;
  EXPECT_EQ(userData.Find<UmGetRootDirectoryFn>("UmGetRootDirectory")(buffer, &size), 0);
  EXPECT_TRUE(untouchedPast(4));
  filled();
  size = 8;
  uint32_t id = 0;
  ASSERT_EQ(userData.Find<UmGetUserIDFn>("UmGetUserID")(0, &id), 0);
  EXPECT_EQ(userData.Find<UmGetUserNameFn>("UmGetUserName")(id, buffer, &size), -502);
  EXPECT_TRUE(untouchedPast(8));
  filled();
  size = 8;
  EXPECT_EQ(aide.Find<PltGetUserFn>("PltGetUser")(0, buffer, &size), -502);
  EXPECT_TRUE(untouchedPast(8));
  size = 8;
  EXPECT_EQ(aide.Find<PltGetUserFn>("PltGetUser")(1, buffer, &size), 0);  // past the last
}

}  // namespace
}  // namespace strumlet
