// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "strumlet/core/Messenger.h"
#include "strumlet/palm/DynamicLibrary.h"
#include "strumlet/palm/PalmEntryPoints.h"
#include "strumlet/palm/PalmErrors.h"

namespace strumlet {

// How a choice of users ended, as UserChooser::ChooseUsers answers (a dialog's end codes).
inline constexpr int kChoiceOk = 1;
inline constexpr int kChoiceCancel = 2;
// Closed without an answer, or abandoned: taken as a cancel.
inline constexpr int kChoiceClosed = 0;
inline constexpr int kChoiceAbort = 3;
// The choice could not be shown at all.
inline constexpr int kChoiceNotShown = -1;

// Lets the user pick the Palm users that get the Strumlet program. The window supplies the
// "Install Strumlet" dialog (CUserSelectDialog, target strumlet_palm_dialog); strumlet-palm
// supplies the --user names or a terminal prompt; tests supply a script.
class UserChooser {
 public:
  virtual ~UserChooser() = default;
  // Shows `users` (sorted with SortUserNames, nothing chosen at first) and appends the chosen
  // names to `chosen`, in that sorted order. Returns kChoiceOk, kChoiceCancel or
  // kChoiceNotShown when the choice cannot be shown at all; `chosen` stays empty unless the
  // result is kChoiceOk.
  virtual int ChooseUsers(const std::vector<std::string>& users,
                          std::vector<std::string>& chosen) = 0;
};

// Sorts user names as the user-selection list and the Open dialog's user list show them:
// case-insensitively (ASCII), equal names in byte order.
void SortUserNames(std::vector<std::string>& names);

// One message of a Palm Desktop command, in its words and under its caption, for the front end
// to show; this layer shows nothing itself.
struct PalmMessage {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const PalmMessage&) const = default;
};
using PalmMessages = std::vector<PalmMessage>;

// What one of the commands below came to: its result, and the messages to show for it in the
// order they arose.
template <class T>
struct PalmReport {
  T result{};
  PalmMessages messages;
};

// How InstallApplication ended, for front ends that need an exit status.
enum class InstallOutcome {
  Queued,          // every chosen user got the program; with the success message
  Cancelled,       // the user chose nothing (Cancel); no message
  ProgramMissing,  // "strumlet.prc" is not in the install-files folder; with its message
  Failed,          // with an error box (one for each user that failed)
};

// The folder holding "strumlet.prc", "strumcond.dll", "HSAPI.dll" and "Instaide.dll": the start
// directory's "installfiles/" when that folder exists, else the installed library folder's
// "installfiles/" (its libraries are architecture-specific), else the build tree's. Ends in "/".
std::filesystem::path FindInstallFilesFolder();

// The one object through which every Palm Desktop operation runs, alive for the whole run.
// It holds the Conduit Manager ("CondMgr.dll", by bare name) and the Install Aide
// ("Instaide.dll", by full path from the core folder) once loaded, until it is destroyed; the
// HotSync API ("HSAPI.dll", from the core folder) only during RestartHotSync; a library of the
// core folder only when no other user can have changed it. Every entry point is looked up on
// each use. Result codes are those GetErrorText explains: 0 success, 1 to 15 our own step codes,
// a library's own code passed on unchanged; and 17 for a library refused, whose message names
// the file and why. The commands hand back their messages, with the captions and icons below,
// for the front end to show. Not thread-safe: one thread (the window's, or the command line's)
// drives it.
class CPalmInstaller {
 public:
  struct Options {
    // Ends in "/". Empty: FindInstallFilesFolder().
    std::filesystem::path installFilesFolder;
    // The file handed to the loader for the Conduit Manager; tests give a full path.
    std::filesystem::path conduitManagerLibrary = palm::kConduitManagerLibrary;
  };

  CPalmInstaller();
  explicit CPalmInstaller(Options options);
  virtual ~CPalmInstaller();
  CPalmInstaller(const CPalmInstaller&) = delete;
  CPalmInstaller& operator=(const CPalmInstaller&) = delete;

  // Who picks the users in InstallApplication (not owned; nullptr: nobody, so the choice
  // "cannot be created").
  void SetUserChooser(UserChooser* chooser) { chooser_ = chooser; }

  // --- conduit --------------------------------------------------------------------------

  // Loads the Conduit Manager, learns the core folder and checks that "strumcond.dll" and then
  // "HSAPI.dll" lie there; with `copy` set, copies a missing one from the install-files folder
  // (never over an existing file; one that another run put in place meanwhile, with the same
  // content, counts as copied). 1 no Conduit Manager; 9 no CmGetCorePath; its own code when
  // it fails; 10 a file missing and no copying asked; 11 a copy failed.
  int32_t LocateCoreFiles(bool copy);
  // Copies the conduit into place and registers it for creator "STRM" (type 0, name
  // "strumcond.dll", directory "Strumlet", title "Strumlet Conduit"), then restarts HotSync
  // Manager (whose result does not count; a refused "HSAPI.dll" is told in `said`, when given).
  // 2 to 5 for a missing entry point, else the Conduit Manager's own code. No roll-back of a
  // partly made entry.
  int32_t InstallConduit(PalmMessages* said = nullptr);
  // InstallConduit, and on failure the error box "Error: " + text under "Install Conduit Error"
  // (error icon); success says nothing. The window's command and `strumlet-palm
  // install-conduit` both run this. The result is InstallConduit's.
  PalmReport<int32_t> ReportConduitInstall();
  // Removes the registration of "STRM" (the library's 0 and 1 both mean removed, and restart
  // HotSync Manager, as InstallConduit does); 1 no Conduit Manager, 8 no
  // CmRemoveConduitByCreatorID, else its code.
  int32_t RemoveConduit(PalmMessages* said = nullptr);
  // RemoveConduit, then "The Strumlet conduit has been removed." under "Good" (information
  // icon) or "Error: " + text under "Remove Conduit Error" (error icon). The result is
  // RemoveConduit's.
  PalmReport<int32_t> ReportConduitRemoval();
  // Asks HotSync Manager to restart through "HSAPI.dll" of the core folder (learnt without
  // copying when no LocateCoreFiles ran yet). 6 when it cannot be loaded, 17 when other users
  // could have changed it (with, in `said` when given, a message naming the file and why, under
  // "HotSync Manager Not Restarted"), 7 when it lacks HsSetAppStatus, else that call's result.
  int32_t RestartHotSync(PalmMessages* said = nullptr);

  // --- application install --------------------------------------------------------------

  // Makes sure the Install Aide is loaded: LocateCoreFiles(true) every time until it is, then
  // "Instaide.dll" in the core folder (copied from the install-files folder with `copy`;
  // 11 when that fails, 10 when missing without `copy`), loaded by full path (12 when not; 17
  // when other users could have changed it, whose error text names the file and why).
  int32_t LoadInstallAide(bool copy);
  // Appends every Palm user name the Install Aide reports to `users`. 13/14 for missing entry
  // points, a negative library code on failure.
  int32_t GetPalmUsers(std::vector<std::string>& users);
  // Lets the chooser pick from `users` into `chosen`: 1 OK, 2 Cancel, -1 when there is no
  // chooser (adding the message "Error Creating Dialog Object" to `said`).
  int RunUserSelectDialog(const std::vector<std::string>& users, std::vector<std::string>& chosen,
                          PalmMessages& said);
  // Queues install-files folder + "strumlet.prc" for every chosen user, in order, going on past
  // a failing user; the result is the first failing call's, 0 when every call succeeded (and
  // for none chosen). A missing program file adds "The Strumlet program could not be found!"
  // alone to `said` and gives 0; only when every user succeeded it adds "Strumlet will be
  // installed to your Palm on the next HotSync." under "Install Strumlet Application"
  // (exclamation icon).
  int32_t InstallProgramFile(const std::vector<std::string>& chosen, PalmMessages& said);
  // The whole "Install Strumlet to your Palm" command: users, choice, queueing, and every
  // failure as "Error: " + text under "Install Strumlet Application Error" (error icon). With
  // several users chosen, each user whose queueing failed gets a box of its own, reading
  // "Error for the Palm user \"NAME\": " + text.
  PalmReport<InstallOutcome> InstallApplication();

  // The text for a result code (see PalmErrors.h).
  static std::string GetErrorText(int32_t code) { return strumlet::GetErrorText(code); }

  const std::filesystem::path& InstallFilesFolder() const { return installFiles_; }
  // The core folder as last learnt, ending in "/"; empty before (or after a failed) look-up.
  const std::filesystem::path& CoreFolder() const { return coreFolder_; }

 private:
  struct UserFailure {
    std::string user;
    int32_t code = 0;
  };

  int32_t EnsureCoreFile(const std::string& name, bool copy);
  // Loads `name` of the core folder when no other user can have changed it: kOk, `missing` when
  // it cannot be loaded, kUntrustedLibrary with the refusal kept for ErrorText.
  int32_t LoadCoreLibrary(DynamicLibrary& library, const char* name, int32_t missing);
  std::string ErrorText(int32_t code) const;
  // The error box "Error: " + ErrorText(code) under `caption`.
  PalmMessage ErrorMessage(const char* caption, int32_t code) const;
  int32_t InstallProgramFile(const std::vector<std::string>& chosen, bool& programMissing,
                             std::vector<UserFailure>& failures, PalmMessages& said);

  DynamicLibrary conduitManager_;
  DynamicLibrary installAide_;
  std::filesystem::path installFiles_;
  std::filesystem::path coreFolder_;
  std::filesystem::path conduitManagerLibrary_;
  std::string refusal_;  // why the last library refused was refused
  UserChooser* chooser_ = nullptr;
};

}  // namespace strumlet
