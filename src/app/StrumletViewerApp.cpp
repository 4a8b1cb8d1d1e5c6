// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/StrumletViewerApp.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QWidget>
#include <cerrno>
#include <cstdio>

#include "ConversionRunner.h"
#include "OpenCommand.h"
#include "strumlet/app/DebugTiming.h"
#include "strumlet/app/NameCheckDialog.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/app/TuningsDialog.h"
#include "strumlet/app/ViewerCommandLineInfo.h"
#include "strumlet/convert/NameCheckRun.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/DatabaseExport.h"
#include "strumlet/export/PdfBookExport.h"
#include "strumlet/pdb/Tuning.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

CStrumletViewerApp* theApp = nullptr;

constexpr const char* kPreviewPages = "PreviewPages";

bool IsMissing(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

}  // namespace

CStrumletViewerApp::CStrumletViewerApp(ProfileStore& store) : store_(store) { theApp = this; }

CStrumletViewerApp::~CStrumletViewerApp() {
  // Windows first: closing them releases their documents.
  mainFrame_.reset();
  docManager_.reset();
  if (theApp == this) {
    theApp = nullptr;
  }
}

CStrumletViewerApp* CStrumletViewerApp::Get() { return theApp; }

std::optional<int> CStrumletViewerApp::InitInstance(const std::vector<std::string>& arguments,
                                                    const MainFrameFactory& createMainFrame) {
  // The start directory, the browser engine and the store are set up by main before the
  // QApplication exists; the component registry has no counterpart here.
  CViewerCommandLineInfo commandLine;
  commandLine.ParseCommandLine(arguments);
  if (commandLine.m_bShowHelp) {
    std::fputs(CommandLineUsage().c_str(), stdout);
    return 0;
  }
  if (commandLine.m_bShowVersion) {
    std::puts("strumletviewer 1.0");
    return 0;
  }

  recentFiles_.Load(store_);
  previewPages_ = store_.GetProfileInt(kSettingsSection, kPreviewPages, 0);

  mainFrame_ = createMainFrame(*this);
  if (!mainFrame_) {
    return 1;
  }
  docManager_ = std::make_unique<CDocManager>(settings_, *mainFrame_, &recentFiles_);
  docManager_->SetOpener([this](CStrumletViewerDoc& document, const std::string& path) {
    const bool opened = RunConversion(document, path, mainFrame_->Widget());
    const std::string& missing = document.summary().missingAsset;
    if (!missing.empty()) {
      // Without its drawing assets the program can do nothing useful.
      ShowMessage("Error", MissingAssetMessage(missing), MessageIcon::Information);
      Stop(1);
      return false;
    }
    // A database that could not be read has nothing to show: no window stays for it.
    return opened && !document.PagePath.empty();
  });

  // Nothing can drive a hidden program here, so a start as a component server ends at once.
  if (commandLine.m_bRunEmbedded || commandLine.m_bRunAutomated) {
    return 0;
  }

  // Before anything is converted: a page's words and every export name the notes.
  UseTunings(ReadTunings(store_));
  std::vector<std::string> notFound;
  switch (commandLine.m_nShellCommand) {
    case CViewerCommandLineInfo::ShellCommand::FileNew:
      if (docManager_->OpenNewDocument() == nullptr) {
        return 1;
      }
      break;
    case CViewerCommandLineInfo::ShellCommand::FileOpen: {
      // The settings are not loaded yet: the path is converted with what the Open command
      // would propose, so it gives the same pages as File, Open with OK.
      CopyProposedOpenSettings(store_, settings_);
      if (!CreateOutputFolder(settings_.m_strOutputPath)) {
        return 1;
      }
      // Up first, so that what the conversions say stands over it.
      mainFrame_->ShowMainWindow();
      // Each path in turn; a path that fails has said why, and start-up fails only when
      // none could be opened. A path that is gone (a file moved since a file manager listed
      // it) is told of over the main window, which opens for it. A stop ends start-up at once.
      bool opened = false;
      std::vector<std::string> paths = {commandLine.m_strFileName};
      paths.insert(paths.end(), commandLine.m_strMoreFileNames.begin(),
                   commandLine.m_strMoreFileNames.end());
      for (const std::string& path : paths) {
        if (stopStatus_) {
          break;
        }
        if (IsMissing(path)) {
          notFound.push_back(path);
          continue;
        }
        opened = OpenDocumentFile(path) != nullptr || opened;
      }
      if (stopStatus_) {
        return *stopStatus_;
      }
      if (!opened && notFound.empty()) {
        return 1;
      }
      break;
    }
    case CViewerCommandLineInfo::ShellCommand::AppUnregister:
      return 0;
    case CViewerCommandLineInfo::ShellCommand::FileNothing:
      break;
  }

  mainFrame_->ShowMainWindow();
  LoadStartupSettings(store_, settings_);
  mainFrame_->UpdateCommands();
  for (const std::string& path : notFound) {
    ShowMessage("", "'" + path + "' was not found.");
  }
  return std::nullopt;
}

int CStrumletViewerApp::ExitInstance() {
  // A stopped program ends as it stood, keeping nothing of this run.
  if (stopStatus_) {
    return *stopStatus_;
  }
  recentFiles_.Save(store_);
  store_.WriteProfileInt(kSettingsSection, kPreviewPages, previewPages_);
  return 0;
}

bool CStrumletViewerApp::Export(const OutputFormat& format, const std::string& databasePath,
                                int sortOrder, const std::string& outputFile) {
  ExportResult exported;
  if (format.writeBook) {
    // The book's diagrams are drawn as the next page's would be.
    PdfBookSettings book;
    book.style = PageOptionsFor(settings_).style;
    if (book.style.fontFile.empty()) book.style.fontFile = DefaultFontFile();
    exported = ExportPdfBook(databasePath, sortOrder, outputFile, book);
  } else {
    exported = ExportDatabase(format.write, databasePath, sortOrder, outputFile);
  }
  for (const std::string& text : ExportMessages(exported)) ShowMessage("", text);
  return exported.ok();
}

void CStrumletViewerApp::Stop(int status) {
  stopStatus_ = status;
  // Leaves the event loop when it runs (main then calls ExitInstance); during start-up
  // InitInstance sees the status and returns it.
  QCoreApplication::exit(status);
}

CStrumletViewerDoc* CStrumletViewerApp::OpenDocumentFile(const std::string& path) {
  return docManager_ ? docManager_->OpenDocumentFile(path) : nullptr;
}

void CStrumletViewerApp::OnFileOpen(const std::string& proposedPath) {
  QWidget* parent = mainFrame_ ? mainFrame_->Widget() : nullptr;
  const auto paths = RunOpenCommand(parent, store_, settings_, proposedPath);
  if (paths) {
    DebugTiming("open-accepted");
    for (const std::string& path : *paths) OpenDocumentFile(path);
  }
}

void CStrumletViewerApp::OnFileNew() {
  if (docManager_) {
    docManager_->OpenNewDocument();
  }
}

void CStrumletViewerApp::OnSettingCommand(int command) {
  if (command == ID_PATH_SETTINGS) {
    RunPathSettingsCommand(mainFrame_ ? mainFrame_->Widget() : nullptr, store_, settings_);
    return;
  }
  RunSettingCommand(command, store_, settings_);
}

void CStrumletViewerApp::OnTunings() {
  CTuningsDialog dialog(TuningsInUse(), mainFrame_ ? mainFrame_->Widget() : nullptr);
  if (dialog.exec() != QDialog::Accepted) return;
  StoreTunings(store_, dialog.Chosen());
  UseTunings(dialog.Chosen());
}

void CStrumletViewerApp::OnCheckNames(const std::string& databasePath, int sortOrder) {
  // A database that cannot be read has said why.
  const NameCheckRun check = CheckNames(databasePath, sortOrder);
  if (!check.ran) return;
  CNameCheckDialog dialog(check.report + check.summary + "\n",
                          mainFrame_ ? mainFrame_->Widget() : nullptr);
  dialog.exec();
}

std::optional<bool> CStrumletViewerApp::SettingChecked(int command) const {
  return SettingCommandChecked(command, settings_);
}

}  // namespace strumlet
