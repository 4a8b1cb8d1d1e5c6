// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "strumlet/app/DocManager.h"
#include "strumlet/app/ProfileStore.h"
#include "strumlet/app/RecentFileList.h"
#include "strumlet/convert/OutputFormats.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/palm/PalmInstaller.h"

class QWidget;

namespace strumlet {

class CStrumletViewerApp;

// What the application needs of its main window; the window layer supplies it.
class MainFrameWindow : public DocumentWindowFactory {
 public:
  virtual QWidget* Widget() = 0;
  virtual void ShowMainWindow() = 0;
  // The settings changed outside the window's own commands: check marks are to be redone.
  virtual void UpdateCommands() = 0;
};

using MainFrameFactory = std::function<std::unique_ptr<MainFrameWindow>(CStrumletViewerApp&)>;

// The application object: start-up, the processing settings, the documents and the commands
// that are not a window's own.
class CStrumletViewerApp {
 public:
  static constexpr int kRecentFileCount = 7;

  explicit CStrumletViewerApp(ProfileStore& store);
  ~CStrumletViewerApp();
  CStrumletViewerApp(const CStrumletViewerApp&) = delete;
  CStrumletViewerApp& operator=(const CStrumletViewerApp&) = delete;

  // The one application object, while it exists.
  static CStrumletViewerApp* Get();

  // Start-up after the QApplication exists. Nothing when the program is to run its event loop,
  // else the status it should end with now (also when a document opened on the command line
  // stopped the program).
  std::optional<int> InitInstance(const std::vector<std::string>& arguments,
                                  const MainFrameFactory& createMainFrame);
  // Saves the recent-file list and the standard settings; returns the exit status. After a
  // stop it saves nothing and returns the stop's status.
  int ExitInstance();

  // The program cannot go on (a drawing asset is missing, the user has been told): asks the
  // event loop to end, and makes InitInstance and ExitInstance return `status`. The process is
  // ended by main, never here.
  void Stop(int status);
  // The status of a stop; nothing while the program goes on.
  std::optional<int> StopStatus() const { return stopStatus_; }

  // File, Open: the options dialog, then the conversion in a new window. `proposedPath` (from a
  // drop) replaces the stored path in the dialog when not empty.
  void OnFileOpen(const std::string& proposedPath = {});
  // File, New: an empty document window with the instructions.
  void OnFileNew();
  // The single-setting commands and the path settings command.
  void OnSettingCommand(int command);
  std::optional<bool> SettingChecked(int command) const;
  // Options, Tunings: the dialog; what it accepts is kept and used from the next conversion or
  // export on.
  void OnTunings();
  // Tools, Check Chord Names: checks the database at `databasePath` in the tunings in use and
  // shows what it found.
  void OnCheckNames(const std::string& databasePath, int sortOrder);

  // Opens `path` with the current processing settings; nullptr on failure.
  CStrumletViewerDoc* OpenDocumentFile(const std::string& path);

  // The one Palm Desktop installer of the run.
  CPalmInstaller& palmInstaller() { return palmInstaller_; }

  // Reads the database again with `sortOrder` and writes its file in `format` (one with a
  // writer).
  bool Export(const OutputFormat& format, const std::string& databasePath, int sortOrder,
              const std::string& outputFile);

  ProcessingSettings& settings() { return settings_; }
  ProfileStore& store() { return store_; }
  CDocManager* docManager() { return docManager_.get(); }
  MainFrameWindow* mainFrame() { return mainFrame_.get(); }
  const RecentFileList& recentFiles() const { return recentFiles_; }
  RecentFileList& recentFiles() { return recentFiles_; }

 private:
  ProfileStore& store_;
  ProcessingSettings settings_;
  RecentFileList recentFiles_{kRecentFileCount};
  int previewPages_ = 0;
  CPalmInstaller palmInstaller_;
  std::unique_ptr<MainFrameWindow> mainFrame_;
  std::unique_ptr<CDocManager> docManager_;
  std::optional<int> stopStatus_;
};

}  // namespace strumlet
