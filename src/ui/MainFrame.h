// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "strumlet/app/StrumletViewerApp.h"

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

namespace strumlet {

class CChildFrame;

// The main window: tool bar, an empty dialog-bar band, the document windows and the status bar.
// Its menu bar holds the short menus while no document window exists and the full ones while one
// does: one File menu whose items follow, and the Edit, View and Window menus only while they
// apply.
class CMainFrame final : public QMainWindow, public MainFrameWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(CStrumletViewerApp& app, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // MainFrameWindow
  QWidget* Widget() override { return this; }
  void ShowMainWindow() override;
  void UpdateCommands() override { updateMenus(); }
  DocumentWindow* CreateDocumentWindow(CStrumletViewerDoc& document,
                                       std::function<void()> closed) override;

  QMdiArea* mdiArea() const { return mdiArea_; }
  // The active document window; nullptr when there is none.
  CChildFrame* activeChild() const;
  // The command of a resource identifier (57601 Open, 32780 JPEG, ...), found by its object
  // name "command" + id; nullptr when unknown.
  QAction* command(int id) const;
  // The zoom of every page view, in percent.
  int pageZoom() const { return pageZoom_; }

  // Whether the drop of these paths would be taken, and the path proposed to Open.
  static QString DroppablePath(const QList<QUrl>& urls);

  // What opens a written chord book in the desktop's PDF viewer (QDesktopServices by default).
  using FileOpener = std::function<void(const QUrl&)>;
  void SetFileOpener(FileOpener opener) { fileOpener_ = std::move(opener); }

 public slots:
  // Visibility of the menus, enabled states, check marks and the caption, all from the current
  // state.
  void updateMenus();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private slots:
  void newFile();
  void open();
  void exportChords(const OutputFormat& format);
  void print();
  void printSetup();
  void copy();
  void nextPane();
  void previousPane();
  void find();
  void findNext();
  void findPrevious();
  void zoomIn();
  void zoomOut();
  void zoomActual();
  void zoomBySteps(int steps);
  void runSettingCommand(int id);
  // Tools, Check Chord Names, for the database of the page shown.
  void checkChordNames();
  void installPalmApplication();
  void installConduit();
  void removeConduit();
  void about();
  void updateWindowMenu();
  void updateRecentMenu();
  void openRecent(const std::string& path);

 public:
  // The window's sound, for tests.
  class CChordPlayback* chordPlayback() const {
    return playback_;
  }

 private:
  void createActions();
  void createUnavailableActions();
  void createSettingActions();
  void createMenus();
  void createToolBars();
  void createStatusBar();
  QAction* newCommand(int id, const QString& text, const QString& tip);
  // The database of the page the window shows; its `database` is empty when there is none.
  CStrumletViewerDoc::PageSource ExportSource(CChildFrame* child) const;
  // Zooms every page view to `percent`, and keeps it for the next start.
  void setPageZoom(int percent);
  void readGeometry();
  void fitToScreen();
  void writeGeometry();

  CStrumletViewerApp& app_;
  QMdiArea* mdiArea_;

  class CChordPlayback* playback_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  // Whether the File menu and the bar hold the full menus, once they have been filled.
  std::optional<bool> fullMenus_;
  QMenu* editMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QMenu* optionsMenu_ = nullptr;
  QMenu* toolsMenu_ = nullptr;
  QMenu* palmMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QToolBar* dialogBar_ = nullptr;

  QAction* newAct_ = nullptr;
  QAction* openAct_ = nullptr;
  QAction* closeAct_ = nullptr;
  // One per output format with a menu entry, in table order.
  std::vector<QAction*> exportActs_;
  QMenu* exportMenu_ = nullptr;
  QAction* printAct_ = nullptr;
  QAction* printSetupAct_ = nullptr;
  QAction* exitAct_ = nullptr;
  QAction* copyAct_ = nullptr;
  QAction* nextPaneAct_ = nullptr;
  QAction* previousPaneAct_ = nullptr;
  QAction* findAct_ = nullptr;
  QAction* findNextAct_ = nullptr;
  QAction* findPreviousAct_ = nullptr;
  QAction* zoomInAct_ = nullptr;
  QAction* zoomOutAct_ = nullptr;
  QAction* zoomActualAct_ = nullptr;
  QAction* cascadeAct_ = nullptr;
  QAction* tileAct_ = nullptr;
  QAction* installPalmAppAct_ = nullptr;
  QAction* installConduitAct_ = nullptr;
  QAction* removeConduitAct_ = nullptr;
  QAction* aboutAct_ = nullptr;
  // Shown for their place on the tool bar; a generated page has nothing to save, cut, paste or
  // undo, so they are never enabled.
  QAction* saveAct_ = nullptr;
  QAction* cutAct_ = nullptr;
  QAction* pasteAct_ = nullptr;
  QAction* undoAct_ = nullptr;
  // The Options menu's single-setting commands, one for each row of SettingToggles() in its
  // order, and the path settings.
  std::vector<QAction*> settingActs_;
  QAction* pathSettingsAct_ = nullptr;
  QAction* tuningsAct_ = nullptr;
  QAction* checkNamesAct_ = nullptr;

  int pageZoom_;
  std::unique_ptr<QPrinter> printer_;
  bool printing_ = false;
  FileOpener fileOpener_;
};

}  // namespace strumlet
