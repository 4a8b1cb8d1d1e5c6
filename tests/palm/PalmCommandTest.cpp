// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the built strumlet-palm as a user would, against a fresh Palm Desktop folder and a
// J-Pilot home: its output, its messages and its exit statuses.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PalmTestSupport.h"

namespace {

namespace fs = std::filesystem;
using strumlet::testing::ReadFile;
using strumlet::testing::ShellQuote;
using strumlet::testing::TempFolder;
using strumlet::testing::WriteFile;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class PalmCommandTest : public ::testing::Test {
 protected:
  PalmCommandTest() {
    fs::create_directories(installFiles);
    for (const char* file : {"strumcond.dll", "HSAPI.dll", "Instaide.dll"}) {
      fs::copy_file(std::string(STRUMLET_BUILD_INSTALLFILES_DIR) + "/" + file,
                    installFiles + "/" + file);
    }
  }

  Result Run(const std::string& arguments) {
    const std::string err = temp / "stderr";
    const std::string command =
        "cd " + ShellQuote(temp.path()) + " && STRUMLET_PALM_HOME=" + ShellQuote(home) +
        " JPILOT_HOME=" + ShellQuote(temp.path()) + " HOME=" + ShellQuote(temp.path()) + " " +
        STRUMLET_PALM + " " + arguments + " </dev/null 2>" + ShellQuote(err);
    Result result;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[4096];
      for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.out.append(buffer, got);
      }
      const int status = pclose(pipe);
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    result.err = ReadFile(err);
    return result;
  }

  TempFolder temp;
  std::string home = temp / "palm";
  // Found in the start directory, as the application finds it.
  std::string installFiles = temp / "installfiles";
};

TEST_F(PalmCommandTest, UsersAndTheirFolders) {
  Result r = Run("users");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Run("add-user 'bob'").status, 0);
  r = Run("add-user Ann");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, temp / "palm/Ann/Backup/\n");
  EXPECT_EQ(Run("add-user Ann").status, 1);
  EXPECT_EQ(Run("add-user ''").status, 2);

  fs::create_directories(temp / ".jpilot/backup");
  WriteFile(temp / ".jpilot/jpilot.rc", "user Cid's Palm\n");
  EXPECT_EQ(Run("users").out, "Ann\nbob\nCid's Palm\n");
  EXPECT_EQ(Run("user-folder \"Cid's Palm\"").out, temp / "palm/J-Pilot/Backup/\n");
  EXPECT_EQ(Run("user-folder --user-root bob").out, temp / "palm/bob/\n");
  r = Run("user-folder Nobody");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No folder found for the Palm user \"Nobody\".\n");
}

TEST_F(PalmCommandTest, LongPalmDesktopFoldersWork) {
  home = temp / (std::string(200, 'a') + "/" + std::string(200, 'b') + "/" + std::string(200, 'c'));
  EXPECT_EQ(Run("add-user Ann").out, home + "/Ann/Backup/\n");
  EXPECT_EQ(Run("users").out, "Ann\n");
  EXPECT_EQ(Run("install-conduit").status, 0);
  WriteFile(installFiles + "/strumlet.prc", "program");
  EXPECT_EQ(Run("install-app --user Ann").status, 0);
  EXPECT_EQ(ReadFile(home + "/Ann/Install/strumlet.prc"), "program");
}

TEST_F(PalmCommandTest, OutputThatCannotBeWrittenFailsAndNamesAreEscapedOnlyInMessages) {
  EXPECT_EQ(Run("add-user Ann").status, 0);
  Result r = Run("users >/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "strumlet-palm: could not write standard output: No space left on device\n");
  EXPECT_EQ(Run("user-folder Ann >/dev/full").status, 1);
  EXPECT_EQ(Run("users").status, 0);

  // To a pipe names go as they are, so that one command's answer is the next one's argument.
  EXPECT_EQ(Run("add-user \"$(printf 'Jos\\351')\"").status, 0);
  EXPECT_EQ(Run("users").out, "Ann\nJos\xe9\n");
  EXPECT_EQ(Run("user-folder \"$(printf 'Jos\\351')\"").out, temp / "palm/Jos\xe9/Backup/\n");

  // A name given on the command line comes back in the message escaped.
  r = Run("user-folder \"$(printf '\\033]0;x')\"");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No folder found for the Palm user \"\\x1b]0;x\".\n");
}

TEST_F(PalmCommandTest, ConduitInstallAndRemovalSayWhatHappened) {
  Result r = Run("remove-conduit");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Remove Conduit Error: Error: The specified conduit does not exist.\n");
  r = Run("install-conduit");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = Run("install-conduit");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("Install Conduit Error: Error: The creator ID", 0), 0u) << r.err;
  r = Run("remove-conduit");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Good: The Strumlet conduit has been removed.\n");
}

TEST_F(PalmCommandTest, HandMadeLinesSurviveEveryCommand) {
  fs::create_directories(temp / "palm/core");
  const std::string users = "# who syncs here\n5\tann\tAnn\nsomething else\n";
  const std::string registry = "# conduits\n[memo]\ntype=1\nname=memo.so\nextra=yes\n";
  WriteFile(temp / "palm/users", users);
  WriteFile(temp / "palm/core/conduits", registry);
  EXPECT_EQ(Run("add-user Bob").status, 0);
  EXPECT_EQ(ReadFile(temp / "palm/users"), users + "6\tBob\tBob\n");
  EXPECT_EQ(Run("users").out, "Ann\nBob\n");
  EXPECT_EQ(Run("install-conduit").status, 0);
  EXPECT_EQ(ReadFile(temp / "palm/core/conduits").rfind(registry + "[STRM]\n", 0), 0u);
  EXPECT_EQ(Run("remove-conduit").status, 0);
  EXPECT_EQ(ReadFile(temp / "palm/core/conduits"), registry);

  // A users file too large to read whole is left alone, and the user is told which one.
  fs::resize_file(temp / "palm/users", 17 << 20);
  const Result r = Run("add-user Cid");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The Palm user \"Cid\" could not be added: the users file " +
                       (temp / "palm/users") +
                       " could not be read whole, so it was left as it is.\n");
  EXPECT_EQ(fs::file_size(temp / "palm/users"), 17u << 20);
}

TEST_F(PalmCommandTest, InstallAppFailsWhenAnyUserFails) {
  Run("add-user Ann");
  Run("add-user bob");
  WriteFile(installFiles + "/strumlet.prc", "program");
  EXPECT_EQ(Run("install-app --user Ann").status, 0);
  // Ann has it already, bob gets it: the run fails, and says for whom.
  const Result r = Run("install-app --user Ann --user bob");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Install Strumlet Application Error: Error for the Palm user \"Ann\": An attempt was "
            "made to install a file that is already installed in the user\u2019s install "
            "directory.\n");
  EXPECT_EQ(ReadFile(temp / "palm/bob/Install/strumlet.prc"), "program");
}

TEST_F(PalmCommandTest, InstallAppForNamedUsers) {
  Run("add-user Ann");
  Run("add-user bob");
  Result r = Run("install-app --user Ann");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Install Strumlet Application Error: The Strumlet program could not be found!\n");

  WriteFile(installFiles + "/strumlet.prc", "program");
  r = Run("install-app --user bob --user Nobody");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "No Palm user is called \"Nobody\" (see strumlet-palm users).\n");
  EXPECT_FALSE(fs::exists(temp / "palm/bob/Install/strumlet.prc"));

  r = Run("install-app --user bob --user Ann");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "Install Strumlet Application: Strumlet will be installed to your Palm on the next "
            "HotSync.\n");
  EXPECT_EQ(ReadFile(temp / "palm/Ann/Install/strumlet.prc"), "program");
  r = Run("install-app --user Ann");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("already installed in the user\u2019s install directory."),
            std::string::npos);

  // Without a terminal to ask on, the users must be named.
  EXPECT_EQ(Run("install-app").status, 2);
  EXPECT_EQ(Run("frobnicate").status, 2);
  EXPECT_EQ(Run("--help").status, 0);
}

}  // namespace
