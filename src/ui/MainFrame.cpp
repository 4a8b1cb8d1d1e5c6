#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "AppIcon.h"
#include "ChildFrame.h"
#include "CommandIds.h"
#include "FallbackIcons.h"
#include "LeftView.h"
#include "LockIndicators.h"
#include "PageScheme.h"
#include "StrumletViewerView.h"
#include "strumlet/app/FileChoosers.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/app/UserSelectDialog.h"

namespace strumlet {
namespace {

constexpr const char* kWindowSection = "Window";
constexpr const char* kGeometry = "Geometry";

const QString kCaption = QStringLiteral("StrumletViewer");

}  // namespace

CMainFrame::CMainFrame(CStrumletViewerApp& app, QWidget* parent)
    : QMainWindow(parent), app_(app), mdiArea_(new QMdiArea(this)) {
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
  CPageSchemeHandler::SetAccess([this](const QString& path) {
    const CDocManager* documents = app_.docManager();
    return documents != nullptr && documents->ServesFile(path.toStdString());
  });

  createActions();
  createMenus();
  createToolBars();
  createStatusBar();
  updateMenus();
  readGeometry();
}

CMainFrame::~CMainFrame() {
  CPageSchemeHandler::SetAccess(nullptr);
  // The document windows go first, while the application's document manager still exists.
  mdiArea_->closeAllSubWindows();
}

QAction* CMainFrame::addCommand(int id, const QString& text, const QString& tip,
                                const QList<QKeySequence>& keys, const QString& themeIcon,
                                const QIcon& fallback) {
  auto* action = new QAction(text, this);
  action->setObjectName(QStringLiteral("command%1").arg(id));
  action->setStatusTip(tip);
  action->setToolTip(QString(text).remove('&').remove(QStringLiteral("...")));
  if (!keys.isEmpty()) {
    action->setShortcuts(keys);
  }
  if (!themeIcon.isEmpty()) {
    action->setIcon(QIcon::fromTheme(themeIcon, fallback));
  }
  // Accelerators work whether or not a menu lists the command.
  addAction(action);
  commands_[id] = action;
  return action;
}

QAction* CMainFrame::command(int id) const {
  const auto found = commands_.find(id);
  return found == commands_.end() ? nullptr : found->second;
}

void CMainFrame::createActions() {
  QStyle* s = style();
  connect(addCommand(ID_FILE_NEW, tr("&New"), tr("Create a new document"),
                     {QKeySequence(Qt::CTRL | Qt::Key_N)}, QStringLiteral("document-new"),
                     s->standardIcon(QStyle::SP_FileIcon)),
          &QAction::triggered, this, [this] { app_.OnFileNew(); });
  connect(addCommand(ID_FILE_OPEN, tr("&Open...\tCtrl+O").section('\t', 0, 0),
                     tr("Convert a Strumlet backup database or a folder of them, and show the "
                        "page"),
                     {QKeySequence(Qt::CTRL | Qt::Key_O)}, QStringLiteral("document-open"),
                     s->standardIcon(QStyle::SP_DialogOpenButton)),
          &QAction::triggered, this, [this] { app_.OnFileOpen(); });
  connect(addCommand(ID_FILE_CLOSE, tr("&Close"), tr("Close the active document")),
          &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
  // The document has nothing to save; the opened database is never written.
  addCommand(ID_FILE_SAVE, tr("&Save"), tr("Save the active document"),
             {QKeySequence(Qt::CTRL | Qt::Key_S)}, QStringLiteral("document-save"),
             s->standardIcon(QStyle::SP_DialogSaveButton))
      ->setEnabled(false);
  connect(addCommand(ID_FILE_PRINT, tr("&Print..."), tr("Print the active document"),
                     {QKeySequence(Qt::CTRL | Qt::Key_P)}, QStringLiteral("document-print"),
                     DrawFallbackIcon(FallbackIcon::Print)),
          &QAction::triggered, this, &CMainFrame::print);
  connect(addCommand(ID_FILE_PRINT_SETUP, tr("P&rint Setup..."),
                     tr("Change the printer and printing options")),
          &QAction::triggered, this, &CMainFrame::printSetup);
  connect(addCommand(ID_APP_EXIT, tr("E&xit"), tr("Quit the application"),
                     {QKeySequence(Qt::CTRL | Qt::Key_Q)}, QStringLiteral("application-exit")),
          &QAction::triggered, this, &QWidget::close);

  addCommand(ID_EDIT_CUT, tr("Cu&t"), tr("Cut the selection and put it on the Clipboard"),
             {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
             QStringLiteral("edit-cut"), DrawFallbackIcon(FallbackIcon::Cut))
      ->setEnabled(false);
  connect(
      addCommand(ID_EDIT_COPY, tr("&Copy"), tr("Copy the selection and put it on the Clipboard"),
                 {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
                 QStringLiteral("edit-copy"), DrawFallbackIcon(FallbackIcon::Copy)),
      &QAction::triggered, this, &CMainFrame::copy);
  addCommand(ID_EDIT_PASTE, tr("&Paste"), tr("Insert Clipboard contents"),
             {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
             QStringLiteral("edit-paste"), DrawFallbackIcon(FallbackIcon::Paste))
      ->setEnabled(false);
  addCommand(ID_EDIT_UNDO, tr("&Undo"), tr("Undo the last action"),
             {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)})
      ->setEnabled(false);

  connect(addCommand(ID_NEXT_PANE, tr("Ne&xt Pane"), tr("Switch to the next window pane"),
                     {QKeySequence(Qt::Key_F6)}),
          &QAction::triggered, this, [this] {
            if (CChildFrame* child = activeChild()) {
              child->MoveToPane(true);
            }
          });
  connect(
      addCommand(ID_PREV_PANE, tr("Pre&vious Pane"), tr("Switch back to the previous window pane"),
                 {QKeySequence(Qt::SHIFT | Qt::Key_F6)}),
      &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild()) {
          child->MoveToPane(false);
        }
      });
  connect(addCommand(ID_WINDOW_CASCADE, tr("&Cascade"), tr("Arrange windows so they overlap")),
          &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(
      addCommand(ID_WINDOW_TILE_HORZ, tr("&Tile"), tr("Arrange windows as non-overlapping tiles")),
      &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
  connect(addCommand(ID_APP_ABOUT, tr("&About StrumletViewer..."),
                     tr("Display program information, version number and copyright"), {},
                     QStringLiteral("help-about"), s->standardIcon(QStyle::SP_MessageBoxQuestion)),
          &QAction::triggered, this, &CMainFrame::about);

  struct Setting {
    int id;
    const char* text;
    const char* tip;
  };
  const Setting settings[] = {
      {ID_TOGGLE_PNG, QT_TR_NOOP("&PNG Images"), QT_TR_NOOP("Write the chord images as PNG files")},
      {ID_TOGGLE_JPEG, QT_TR_NOOP("&JPEG Images"),
       QT_TR_NOOP("Write the chord images as JPEG files")},
      {ID_TOGGLE_BORDER, QT_TR_NOOP("&Frame Images"),
       QT_TR_NOOP("Draw a frame around each chord image")},
      {ID_SCALE_25, QT_TR_NOOP("Scale &25%"), QT_TR_NOOP("Show the chord images at 25 percent")},
      {ID_SCALE_50, QT_TR_NOOP("Scale &50%"), QT_TR_NOOP("Show the chord images at 50 percent")},
      {ID_SCALE_63, QT_TR_NOOP("Scale &63%"), QT_TR_NOOP("Show the chord images at 63 percent")},
      {ID_SCALE_75, QT_TR_NOOP("Scale &75%"), QT_TR_NOOP("Show the chord images at 75 percent")},
      {ID_SCALE_88, QT_TR_NOOP("Scale &88%"), QT_TR_NOOP("Show the chord images at 88 percent")},
      {ID_SCALE_100, QT_TR_NOOP("Scale &100%"), QT_TR_NOOP("Show the chord images at full size")},
      {ID_SCALE_200, QT_TR_NOOP("Scale 2&00%"), QT_TR_NOOP("Show the chord images at double size")},
      {ID_SORT_CATEGORY, QT_TR_NOOP("Sort by &Category"),
       QT_TR_NOOP("Order the chords by category")},
      {ID_SORT_NAME, QT_TR_NOOP("Sort by &Name"), QT_TR_NOOP("Order the chords by name")},
      {ID_SORT_POSITION, QT_TR_NOOP("Sort by P&osition"),
       QT_TR_NOOP("Keep the chords in their order on the handheld")},
  };
  for (const Setting& setting : settings) {
    QAction* action = addCommand(setting.id, tr(setting.text), tr(setting.tip));
    action->setCheckable(true);
    const int id = setting.id;
    connect(action, &QAction::triggered, this, [this, id] {
      app_.OnSettingCommand(id);
      updateMenus();
    });
  }
  QAction* pathSettings = addCommand(ID_PATH_SETTINGS, tr("P&ath Settings..."),
                                     tr("Change the proposed database path and the font file"));
  connect(pathSettings, &QAction::triggered, this, [this] {
    app_.OnSettingCommand(ID_PATH_SETTINGS);
    updateMenus();
  });

  // No wait cursor here: the Palm commands are quick, and most of them end in a dialog or a
  // message the user must answer.
  auto palmCommand = [this](auto operation) {
    return [this, operation] { operation(app_.palmInstaller()); };
  };
  connect(addCommand(ID_INSTALL_CONDUIT, tr("Install &Conduit"),
                     tr("Install the Strumlet conduit for Hot Sync ability.")),
          &QAction::triggered, this,
          palmCommand([](CPalmInstaller& palm) { palm.ReportConduitInstall(); }));
  connect(addCommand(ID_REMOVE_CONDUIT, tr("&Remove Conduit"),
                     tr("Unstall the Strumlet conduit for Hot Sync ability.")),
          &QAction::triggered, this,
          palmCommand([](CPalmInstaller& palm) { palm.ReportConduitRemoval(); }));
  connect(addCommand(ID_INSTALL_PALM_APP, tr("Install Strumlet to your &Palm..."),
                     tr("Install Strumlet to your Palm.")),
          &QAction::triggered, this, palmCommand([this](CPalmInstaller& palm) {
            // The users are chosen in the "Install Strumlet" dialog over this window.
            DialogUserChooser chooser(this);
            palm.SetUserChooser(&chooser);
            palm.InstallApplication();
            palm.SetUserChooser(nullptr);
          }));
  connect(addCommand(ID_EXPORT_CHORDPRO, tr("&Export as ChordPro..."),
                     tr("Write the chords of the active database as a ChordPro file")),
          &QAction::triggered, this, &CMainFrame::exportChordPro);
}

void CMainFrame::createMenus() {
  auto* bar = menuBar();
  fileMenuShort_ = bar->addMenu(tr("&File"));
  fileMenuShort_->setObjectName(QStringLiteral("menu128File"));
  fileMenuShort_->addAction(command(ID_FILE_OPEN));
  fileMenuShort_->addSeparator();
  fileMenuShort_->addAction(command(ID_FILE_PRINT_SETUP));
  fileMenuShort_->addSeparator();
  fileMenuShort_->addAction(command(ID_APP_EXIT));

  fileMenuFull_ = bar->addMenu(tr("&File"));
  fileMenuFull_->setObjectName(QStringLiteral("menu129File"));
  fileMenuFull_->addAction(command(ID_FILE_OPEN));
  fileMenuFull_->addAction(command(ID_FILE_CLOSE));
  fileMenuFull_->addAction(command(ID_EXPORT_CHORDPRO));
  fileMenuFull_->addSeparator();
  fileMenuFull_->addAction(command(ID_FILE_PRINT));
  fileMenuFull_->addAction(command(ID_FILE_PRINT_SETUP));
  fileMenuFull_->addSeparator();
  fileMenuFull_->addAction(command(ID_APP_EXIT));

  windowMenu_ = bar->addMenu(tr("&Window"));
  windowMenu_->setObjectName(QStringLiteral("menu129Window"));
  connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);
  updateWindowMenu();

  optionsMenu_ = bar->addMenu(tr("&Options"));
  optionsMenu_->setObjectName(QStringLiteral("menuOptions"));
  for (int id : {ID_TOGGLE_PNG, ID_TOGGLE_JPEG, ID_TOGGLE_BORDER}) {
    optionsMenu_->addAction(command(id));
  }
  optionsMenu_->addSeparator();
  for (int id : {ID_SCALE_25, ID_SCALE_50, ID_SCALE_63, ID_SCALE_75, ID_SCALE_88, ID_SCALE_100,
                 ID_SCALE_200}) {
    optionsMenu_->addAction(command(id));
  }
  optionsMenu_->addSeparator();
  for (int id : {ID_SORT_CATEGORY, ID_SORT_NAME, ID_SORT_POSITION}) {
    optionsMenu_->addAction(command(id));
  }
  optionsMenu_->addSeparator();
  optionsMenu_->addAction(command(ID_PATH_SETTINGS));
  connect(optionsMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateMenus);

  palmMenu_ = bar->addMenu(tr("&Palm"));
  palmMenu_->setObjectName(QStringLiteral("menuPalm"));
  palmMenu_->addAction(command(ID_INSTALL_PALM_APP));
  palmMenu_->addSeparator();
  palmMenu_->addAction(command(ID_INSTALL_CONDUIT));
  palmMenu_->addAction(command(ID_REMOVE_CONDUIT));

  helpMenu_ = bar->addMenu(tr("&Help"));
  helpMenu_->setObjectName(QStringLiteral("menuHelp"));
  helpMenu_->addAction(command(ID_APP_ABOUT));
}

void CMainFrame::createToolBars() {
  toolBar_ = new QToolBar(tr("Standard"), this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->addAction(command(ID_FILE_NEW));
  toolBar_->addAction(command(ID_FILE_OPEN));
  toolBar_->addAction(command(ID_FILE_SAVE));
  toolBar_->addSeparator();
  toolBar_->addAction(command(ID_EDIT_CUT));
  toolBar_->addAction(command(ID_EDIT_COPY));
  toolBar_->addAction(command(ID_EDIT_PASTE));
  toolBar_->addSeparator();
  toolBar_->addAction(command(ID_FILE_PRINT));
  toolBar_->addSeparator();
  toolBar_->addAction(command(ID_APP_ABOUT));
  addToolBar(Qt::TopToolBarArea, toolBar_);

  // The second band is an empty dialog bar, kept for its place beside the tool bar.
  dialogBar_ = new QToolBar(tr("Dialog Bar"), this);
  dialogBar_->setObjectName(QStringLiteral("dialogBar"));
  auto* empty = new QWidget(dialogBar_);
  empty->setFixedSize(fontMetrics().averageCharWidth() * 330 / 4, fontMetrics().height() * 15 / 8);
  dialogBar_->addWidget(empty);
  addToolBar(Qt::TopToolBarArea, dialogBar_);
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
  const bool hasChild = !mdiArea_->subWindowList().isEmpty();
  fileMenuShort_->menuAction()->setVisible(!hasChild);
  fileMenuFull_->menuAction()->setVisible(hasChild);
  windowMenu_->menuAction()->setVisible(hasChild);

  CChildFrame* child = activeChild();
  command(ID_FILE_CLOSE)->setEnabled(child != nullptr);
  command(ID_FILE_PRINT)->setEnabled(child != nullptr && !printing_);
  command(ID_EXPORT_CHORDPRO)->setEnabled(!ExportSource(child).isEmpty());
  command(ID_EDIT_COPY)->setEnabled(child != nullptr);
  command(ID_NEXT_PANE)->setEnabled(child != nullptr);
  command(ID_PREV_PANE)->setEnabled(child != nullptr);
  command(ID_WINDOW_CASCADE)->setEnabled(hasChild);
  command(ID_WINDOW_TILE_HORZ)->setEnabled(hasChild);

  for (const auto& [id, action] : commands_) {
    if (const std::optional<bool> checked = app_.SettingChecked(id)) {
      action->setChecked(*checked);
    }
  }

  // A maximised document window adds " - [title]" to this caption itself.
  setWindowTitle(child != nullptr && !child->isMaximized()
                     ? kCaption + QStringLiteral(" - ") + child->windowTitle()
                     : kCaption);
}

void CMainFrame::updateWindowMenu() {
  windowMenu_->clear();
  windowMenu_->addAction(command(ID_WINDOW_CASCADE));
  windowMenu_->addAction(command(ID_WINDOW_TILE_HORZ));
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
  connect(child, &CChildFrame::initialUpdateDone, this, &CMainFrame::updateMenus);
  connect(child, &QMdiSubWindow::windowStateChanged, this, [this] {
    // After the area has put its own caption back.
    QTimer::singleShot(0, this, &CMainFrame::updateMenus);
  });
  connect(child, &QObject::destroyed, this, [this] {
    // The list of windows is only up to date once the event loop has run.
    QTimer::singleShot(0, this, &CMainFrame::updateMenus);
  });
  connect(child->htmlView(), &QWebEngineView::titleChanged, this, &CMainFrame::updateMenus);
  return child;
}

void CMainFrame::ShowMainWindow() {
  show();
  // A page opened from the command line got its window before the client area had a size.
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (auto* child = qobject_cast<CChildFrame*>(window)) {
      child->FitToArea();
    }
  }
  repaint();
}

void CMainFrame::copy() {
  if (CChildFrame* child = activeChild()) {
    child->htmlView()->triggerPageAction(QWebEnginePage::Copy);
  }
}

void CMainFrame::print() {
  CChildFrame* child = activeChild();
  if (child == nullptr || printing_) {
    return;
  }
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  }
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(tr("Print"));
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  if (child->activePane() == child->leftView()) {
    // The tree pane draws nothing: one blank page.
    QPainter painter;
    if (painter.begin(printer_.get())) {
      painter.end();
    }
    return;
  }
  printing_ = true;
  updateMenus();
  CStrumletViewerView* view = child->htmlView();
  connect(
      view, &QWebEngineView::printFinished, this,
      [this](bool) {
        printing_ = false;
        updateMenus();
      },
      Qt::SingleShotConnection);
  view->print(printer_.get());
}

QString CMainFrame::ExportSource(CChildFrame* child) const {
  if (child == nullptr || child->document() == nullptr || app_.docManager() == nullptr) {
    return {};
  }
  const QString path = QString::fromStdString(app_.docManager()->PathOf(child->document()));
  // A folder's page is its index; only a single database has one set of chords to export.
  return path.endsWith(QStringLiteral("pdb"), Qt::CaseInsensitive) && QFileInfo(path).isFile()
             ? path
             : QString();
}

void CMainFrame::exportChordPro() {
  CChildFrame* child = activeChild();
  const QString source = ExportSource(child);
  if (source.isEmpty()) {
    return;
  }
  const CStrumletViewerDoc& document = *child->document();
  const QString folder = QString::fromStdString(document.DestinationFolder);
  const QString proposed = QDir(folder.isEmpty() ? QFileInfo(source).path() : folder)
                               .filePath(QString::fromStdString(document.BaseName) + ".cho");
  const std::optional<std::string> chosen = ChooseChordProFile(this, proposed.toStdString());
  if (!chosen) {
    return;
  }
  const QString target = QString::fromStdString(*chosen);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The same database read again in the order its page was made with.
  const bool written =
      app_.ExportChordPro(source.toStdString(), document.SortOrder, target.toStdString());
  QApplication::restoreOverrideCursor();
  if (written) {
    statusBar()->showMessage(tr("Wrote %1").arg(target), 5000);
  }
}

void CMainFrame::printSetup() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  }
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

void CMainFrame::about() {
  QDialog box(this);
  box.setObjectName(QStringLiteral("aboutBox"));
  box.setWindowTitle(tr("About StrumletViewer"));
  auto* picture = new QLabel(&box);
  picture->setPixmap(ApplicationIcon().pixmap(48, 48));
  picture->setAccessibleName(tr("StrumletViewer"));
  auto* version = new QLabel(tr("StrumletViewer Version 1.0"), &box);
  auto* purpose = new QLabel(tr("For viewing chords in a Palm OS Strumlet backup database."), &box);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* texts = new QVBoxLayout;
  texts->addWidget(version);
  texts->addWidget(purpose);
  auto* row = new QHBoxLayout;
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addWidget(buttons);
  box.exec();
}

QString CMainFrame::DroppablePath(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) {
      continue;
    }
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    if (info.isDir() ||
        (info.isFile() && path.endsWith(QStringLiteral(".pdb"), Qt::CaseInsensitive))) {
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
  QTimer::singleShot(0, this, [this, path] { app_.OnFileOpen(path.toStdString()); });
}

void CMainFrame::readGeometry() {
  const std::string stored = app_.store().GetProfileString(kWindowSection, kGeometry, "");
  if (stored.empty() ||
      !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(stored)))) {
    resize(1000, 720);
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
