// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-palm: the Palm Desktop operations of the application's Palm commands, from a
// terminal: list the Palm users and their backup folders, install and remove the HotSync
// conduit, queue the Strumlet program for chosen users.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TerminalMessenger.h"
#include "TerminalOutput.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/palm/PalmInstaller.h"
#include "strumlet/palm/PalmUserDirectory.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

using strumlet::MessageIcon;

// The users named with --user, in the list's sorted order; a name that is no Palm user ends
// the choice (the queue would otherwise skip that user silently when a later one succeeds).
class NamedUsers final : public strumlet::UserChooser {
 public:
  explicit NamedUsers(std::vector<std::string> names) : names_(std::move(names)) {}
  int ChooseUsers(const std::vector<std::string>& users,
                  std::vector<std::string>& chosen) override {
    for (const auto& name : names_) {
      if (std::find(users.begin(), users.end(), name) == users.end()) {
        unknown.push_back(name);
      }
    }
    if (!unknown.empty()) return strumlet::kChoiceCancel;
    for (const auto& user : users) {
      if (std::find(names_.begin(), names_.end(), user) != names_.end()) chosen.push_back(user);
    }
    return strumlet::kChoiceOk;
  }
  std::vector<std::string> unknown;

 private:
  std::vector<std::string> names_;
};

// Lists the users on the terminal and reads the numbers of those chosen.
class TerminalChoice final : public strumlet::UserChooser {
 public:
  int ChooseUsers(const std::vector<std::string>& users,
                  std::vector<std::string>& chosen) override {
    std::fprintf(stderr,
                 "Please select the user(s) that would like to have the Strumlet application "
                 "installed to their Palm on the next HotSync:\n");
    for (std::size_t i = 0; i < users.size(); ++i) {
      std::fprintf(stderr, "  %zu) %s\n", i + 1, strumlet::TerminalText(users[i], false).c_str());
    }
    if (users.empty()) std::fprintf(stderr, "  (no Palm users)\n");
    for (;;) {
      std::fprintf(stderr, "Numbers separated by blanks (empty line cancels): ");
      std::string line;
      if (!std::getline(std::cin, line)) {
        std::fprintf(stderr, "\n");
        return strumlet::kChoiceCancel;
      }
      std::replace(line.begin(), line.end(), ',', ' ');
      std::istringstream words(line);
      std::vector<bool> picked(users.size(), false);
      bool any = false;
      bool valid = true;
      for (std::string word; words >> word;) {
        std::size_t used = 0;
        unsigned long n = 0;
        try {
          n = std::stoul(word, &used);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used != word.size() || n < 1 || n > users.size()) {
          std::fprintf(stderr, "Not a number from the list: %s\n",
                       strumlet::TerminalText(word).c_str());
          valid = false;
          break;
        }
        picked[n - 1] = true;
        any = true;
      }
      if (!valid) continue;
      if (!any) return strumlet::kChoiceCancel;
      for (std::size_t i = 0; i < users.size(); ++i) {
        if (picked[i]) chosen.push_back(users[i]);
      }
      return strumlet::kChoiceOk;
    }
  }
};

int ListUsers(strumlet::Messenger& messenger) {
  strumlet::PalmUserDirectory directory;
  std::vector<std::string> names;
  if (directory.LoadRootDirectory() != strumlet::palm::kOk ||
      directory.ListUserNames(names) != strumlet::palm::kOk) {
    messenger.ShowMessage(
        "",
        "The Palm users could not be listed: " + std::string(strumlet::palm::kUserDataLibrary) +
            " could not be loaded or does not answer.",
        MessageIcon::Error);
    return kFailed;
  }
  strumlet::SortUserNames(names);
  for (const auto& name : names) strumlet::PrintOutputLine(name);
  return kDone;
}

int UserFolder(strumlet::Messenger& messenger, const std::string& name, bool backup) {
  strumlet::PalmUserDirectory directory;
  std::optional<std::string> folder;
  if (directory.LoadRootDirectory() == strumlet::palm::kOk) {
    if (auto found = directory.GetUserFolder(name, backup ? 1 : 0)) folder = *std::move(found);
  }
  if (!folder) {
    messenger.ShowMessage("", "No folder found for the Palm user \"" + name + "\".",
                          MessageIcon::Error);
    return kFailed;
  }
  strumlet::PrintOutputLine(*folder);
  return kDone;
}

int AddUser(strumlet::Messenger& messenger, const std::string& name) {
  strumlet::DynamicLibrary userData;
  const auto add = userData.Load(strumlet::palm::kUserDataLibrary)
                       ? userData.Find<UmAddUserFn>("UmAddUser")
                       : nullptr;
  if (!add) {
    messenger.ShowMessage("",
                          "This Palm Desktop cannot add users: its UserData.dll has no UmAddUser.",
                          MessageIcon::Error);
    return kFailed;
  }
  uint32_t id = 0;
  const int32_t result = add(name.c_str(), &id);
  if (result == strumlet::palm::kInvalidUserName) {
    messenger.ShowMessage(
        "", "Not a usable Palm user name (1 to 63 bytes, no control characters): \"" + name + "\".",
        MessageIcon::Error);
    return kUsageError;
  }
  if (result == strumlet::palm::kUsersFileUnreadable) {
    strumlet::PalmUserDirectory directory;
    const std::string file = directory.LoadRootDirectory() == strumlet::palm::kOk
                                 ? directory.RootDirectory() + "users"
                                 : "users";
    messenger.ShowMessage("",
                          "The Palm user \"" + name + "\" could not be added: the users file " +
                              file + " could not be read whole, so it was left as it is.",
                          MessageIcon::Error);
    return kFailed;
  }
  if (result != strumlet::palm::kOk) {
    messenger.ShowMessage("",
                          "The Palm user \"" + name +
                              "\" could not be added: the name is taken or the users file "
                              "cannot be written.",
                          MessageIcon::Error);
    return kFailed;
  }
  strumlet::PalmUserDirectory directory;
  if (directory.LoadRootDirectory() == strumlet::palm::kOk) {
    // The user is added either way; a folder the library cannot name is printed as "Error", as
    // this command always has.
    strumlet::PrintOutputLine(directory.GetUserFolder(name, 1).value_or("Error"));
  }
  return kDone;
}

// Prints what a Palm command had to say, in order, and hands back its result.
template <class T>
T Tell(strumlet::Messenger& messenger, const strumlet::PalmReport<T>& report) {
  for (const strumlet::PalmMessage& message : report.messages) {
    messenger.ShowMessage(message.caption, message.text, message.icon);
  }
  return report.result;
}

int InstallApplication(strumlet::CPalmInstaller& installer, strumlet::Messenger& messenger,
                       const std::vector<std::string>& users) {
  NamedUsers named(users);
  TerminalChoice prompt;
  if (!users.empty()) {
    installer.SetUserChooser(&named);
  } else if (isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {
    installer.SetUserChooser(&prompt);
  } else {
    messenger.ShowMessage("", "Name the Palm users with --user NAME (see strumlet-palm users).",
                          MessageIcon::Error);
    return kUsageError;
  }
  const auto outcome = Tell(messenger, installer.InstallApplication());
  if (!named.unknown.empty()) {
    for (const auto& name : named.unknown) {
      messenger.ShowMessage("",
                            "No Palm user is called \"" + name + "\" (see strumlet-palm users).",
                            MessageIcon::Error);
    }
    return kUsageError;
  }
  switch (outcome) {
    case strumlet::InstallOutcome::Queued:
      return kDone;
    case strumlet::InstallOutcome::Cancelled:
      messenger.ShowMessage("", "Nothing was installed.", MessageIcon::None);
      return kFailed;
    default:
      return kFailed;
  }
}

int Run(int argc, char** argv) {
  strumlet::StartDirectory();
  CLI::App app{
      "Runs the Palm Desktop operations of StrumletViewer: lists the Palm users and their backup "
      "folders, installs and removes the Strumlet HotSync conduit, and queues the Strumlet Palm "
      "program for the chosen users' next sync.",
      "strumlet-palm"};
  app.footer(
      "Palm Desktop folder: $STRUMLET_PALM_HOME, else $XDG_DATA_HOME/strumletviewer/palm\n"
      "(~/.local/share/strumletviewer/palm). A J-Pilot home ($JPILOT_HOME/.jpilot, else\n"
      "~/.jpilot) whose jpilot.rc names a user adds that handheld as a user: its backup folder\n"
      "is J-Pilot's, and install-app appends to J-Pilot's jpilot.install.\n"
      "\n"
      "install-app hands over strumlet.prc from the install-files folder: ./installfiles/ when\n"
      "it exists, else <prefix>/lib/strumletviewer/installfiles/ (or the build tree's\n"
      "installfiles/), or the folder given with --install-files. Copy your strumlet.prc there;\n"
      "it does not come with StrumletViewer. A folder of your own (./installfiles/ or\n"
      "--install-files) needs strumcond.dll, HSAPI.dll and Instaide.dll of the installed one\n"
      "beside it, since they are copied into the Palm Desktop core folder from there.\n"
      "\n"
      "Exit status: 0 done, 1 a reported failure, 2 a usage error.");
  app.require_subcommand(1);
  // Options of the program may also follow the subcommand.
  app.fallthrough();
  std::string installFiles;
  app.add_option("--install-files", installFiles,
                 "Folder holding strumlet.prc, strumcond.dll, HSAPI.dll and Instaide.dll")
      ->check(CLI::ExistingDirectory);

  app.add_subcommand("users", "List the Palm users, one name a line");
  auto* folder = app.add_subcommand("user-folder", "Print a Palm user's backup folder");
  std::string folderUser;
  bool noBackup = false;
  folder->add_option("NAME", folderUser, "The Palm user")->required();
  folder->add_flag("--user-root", noBackup, "Print the user's folder, not its Backup folder");
  auto* add = app.add_subcommand("add-user",
                                 "Add a Palm user (with its folders) to the Palm "
                                 "Desktop folder");
  std::string newUser;
  add->add_option("NAME", newUser, "The new user's name")->required();
  app.add_subcommand("install-conduit", "Install the Strumlet conduit for Hot Sync ability");
  app.add_subcommand("remove-conduit", "Remove the Strumlet conduit");
  auto* installApp = app.add_subcommand(
      "install-app", "Install Strumlet to your Palm: queue strumlet.prc for the next sync");
  std::vector<std::string> users;
  installApp->add_option("--user", users,
                         "A Palm user to install for (repeat for more); without it, asks");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsageError;
  }

  strumlet::TerminalMessenger messenger(false);
  strumlet::ScopedMessenger scoped(messenger);
  if (app.got_subcommand("users")) return ListUsers(messenger);
  if (app.got_subcommand("user-folder")) return UserFolder(messenger, folderUser, !noBackup);
  if (app.got_subcommand("add-user")) return AddUser(messenger, newUser);

  strumlet::CPalmInstaller::Options options;
  options.installFilesFolder = installFiles;
  strumlet::CPalmInstaller installer(options);
  if (app.got_subcommand("install-conduit")) {
    return Tell(messenger, installer.ReportConduitInstall()) == strumlet::palm::kOk ? kDone
                                                                                    : kFailed;
  }
  if (app.got_subcommand("remove-conduit")) {
    return Tell(messenger, installer.ReportConduitRemoval()) == strumlet::palm::kOk ? kDone
                                                                                    : kFailed;
  }
  return InstallApplication(installer, messenger, users);
}

}  // namespace

int main(int argc, char** argv) {
  // A list or folder that never reached its reader is no success.
  return strumlet::FinishStandardOutput("strumlet-palm", Run(argc, argv));
}
