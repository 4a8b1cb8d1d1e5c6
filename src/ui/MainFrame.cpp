// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ChildFrame.h"
#include "ChordPlayback.h"
#include "CommandIds.h"
#include "FallbackIcons.h"
#include "FindBar.h"
#include "LeftView.h"
#include "LockIndicators.h"
#include "PageScheme.h"
#include "StrumletViewerView.h"
#include "strumlet/app/AboutBox.h"
#include "strumlet/app/AppIcon.h"
#include "strumlet/app/FileChoosers.h"
#include "strumlet/app/PageZoom.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/app/UserSelectDialog.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {
namespace {

// Shows what a Palm command had to say, in order, and hands back its result.
template <class T>
T Tell(const PalmReport<T>& report) {
  for (const PalmMessage& message : report.messages) {
    ShowMessage(message.caption, message.text, message.icon);
  }
  return report.result;
}

constexpr const char* kWindowSection = "Window";
constexpr const char* kGeometry = "Geometry";

const QString kCaption = QStringLiteral("StrumletViewer");

}  // namespace

CMainFrame::CMainFrame(CStrumletViewerApp& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      mdiArea_(new QMdiArea(this)),
      pageZoom_(ReadPageZoom(app.store())) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(kCaption);
  setWindowIcon(ApplicationIcon());
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateMenus);
  setAcceptDrops(true);
  // The page views show the output of the documents open here, and nothing else on disk.
  CPageSchemeHandler::SetAccess([this](const std::string& path) {
    const CDocManager* documents = app_.docManager();
    return documents != nullptr && documents->ServesFile(path);
  });

  // Sound that cannot be played is said once, in a box that waits for no answer.
  playback_ = new CChordPlayback(
      [this](const QString& text) {
        auto* box =
            new QMessageBox(QMessageBox::Information, tr("Sound"), text, QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("soundUnavailableBox"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
        statusBar()->showMessage(text, 10000);
      },
      this);
  SetPlayButtons([this] { return app_.settings().m_bPlaySound; });

  createActions();
  createMenus();
  createToolBars();
  createStatusBar();
  updateMenus();
  readGeometry();
}

CMainFrame::~CMainFrame() {
  CPageSchemeHandler::SetAccess(nullptr);
  SetPlayButtons(nullptr);
  // The document windows go first, while the application's document manager still exists.
  mdiArea_->closeAllSubWindows();
}

QAction* CMainFrame::newCommand(int id, const QString& text, const QString& tip) {
  auto* action = new QAction(text, this);
  action->setObjectName(QStringLiteral("command%1").arg(id));
  action->setStatusTip(tip);
  action->setToolTip(QString(text).remove('&').remove(QStringLiteral("...")));
  // Accelerators work whether or not a menu lists the command.
  addAction(action);
  return action;
}

QAction* CMainFrame::command(int id) const {
  return findChild<QAction*>(QStringLiteral("command%1").arg(id), Qt::FindDirectChildrenOnly);
}

void CMainFrame::createActions() {
  QStyle* s = style();

  newAct_ = newCommand(ID_FILE_NEW, tr("&New"), tr("Create a new document"));
  newAct_->setShortcuts(QKeySequence::New);
  newAct_->setIcon(
      QIcon::fromTheme(QStringLiteral("document-new"), s->standardIcon(QStyle::SP_FileIcon)));
  connect(newAct_, &QAction::triggered, this, &CMainFrame::newFile);

  openAct_ =
      newCommand(ID_FILE_OPEN, tr("&Open..."),
                 tr("Convert a Strumlet backup database or a folder of them, and show the page"));
  openAct_->setShortcuts(QKeySequence::Open);
  openAct_->setIcon(QIcon::fromTheme(QStringLiteral("document-open"),
                                     s->standardIcon(QStyle::SP_DialogOpenButton)));
  connect(openAct_, &QAction::triggered, this, &CMainFrame::open);

  closeAct_ = newCommand(ID_FILE_CLOSE, tr("&Close"), tr("Close the active document"));
  connect(closeAct_, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);

  for (std::size_t row = 0, listed = 0; row < OutputFormats().size(); ++row) {
    const OutputFormat& format = OutputFormats()[row];
    if (format.menuText == nullptr) continue;
    QAction* action =
        newCommand(ExportCommandId(listed++), tr(format.menuText), tr(format.menuTip));
    connect(action, &QAction::triggered, this, [this, &format] { exportChords(format); });
    exportActs_.push_back(action);
  }

  printAct_ = newCommand(ID_FILE_PRINT, tr("&Print..."), tr("Print the active document"));
  printAct_->setShortcuts(QKeySequence::Print);
  printAct_->setIcon(
      QIcon::fromTheme(QStringLiteral("document-print"), DrawFallbackIcon(FallbackIcon::Print)));
  connect(printAct_, &QAction::triggered, this, &CMainFrame::print);

  printSetupAct_ = newCommand(ID_FILE_PRINT_SETUP, tr("P&rint Setup..."),
                              tr("Change the printer and printing options"));
  connect(printSetupAct_, &QAction::triggered, this, &CMainFrame::printSetup);

  exitAct_ = newCommand(ID_APP_EXIT, tr("E&xit"), tr("Quit the application"));
  // Not QKeySequence::Quit: some platforms bind nothing to it.
  exitAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  exitAct_->setIcon(QIcon::fromTheme(QStringLiteral("application-exit")));
  connect(exitAct_, &QAction::triggered, this, &QWidget::close);

  copyAct_ =
      newCommand(ID_EDIT_COPY, tr("&Copy"), tr("Copy the selection and put it on the Clipboard"));
  // Not QKeySequence::Copy, which adds keys of other keyboards on some desktops.
  copyAct_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  copyAct_->setIcon(
      QIcon::fromTheme(QStringLiteral("edit-copy"), DrawFallbackIcon(FallbackIcon::Copy)));
  connect(copyAct_, &QAction::triggered, this, &CMainFrame::copy);

  nextPaneAct_ = newCommand(ID_NEXT_PANE, tr("Ne&xt Pane"), tr("Switch to the next window pane"));
  nextPaneAct_->setShortcut(QKeySequence(Qt::Key_F6));
  connect(nextPaneAct_, &QAction::triggered, this, &CMainFrame::nextPane);

  previousPaneAct_ =
      newCommand(ID_PREV_PANE, tr("Pre&vious Pane"), tr("Switch back to the previous window pane"));
  previousPaneAct_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
  connect(previousPaneAct_, &QAction::triggered, this, &CMainFrame::previousPane);

  findAct_ = newCommand(ID_EDIT_FIND, tr("&Find..."), tr("Find text in the active page"));
  // Not QKeySequence::Find, which names other keys on some desktops.
  findAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  findAct_->setIcon(QIcon::fromTheme(QStringLiteral("edit-find")));
  connect(findAct_, &QAction::triggered, this, &CMainFrame::find);

  findNextAct_ = newCommand(ID_EDIT_FIND_NEXT, tr("Find &Next"),
                            tr("Go to the next match of the text to find"));
  findNextAct_->setShortcut(QKeySequence(Qt::Key_F3));
  connect(findNextAct_, &QAction::triggered, this, &CMainFrame::findNext);

  findPreviousAct_ = newCommand(ID_EDIT_FIND_PREVIOUS, tr("Find Pre&vious"),
                                tr("Go back to the previous match of the text to find"));
  findPreviousAct_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  connect(findPreviousAct_, &QAction::triggered, this, &CMainFrame::findPrevious);

  zoomInAct_ = newCommand(ID_VIEW_ZOOM_IN, tr("Zoom &In"), tr("Show the pages larger"));
  // Ctrl+= as well, for the keyboards that need Shift for the plus sign.
  zoomInAct_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  zoomInAct_->setIcon(QIcon::fromTheme(QStringLiteral("zoom-in")));
  connect(zoomInAct_, &QAction::triggered, this, &CMainFrame::zoomIn);

  zoomOutAct_ = newCommand(ID_VIEW_ZOOM_OUT, tr("Zoom &Out"), tr("Show the pages smaller"));
  zoomOutAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  zoomOutAct_->setIcon(QIcon::fromTheme(QStringLiteral("zoom-out")));
  connect(zoomOutAct_, &QAction::triggered, this, &CMainFrame::zoomOut);

  zoomActualAct_ = newCommand(ID_VIEW_ZOOM_ACTUAL, tr("&Actual Size"),
                              tr("Show the pages at their actual size"));
  zoomActualAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  zoomActualAct_->setIcon(QIcon::fromTheme(QStringLiteral("zoom-original")));
  connect(zoomActualAct_, &QAction::triggered, this, &CMainFrame::zoomActual);

  cascadeAct_ =
      newCommand(ID_WINDOW_CASCADE, tr("&Cascade"), tr("Arrange windows so they overlap"));
  connect(cascadeAct_, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);

  tileAct_ =
      newCommand(ID_WINDOW_TILE_HORZ, tr("&Tile"), tr("Arrange windows as non-overlapping tiles"));
  connect(tileAct_, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);

  // No wait cursor for the Palm commands: they are quick, and most of them end in a dialog or a
  // message the user must answer.
  installPalmAppAct_ = newCommand(ID_INSTALL_PALM_APP, tr("Install Strumlet to your &Palm..."),
                                  tr("Install Strumlet to your Palm."));
  connect(installPalmAppAct_, &QAction::triggered, this, &CMainFrame::installPalmApplication);

  installConduitAct_ = newCommand(ID_INSTALL_CONDUIT, tr("Install &Conduit"),
                                  tr("Install the Strumlet conduit for Hot Sync ability."));
  connect(installConduitAct_, &QAction::triggered, this, &CMainFrame::installConduit);

  removeConduitAct_ = newCommand(ID_REMOVE_CONDUIT, tr("&Remove Conduit"),
                                 tr("Unstall the Strumlet conduit for Hot Sync ability."));
  connect(removeConduitAct_, &QAction::triggered, this, &CMainFrame::removeConduit);

  aboutAct_ = newCommand(ID_APP_ABOUT, tr("&About StrumletViewer..."),
                         tr("Display program information, version number and copyright"));
  aboutAct_->setIcon(QIcon::fromTheme(QStringLiteral("help-about"),
                                      s->standardIcon(QStyle::SP_MessageBoxQuestion)));
  connect(aboutAct_, &QAction::triggered, this, &CMainFrame::about);

  createUnavailableActions();
  createSettingActions();
}

void CMainFrame::createUnavailableActions() {
  struct Unavailable {
    QAction* CMainFrame::*member;
    int id;
    const char* text;
    const char* tip;
    QList<QKeySequence> keys;
    const char* themeIcon;
    QIcon fallback;
  };
  const Unavailable unavailable[] = {
      {&CMainFrame::saveAct_, ID_FILE_SAVE, QT_TR_NOOP("&Save"),
       QT_TR_NOOP("Save the active document"), QKeySequence::keyBindings(QKeySequence::Save),
       "document-save", style()->standardIcon(QStyle::SP_DialogSaveButton)},
      {&CMainFrame::cutAct_,
       ID_EDIT_CUT,
       QT_TR_NOOP("Cu&t"),
       QT_TR_NOOP("Cut the selection and put it on the Clipboard"),
       {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
       "edit-cut",
       DrawFallbackIcon(FallbackIcon::Cut)},
      {&CMainFrame::pasteAct_,
       ID_EDIT_PASTE,
       QT_TR_NOOP("&Paste"),
       QT_TR_NOOP("Insert Clipboard contents"),
       {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
       "edit-paste",
       DrawFallbackIcon(FallbackIcon::Paste)},
      {&CMainFrame::undoAct_,
       ID_EDIT_UNDO,
       QT_TR_NOOP("&Undo"),
       QT_TR_NOOP("Undo the last action"),
       {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
       nullptr,
       {}},
  };
  for (const Unavailable& row : unavailable) {
    QAction* action = newCommand(row.id, tr(row.text), tr(row.tip));
    action->setShortcuts(row.keys);
    if (row.themeIcon != nullptr) {
      action->setIcon(QIcon::fromTheme(QString::fromLatin1(row.themeIcon), row.fallback));
    }
    action->setEnabled(false);
    this->*row.member = action;
  }
}

void CMainFrame::createSettingActions() {
  // One image type, one scale and one order at a time: each such section is a group of radio
  // items.
  QActionGroup* radio = nullptr;
  std::optional<SettingSection> section;
  for (const SettingToggle& setting : SettingToggles()) {
    if (setting.section != section) {
      section = setting.section;
      radio = SectionIsOneChoice(setting.section) ? new QActionGroup(this) : nullptr;
    }
    QAction* action = newCommand(setting.id, tr(setting.text), tr(setting.tip));
    action->setCheckable(true);
    if (radio != nullptr) radio->addAction(action);
    // The application keeps the setting; the check mark is read back from it.
    action->setData(setting.id);
    const int id = setting.id;
    connect(action, &QAction::triggered, this, [this, id] { runSettingCommand(id); });
    settingActs_.push_back(action);
  }

  pathSettingsAct_ = newCommand(ID_PATH_SETTINGS, tr("P&ath Settings..."),
                                tr("Change the proposed database path and the font file"));
  connect(pathSettingsAct_, &QAction::triggered, this,
          [this] { runSettingCommand(ID_PATH_SETTINGS); });
  tuningsAct_ = newCommand(ID_TUNINGS, tr("&Tunings..."),
                           tr("Choose the tuning of each instrument, for the exports, the sound "
                              "and the words for each diagram"));
  connect(tuningsAct_, &QAction::triggered, this, [this] { app_.OnTunings(); });
  checkNamesAct_ =
      newCommand(ID_CHECK_NAMES, tr("Check Chord &Names..."),
                 tr("List the chords of the active database whose notes are not the chord "
                    "their name says"));
  connect(checkNamesAct_, &QAction::triggered, this, &CMainFrame::checkChordNames);
}

void CMainFrame::createMenus() {
  QMenuBar* bar = menuBar();
  // Filled by updateMenus, for the state of the document windows.
  fileMenu_ = bar->addMenu(tr("&File"));
  fileMenu_->setObjectName(QStringLiteral("menuFile"));
  recentMenu_ = new QMenu(tr("Open &Recent"), this);
  recentMenu_->setObjectName(QStringLiteral("menuRecent"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateRecentMenu);
  exportMenu_ = new QMenu(tr("&Export"), this);
  exportMenu_->setObjectName(QStringLiteral("menuExport"));
  for (QAction* action : exportActs_) exportMenu_->addAction(action);

  editMenu_ = bar->addMenu(tr("&Edit"));
  editMenu_->setObjectName(QStringLiteral("menuEdit"));
  editMenu_->addAction(copyAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(findAct_);
  editMenu_->addAction(findNextAct_);
  editMenu_->addAction(findPreviousAct_);

  viewMenu_ = bar->addMenu(tr("&View"));
  viewMenu_->setObjectName(QStringLiteral("menuView"));
  viewMenu_->addAction(zoomInAct_);
  viewMenu_->addAction(zoomOutAct_);
  viewMenu_->addAction(zoomActualAct_);

  windowMenu_ = bar->addMenu(tr("&Window"));
  windowMenu_->setObjectName(QStringLiteral("menu129Window"));
  updateWindowMenu();
  connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);

  optionsMenu_ = bar->addMenu(tr("&Options"));
  optionsMenu_->setObjectName(QStringLiteral("menuOptions"));
  // A separator after each section of the single-setting commands.
  const std::span<const SettingToggle> toggles = SettingToggles();
  for (std::size_t i = 0; i < toggles.size(); ++i) {
    optionsMenu_->addAction(settingActs_[i]);
    if (i + 1 == toggles.size() || toggles[i + 1].section != toggles[i].section) {
      optionsMenu_->addSeparator();
    }
  }
  optionsMenu_->addAction(pathSettingsAct_);
  optionsMenu_->addAction(tuningsAct_);

  toolsMenu_ = bar->addMenu(tr("&Tools"));
  toolsMenu_->setObjectName(QStringLiteral("menuTools"));
  toolsMenu_->addAction(checkNamesAct_);

  palmMenu_ = bar->addMenu(tr("&Palm"));
  palmMenu_->setObjectName(QStringLiteral("menuPalm"));
  palmMenu_->addAction(installPalmAppAct_);
  palmMenu_->addSeparator();
  palmMenu_->addAction(installConduitAct_);
  palmMenu_->addAction(removeConduitAct_);

  helpMenu_ = bar->addMenu(tr("&Help"));
  helpMenu_->setObjectName(QStringLiteral("menuHelp"));
  helpMenu_->addAction(aboutAct_);

  // F10 opens the menu bar at its first menu, as it does in other desktop programs.
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, [this] {
    if (QAction* first = menuBar()->actions().value(0)) menuBar()->setActiveAction(first);
  });
}

void CMainFrame::createToolBars() {
  toolBar_ = addToolBar(tr("Standard"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->addAction(newAct_);
  toolBar_->addAction(openAct_);
  toolBar_->addAction(saveAct_);
  toolBar_->addSeparator();
  toolBar_->addAction(cutAct_);
  toolBar_->addAction(copyAct_);
  toolBar_->addAction(pasteAct_);
  toolBar_->addSeparator();
  toolBar_->addAction(printAct_);
  toolBar_->addSeparator();
  toolBar_->addAction(aboutAct_);

  // The second band is an empty dialog bar, kept for its place beside the tool bar.
  dialogBar_ = addToolBar(tr("Dialog Bar"));
  dialogBar_->setObjectName(QStringLiteral("dialogBar"));
  auto* empty = new QWidget(dialogBar_);
  empty->setFixedSize(fontMetrics().averageCharWidth() * 330 / 4, fontMetrics().height() * 15 / 8);
  dialogBar_->addWidget(empty);
}

void CMainFrame::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  new CLockIndicators(bar);
  bar->showMessage(tr("Ready"));
  connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
    if (message.isEmpty()) {
      bar->showMessage(tr("Ready"));
    }
  });
}

CChildFrame* CMainFrame::activeChild() const {
  return qobject_cast<CChildFrame*>(mdiArea_->activeSubWindow());
}

void CMainFrame::updateMenus() {
  const bool hasWindows = !mdiArea_->subWindowList().isEmpty();
  if (fullMenus_ != hasWindows) {
    fullMenus_ = hasWindows;
    // Menus that do not apply leave the bar rather than hide in it: a hidden one would still
    // take its Alt key and be listed to a screen reader.
    fileMenu_->clear();
    fileMenu_->addAction(openAct_);
    fileMenu_->addMenu(recentMenu_);
    if (hasWindows) {
      fileMenu_->addAction(closeAct_);
      fileMenu_->addMenu(exportMenu_);
      fileMenu_->addSeparator();
      fileMenu_->addAction(printAct_);
    } else {
      fileMenu_->addSeparator();
    }
    fileMenu_->addAction(printSetupAct_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(exitAct_);
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* menu : {fileMenu_, editMenu_, viewMenu_, windowMenu_, optionsMenu_, toolsMenu_,
                        palmMenu_, helpMenu_}) {
      if (hasWindows ||
          (menu != editMenu_ && menu != viewMenu_ && menu != windowMenu_ && menu != toolsMenu_)) {
        bar->addMenu(menu);
      }
    }
  }
  cascadeAct_->setEnabled(hasWindows);
  tileAct_->setEnabled(hasWindows);

  CChildFrame* child = activeChild();
  const bool hasChild = child != nullptr;
  closeAct_->setEnabled(hasChild);
  const bool canExport = !ExportSource(child).database.empty();
  for (QAction* action : exportActs_) action->setEnabled(canExport);
  exportMenu_->menuAction()->setEnabled(canExport);
  checkNamesAct_->setEnabled(canExport);
  printAct_->setEnabled(hasChild && !printing_);
  copyAct_->setEnabled(hasChild);
  nextPaneAct_->setEnabled(hasChild);
  previousPaneAct_->setEnabled(hasChild);
  findAct_->setEnabled(hasChild);
  findNextAct_->setEnabled(hasChild);
  findPreviousAct_->setEnabled(hasChild);
  // The zoom is every window's.
  zoomInAct_->setEnabled(hasWindows && pageZoom_ < kMaxPageZoom);
  zoomOutAct_->setEnabled(hasWindows && pageZoom_ > kMinPageZoom);
  zoomActualAct_->setEnabled(hasWindows);

  for (QAction* action : settingActs_) {
    if (const std::optional<bool> checked = app_.SettingChecked(action->data().toInt())) {
      action->setChecked(*checked);
    }
  }

  // A maximised document window adds " - [title]" to this caption itself.
  setWindowTitle(hasChild && !child->isMaximized()
                     ? kCaption + QStringLiteral(" - ") + child->windowTitle()
                     : kCaption);
}

void CMainFrame::updateRecentMenu() {
  recentMenu_->clear();
  const std::vector<std::string>& entries = app_.recentFiles().entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string path = entries[i];
    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    QAction* action = recentMenu_->addAction(i < 9 ? tr("&%1 %2").arg(i + 1).arg(shown)
                                                   : tr("%1 %2").arg(i + 1).arg(shown));
    // A file or folder that is gone stays listed, greyed, so the list does not change under
    // the user's hand.
    std::error_code error;
    action->setEnabled(std::filesystem::exists(path, error));
    connect(action, &QAction::triggered, this, [this, path] { openRecent(path); });
  }
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction(tr("&Clear Menu"));
  clear->setObjectName(QStringLiteral("recentClear"));
  clear->setEnabled(!entries.empty());
  connect(clear, &QAction::triggered, this, [this] { app_.recentFiles().Clear(); });
}

void CMainFrame::openRecent(const std::string& path) {
  // Converted at once with what the Options menu shows, which is what the Open command would
  // propose; like that command, it makes a missing output folder first.
  const std::string& output = app_.settings().m_strOutputPath;
  if (!output.empty()) {
    if (const auto made = MakeWritableFolder(output); !made) {
      ShowMessage("Invalid Destination Folder", "'" + output + "' " + made.error().reason + ".");
      return;
    }
  }
  app_.OpenDocumentFile(path);
  updateMenus();
}

void CMainFrame::updateWindowMenu() {
  windowMenu_->clear();
  windowMenu_->addAction(cascadeAct_);
  windowMenu_->addAction(tileAct_);
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (!windows.isEmpty()) {
    windowMenu_->addSeparator();
  }
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows.at(i);
    const QString text = i < 9 ? tr("&%1 %2").arg(i + 1).arg(window->windowTitle())
                               : tr("%1 %2").arg(i + 1).arg(window->windowTitle());
    QAction* action = windowMenu_->addAction(text);
    action->setCheckable(true);
    action->setChecked(window == mdiArea_->activeSubWindow());
    connect(action, &QAction::triggered, window,
            [this, window] { mdiArea_->setActiveSubWindow(window); });
  }
}

DocumentWindow* CMainFrame::CreateDocumentWindow(CStrumletViewerDoc& document,
                                                 std::function<void()> closed) {
  auto* child = new CChildFrame(document, std::move(closed));
  mdiArea_->addSubWindow(child);
  child->setWindowIcon(windowIcon());
  child->htmlView()->setZoomFactor(pageZoom_ / 100.0);
  connect(child->htmlView(), &CStrumletViewerView::zoomStepsRequested, this,
          &CMainFrame::zoomBySteps);
  child->htmlView()->SetChordPlayer([this](const std::string& page, const std::string& image) {
    if (app_.settings().m_bPlaySound) playback_->Play(page, image);
  });
  // Its first page decides whether it opens maximised, and maximising changes the caption.
  connect(child, &CChildFrame::initialUpdateDone, this, &CMainFrame::updateMenus);
  connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::updateMenus);
  // A link in a folder's index leads to a database's page, which can be exported.
  connect(child->htmlView(), &QWebEngineView::urlChanged, this, &CMainFrame::updateMenus);
  return child;
}

void CMainFrame::ShowMainWindow() {
  show();
  fitToScreen();
  // A page opened from the command line got its window before the client area had a size.
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (auto* child = qobject_cast<CChildFrame*>(window)) {
      child->FitToArea();
    }
  }
  repaint();
}

void CMainFrame::newFile() { app_.OnFileNew(); }

void CMainFrame::open() {
  app_.OnFileOpen();
  // The dialog's OK stores its choices, which the Options menu shows.
  updateMenus();
}

void CMainFrame::copy() {
  if (CChildFrame* child = activeChild()) {
    child->htmlView()->triggerPageAction(QWebEnginePage::Copy);
  }
}

void CMainFrame::nextPane() {
  if (CChildFrame* child = activeChild()) {
    child->MoveToPane(true);
  }
}

void CMainFrame::previousPane() {
  if (CChildFrame* child = activeChild()) {
    child->MoveToPane(false);
  }
}

void CMainFrame::find() {
  if (CChildFrame* child = activeChild()) {
    child->findBar()->Open();
  }
}

void CMainFrame::findNext() {
  if (CChildFrame* child = activeChild()) {
    child->findBar()->FindNext();
  }
}

void CMainFrame::findPrevious() {
  if (CChildFrame* child = activeChild()) {
    child->findBar()->FindPrevious();
  }
}

void CMainFrame::zoomIn() { setPageZoom(ZoomInFrom(pageZoom_)); }

void CMainFrame::zoomOut() { setPageZoom(ZoomOutFrom(pageZoom_)); }

void CMainFrame::zoomActual() { setPageZoom(kActualPageZoom); }

void CMainFrame::zoomBySteps(int steps) {
  int percent = pageZoom_;
  for (; steps > 0; --steps) {
    percent = ZoomInFrom(percent);
  }
  for (; steps < 0; ++steps) {
    percent = ZoomOutFrom(percent);
  }
  setPageZoom(percent);
}

void CMainFrame::setPageZoom(int percent) {
  if (percent == pageZoom_) {
    return;
  }
  pageZoom_ = percent;
  StorePageZoom(app_.store(), percent);
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (auto* child = qobject_cast<CChildFrame*>(window)) {
      child->htmlView()->setZoomFactor(percent / 100.0);
    }
  }
  statusBar()->showMessage(tr("Zoom %1%").arg(percent), 2000);
  updateMenus();
}

void CMainFrame::runSettingCommand(int id) {
  app_.OnSettingCommand(id);
  // Pages shown from now on have their play buttons, or none; a chord sounding stops.
  if (id == ID_TOGGLE_PLAY_SOUND && !app_.settings().m_bPlaySound) playback_->Stop();
  updateMenus();
}

void CMainFrame::checkChordNames() {
  const CStrumletViewerDoc::PageSource shown = ExportSource(activeChild());
  if (shown.database.empty()) return;
  app_.OnCheckNames(shown.database, shown.sortOrder);
}

void CMainFrame::installPalmApplication() {
  CPalmInstaller& palm = app_.palmInstaller();
  // The users are chosen in the "Install Strumlet" dialog over this window.
  DialogUserChooser chooser(this);
  palm.SetUserChooser(&chooser);
  Tell(palm.InstallApplication());
  palm.SetUserChooser(nullptr);
}

void CMainFrame::installConduit() {
  // A failure has its own message box; success shows none, so the status bar tells it.
  if (Tell(app_.palmInstaller().ReportConduitInstall()) == 0) {
    statusBar()->showMessage(tr("The Strumlet conduit has been installed."), 5000);
  }
}

void CMainFrame::removeConduit() { Tell(app_.palmInstaller().ReportConduitRemoval()); }

void CMainFrame::print() {
  CChildFrame* child = activeChild();
  if (child == nullptr || printing_) {
    return;
  }
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  }
  // A print to a file is proposed under the name of the database shown.
  const CStrumletViewerDoc::PageSource shown = ExportSource(child);
  printer_->setDocName(shown.database.empty()
                           ? child->windowTitle()
                           : QFile::decodeName(QByteArray::fromStdString(shown.baseName)));
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(tr("Print"));
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  printing_ = true;
  updateMenus();
  CStrumletViewerView* view = child->htmlView();
  // The command comes back when the print ends, or when its window is closed before that (a long
  // page may take a while to bring in every diagram).
  auto closed = std::make_shared<QMetaObject::Connection>();
  const auto done = [this] {
    printing_ = false;
    updateMenus();
  };
  *closed = connect(view, &QObject::destroyed, this, done);
  connect(
      view, &QWebEngineView::printFinished, this,
      [done, closed](bool) {
        disconnect(*closed);
        done();
      },
      Qt::SingleShotConnection);
  // A long page brings in its diagrams only as they come into view; a print shows them all.
  statusBar()->showMessage(tr("Preparing the page for printing..."));
  view->LoadEveryImage([this, view, printer = printer_.get()] {
    statusBar()->clearMessage();
    view->print(printer);
  });
}

CStrumletViewerDoc::PageSource CMainFrame::ExportSource(CChildFrame* child) const {
  if (child == nullptr || child->document() == nullptr || app_.docManager() == nullptr) {
    return {};
  }
  const CStrumletViewerDoc& document = *child->document();
  const std::string path = app_.docManager()->PathOf(&document);
  if (EndsInPdb(path) && IsRegularFile(path)) {
    return {path, document.BaseName, document.DestinationFolder, document.SortOrder};
  }
  // A folder's index has no chords of its own; a database's page reached from it has.
  const std::string shown =
      std::filesystem::path(PageSchemePath(child->htmlView()->url())).lexically_normal();
  for (const auto& [page, source] : document.PageSources()) {
    if (std::filesystem::path(page).lexically_normal() == shown && IsRegularFile(source.database)) {
      return source;
    }
  }
  return {};
}

void CMainFrame::exportChords(const OutputFormat& format) {
  CChildFrame* child = activeChild();
  const CStrumletViewerDoc::PageSource shown = ExportSource(child);
  const std::string& source = shown.database.native();
  if (source.empty()) {
    return;
  }
  std::string folder = shown.folder.empty()
                           ? source.substr(0, source.size() - FileName(source).native().size())
                           : shown.folder.native();
  // The dialog holds names as text, which keeps no bytes that are not UTF-8: it starts in the
  // nearest folder whose name it can hold.
  const auto holds = [](const std::string& path) {
    return QFile::encodeName(QFile::decodeName(QByteArray::fromStdString(path))).toStdString() ==
           path;
  };
  while (folder.size() > 1 && !holds(folder)) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder.resize(folder.size() - FileName(folder).native().size());
  }
  const std::optional<std::string> chosen =
      ChooseExportFile(this, format, JoinPath(folder, shown.baseName + format.extension));
  if (!chosen) {
    return;
  }
  const std::string& target = *chosen;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The same database read again in the order its page was made with.
  const bool written = app_.Export(format, source, shown.sortOrder, target);
  QApplication::restoreOverrideCursor();
  if (written) {
    statusBar()->showMessage(tr("Wrote %1").arg(QString::fromStdString(target)), 5000);
  }
  if (written && format.writeBook) {
    const QString file = QString::fromStdString(target);
    const auto answer = QMessageBox::question(
        this, tr("PDF Chord Book"),
        tr("The chord book %1 is written. Open it in the PDF viewer?").arg(file),
        QMessageBox::Open | QMessageBox::Close, QMessageBox::Open);
    if (answer == QMessageBox::Open) {
      if (fileOpener_) {
        fileOpener_(QUrl::fromLocalFile(file));
      } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
      }
    }
  }
}

void CMainFrame::printSetup() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  }
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

void CMainFrame::about() { ShowAboutBox(this); }

QString CMainFrame::DroppablePath(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) {
      continue;
    }
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    if (info.isDir() || (info.isFile() && IsDatabaseFileName(info.fileName().toStdString()))) {
      return path;
    }
  }
  return {};
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !DroppablePath(event->mimeData()->urls()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QString path = DroppablePath(event->mimeData()->urls());
  if (path.isEmpty()) {
    return;
  }
  event->acceptProposedAction();
  // Run the Open command once the drag has ended, so the dialog does not sit inside it.
  QTimer::singleShot(0, this, [this, path] {
    app_.OnFileOpen(path.toStdString());
    updateMenus();
  });
}

void CMainFrame::readGeometry() {
  const std::string stored = app_.store().GetProfileString(kWindowSection, kGeometry, "");
  if (stored.empty() ||
      !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(stored)))) {
    resize(1000, 720);
  }
}

void CMainFrame::fitToScreen() {
  // Kept on a larger screen, or at a smaller scale factor, the window may not fit this one: it
  // is fitted into the screen's free area, frame and all (known once it is shown).
  if (isMaximized() || isFullScreen() || screen() == nullptr) {
    return;
  }
  const QRect available = screen()->availableGeometry();
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize fitted = size().boundedTo(available.size() - frame);
  if (fitted != size()) {
    resize(fitted);
  }
  QRect placed = frameGeometry();
  placed.moveLeft(
      std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
  placed.moveTop(
      std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
  if (placed.topLeft() != frameGeometry().topLeft()) {
    move(placed.topLeft());
  }
}

void CMainFrame::writeGeometry() {
  app_.store().WriteProfileString(kWindowSection, kGeometry,
                                  saveGeometry().toBase64().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  writeGeometry();
  mdiArea_->closeAllSubWindows();
  event->accept();
}

}  // namespace strumlet
