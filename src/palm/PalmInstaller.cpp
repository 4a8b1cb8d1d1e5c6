// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/PalmInstaller.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "LibraryText.h"
#include "strumlet/core/DataFolder.h"
#include "strumlet/core/FileCopy.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/StartDirectory.h"

namespace strumlet {
namespace {

constexpr const char* kCreator = "STRM";
constexpr const char* kConduitFile = "strumcond.dll";
constexpr const char* kProgramFile = "strumlet.prc";
constexpr const char* kInstallErrorCaption = "Install Strumlet Application Error";

bool SameContent(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

}  // namespace

// The text of a failure: the Palm Desktop's own, or ours for what only our libraries or our
// checks can fail at.
std::string CPalmInstaller::ErrorText(int32_t code) const {
  if (code == palm::kJPilotListNotWritten) {
    return "J-Pilot's install list, jpilot.install, could not be written.";
  }
  if (code == palm::kUntrustedLibrary) return refusal_;
  return GetErrorText(code);
}

PalmMessage CPalmInstaller::ErrorMessage(const char* caption, int32_t code) const {
  return {caption, "Error: " + ErrorText(code), MessageIcon::Error};
}

int32_t CPalmInstaller::LoadCoreLibrary(DynamicLibrary& library, const char* name,
                                        int32_t missing) {
  std::string refusal;
  if (library.LoadPrivate(JoinPath(coreFolder_, name), refusal)) return palm::kOk;
  if (refusal.empty()) return missing;
  refusal_ = std::move(refusal);
  return palm::kUntrustedLibrary;
}

void SortUserNames(std::vector<std::string>& names) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const auto m = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                 [&](char x, char y) { return lower(x) == lower(y); });
    if (m.first == a.end() || m.second == b.end()) {
      if (a.size() != b.size()) return a.size() < b.size();
      return a < b;
    }
    return lower(*m.first) < lower(*m.second);
  });
}

std::filesystem::path FindInstallFilesFolder() {
  const std::filesystem::path inStart = WithSlash(StartDirectory()) + "installfiles/";
  if (!StartDirectory().empty() && IsDirectory(inStart)) return inStart;
  const std::filesystem::path installed = WithSlash(InstalledLibraryFolder()) + "installfiles/";
  if (IsDirectory(installed)) return installed;
  // Only a program of the build tree may use the build tree's install files.
  if (RunsFromBuildTree() && IsDirectory(BuildTreeInstallFilesFolder())) {
    return WithSlash(BuildTreeInstallFilesFolder());
  }
  return inStart;
}

CPalmInstaller::CPalmInstaller() : CPalmInstaller(Options{}) {}

CPalmInstaller::CPalmInstaller(Options options)
    : installFiles_(options.installFilesFolder.empty()
                        ? FindInstallFilesFolder()
                        : std::filesystem::path(WithSlash(options.installFilesFolder))),
      conduitManagerLibrary_(std::move(options.conduitManagerLibrary)) {}

CPalmInstaller::~CPalmInstaller() = default;

int32_t CPalmInstaller::EnsureCoreFile(const std::string& name, bool copy) {
  const std::filesystem::path target = JoinPath(coreFolder_, name);
  if (PathExists(target)) return palm::kOk;
  if (!copy) return palm::kCoreFileMissing;
  const std::filesystem::path source = JoinPath(installFiles_, name);
  if (CopyWholeFile(source, target, /*replace=*/false)) return palm::kOk;
  // Another run that put the same file in place between our look and our copy did what we
  // came to do.
  return SameContent(source, target) ? palm::kOk : palm::kCopyFailed;
}

int32_t CPalmInstaller::LocateCoreFiles(bool copy) {
  if (!conduitManager_.IsLoaded() && !conduitManager_.Load(conduitManagerLibrary_)) {
    return palm::kNoConduitManager;
  }
  const auto getCorePath = conduitManager_.Find<CmGetCorePathFn>("CmGetCorePath");
  if (!getCorePath) {
    coreFolder_.clear();
    return palm::kNoCorePath;
  }
  std::string core;
  const int32_t result = AskLibraryForText(
      palm::kCorePathSize, core, getCorePath, [](int32_t code) { return code != palm::kOk; },
      [](int32_t code) { return code == palm::kConduitBufferTooSmall; });
  if (result != palm::kOk) {
    // Whatever the failing call left in the buffer is no folder to build paths from.
    coreFolder_.clear();
    return result;
  }
  std::replace(core.begin(), core.end(), '\\', '/');
  if (core.empty()) {
    // An empty answer would put the files into the file system's root.
    coreFolder_.clear();
    return palm::kNoCorePath;
  }
  coreFolder_ = WithSlash(core);
  if (const int32_t code = EnsureCoreFile(kConduitFile, copy)) return code;
  return EnsureCoreFile(palm::kHotSyncLibrary, copy);
}

int32_t CPalmInstaller::InstallConduit(PalmMessages* said) {
  if (const int32_t code = LocateCoreFiles(true)) return code;
  if (!conduitManager_.IsLoaded() && !conduitManager_.Load(conduitManagerLibrary_)) {
    return palm::kNoConduitManager;
  }
  const auto install = conduitManager_.Find<CmInstallCreatorFn>("CmInstallCreator");
  if (!install) return palm::kNoInstallCreator;
  if (const int32_t code = install(kCreator, palm::kApplicationConduit)) return code;
  const auto setName = conduitManager_.Find<CmSetCreatorNameFn>("CmSetCreatorName");
  if (!setName) return palm::kNoSetCreatorName;
  if (const int32_t code = setName(kCreator, kConduitFile)) return code;
  const auto setDirectory = conduitManager_.Find<CmSetCreatorDirectoryFn>("CmSetCreatorDirectory");
  if (!setDirectory) return palm::kNoSetCreatorDirectory;
  if (const int32_t code = setDirectory(kCreator, "Strumlet")) return code;
  const auto setTitle = conduitManager_.Find<CmSetCreatorTitleFn>("CmSetCreatorTitle");
  if (!setTitle) return palm::kNoSetCreatorTitle;
  if (const int32_t code = setTitle(kCreator, "Strumlet Conduit")) return code;
  RestartHotSync(said);
  return palm::kOk;
}

PalmReport<int32_t> CPalmInstaller::ReportConduitInstall() {
  PalmReport<int32_t> report;
  report.result = InstallConduit(&report.messages);
  if (report.result != palm::kOk) {
    report.messages.push_back(ErrorMessage("Install Conduit Error", report.result));
  }
  return report;
}

int32_t CPalmInstaller::RemoveConduit(PalmMessages* said) {
  if (!conduitManager_.IsLoaded() && !conduitManager_.Load(conduitManagerLibrary_)) {
    return palm::kNoConduitManager;
  }
  const auto remove =
      conduitManager_.Find<CmRemoveConduitByCreatorIDFn>("CmRemoveConduitByCreatorID");
  if (!remove) return palm::kNoRemoveConduit;
  const int32_t result = remove(kCreator);
  if (result != palm::kOk && result != palm::kConduitRemoved) return result;
  RestartHotSync(said);
  return palm::kOk;
}

PalmReport<int32_t> CPalmInstaller::ReportConduitRemoval() {
  PalmReport<int32_t> report;
  report.result = RemoveConduit(&report.messages);
  if (report.result == palm::kOk) {
    report.messages.push_back(
        {"Good", "The Strumlet conduit has been removed.", MessageIcon::Information});
  } else {
    report.messages.push_back(ErrorMessage("Remove Conduit Error", report.result));
  }
  return report;
}

int32_t CPalmInstaller::RestartHotSync(PalmMessages* said) {
  int32_t result = palm::kOk;
  if (coreFolder_.empty()) result = LocateCoreFiles(false);
  if (coreFolder_.empty()) return palm::kNoHotSyncLibrary;
  DynamicLibrary hotSync;
  if (const int32_t code =
          LoadCoreLibrary(hotSync, palm::kHotSyncLibrary, palm::kNoHotSyncLibrary)) {
    // The callers do not report a restart's failure: a refusal is told here, or never.
    if (code == palm::kUntrustedLibrary && said) {
      said->push_back({"HotSync Manager Not Restarted", refusal_, MessageIcon::Error});
    }
    return code;
  }
  if (result == palm::kOk) {
    const auto setStatus = hotSync.Find<HsSetAppStatusFn>("HsSetAppStatus");
    result = setStatus ? setStatus(palm::kRestartHotSync, 0) : palm::kNoSetAppStatus;
  }
  return result;
}

int32_t CPalmInstaller::LoadInstallAide(bool copy) {
  if (installAide_.IsLoaded()) return palm::kOk;
  if (const int32_t code = LocateCoreFiles(true)) return code;
  if (const int32_t code = EnsureCoreFile(palm::kInstallAideLibrary, copy)) return code;
  return LoadCoreLibrary(installAide_, palm::kInstallAideLibrary, palm::kNoInstallAide);
}

int32_t CPalmInstaller::GetPalmUsers(std::vector<std::string>& users) {
  if (const int32_t code = LoadInstallAide(true)) return code;
  const auto getCount = installAide_.Find<PltGetUserCountFn>("PltGetUserCount");
  if (!getCount) return palm::kNoGetUserCount;
  const int32_t count = getCount();
  const auto getUser = installAide_.Find<PltGetUserFn>("PltGetUser");
  if (!getUser) return palm::kNoGetUser;
  for (int32_t index = 0; index < count; ++index) {
    char buffer[palm::kUserNameSize] = {};
    int32_t size = palm::kUserNameSize;
    const int32_t result = getUser(index, buffer, &size);
    if (result == 0) return palm::kOk;  // no more users
    if (result < 0) return result;
    users.emplace_back(buffer, strnlen(buffer, sizeof buffer));
  }
  return palm::kOk;
}

int CPalmInstaller::RunUserSelectDialog(const std::vector<std::string>& users,
                                        std::vector<std::string>& chosen, PalmMessages& said) {
  chosen.clear();
  if (!chooser_) {
    said.push_back({"", "Error Creating Dialog Object", MessageIcon::Exclamation});
    return kChoiceNotShown;
  }
  std::vector<std::string> sorted = users;
  SortUserNames(sorted);
  const int end = chooser_->ChooseUsers(sorted, chosen);
  if (end != kChoiceOk) chosen.clear();
  return end;
}

int32_t CPalmInstaller::InstallProgramFile(const std::vector<std::string>& chosen,
                                           PalmMessages& said) {
  bool programMissing = false;
  std::vector<UserFailure> failures;
  return InstallProgramFile(chosen, programMissing, failures, said);
}

int32_t CPalmInstaller::InstallProgramFile(const std::vector<std::string>& chosen,
                                           bool& programMissing, std::vector<UserFailure>& failures,
                                           PalmMessages& said) {
  programMissing = false;
  if (const int32_t code = LoadInstallAide(true)) return code;
  const auto installFile = installAide_.Find<PltInstallFileFn>("PltInstallFile");
  if (!installFile) return palm::kNoInstallFile;
  const std::filesystem::path program = JoinPath(installFiles_, kProgramFile);
  if (!PathExists(program)) {
    programMissing = true;
    said.push_back(
        {kInstallErrorCaption, "The Strumlet program could not be found!", MessageIcon::Error});
    return palm::kOk;
  }
  // Every chosen user is tried; one failing does not keep the others from getting the program.
  int32_t result = palm::kOk;
  for (const auto& name : chosen) {
    const int32_t code = installFile(name.c_str(), program.c_str());
    if (code == palm::kOk) continue;
    if (result == palm::kOk) result = code;
    failures.push_back(UserFailure{name, code});
  }
  if (result == palm::kOk) {
    said.push_back({"Install Strumlet Application",
                    "Strumlet will be installed to your Palm on the next HotSync.",
                    MessageIcon::Exclamation});
  }
  return result;
}

PalmReport<InstallOutcome> CPalmInstaller::InstallApplication() {
  PalmReport<InstallOutcome> report;
  PalmMessages& said = report.messages;
  auto ended = [&](InstallOutcome outcome) {
    report.result = outcome;
    return report;
  };
  std::vector<std::string> users;
  std::vector<std::string> chosen;
  int32_t result = LoadInstallAide(true);
  if (result == palm::kOk) result = GetPalmUsers(users);
  if (result != palm::kOk) {
    said.push_back(ErrorMessage(kInstallErrorCaption, result));
    return ended(InstallOutcome::Failed);
  }
  const int end = RunUserSelectDialog(users, chosen, said);
  switch (end) {
    case kChoiceNotShown:
      said.push_back({"", "Dialog box could not be created!", MessageIcon::Exclamation});
      said.push_back(ErrorMessage(kInstallErrorCaption, palm::kNonspecificError));
      return ended(InstallOutcome::Failed);
    case kChoiceOk: {
      bool programMissing = false;
      std::vector<UserFailure> failures;
      result = InstallProgramFile(chosen, programMissing, failures, said);
      if (result == palm::kOk) {
        return ended(programMissing ? InstallOutcome::ProgramMissing : InstallOutcome::Queued);
      }
      if (chosen.size() < 2 || failures.empty()) {
        said.push_back(ErrorMessage(kInstallErrorCaption, result));
        return ended(InstallOutcome::Failed);
      }
      // With several users chosen, each failure says whose it is.
      for (const auto& failure : failures) {
        said.push_back(
            {kInstallErrorCaption,
             "Error for the Palm user \"" + failure.user + "\": " + ErrorText(failure.code),
             MessageIcon::Error});
      }
      return ended(InstallOutcome::Failed);
    }
    case kChoiceClosed:
    case kChoiceCancel:
    case kChoiceAbort:
      return ended(InstallOutcome::Cancelled);
    default:
      said.push_back(ErrorMessage(kInstallErrorCaption, end));
      return ended(InstallOutcome::Failed);
  }
}

}  // namespace strumlet
