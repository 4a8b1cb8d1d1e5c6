#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <map>
#include <memory>

#include "strumlet/app/StrumletViewerApp.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace strumlet {

class CChildFrame;

// The main window: tool bar, an empty dialog-bar band, the document windows and the status bar.
// Its menu bar shows the short menu while no document window exists and the full one while one
// does.
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
  CChildFrame* activeChild() const;
  // The command of a resource identifier (57601 Open, 32780 JPEG, ...); nullptr when unknown.
  QAction* command(int id) const;

  // Whether the drop of these paths would be taken, and the path proposed to Open.
  static QString DroppablePath(const QList<QUrl>& urls);

 public slots:
  void updateMenus();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* addCommand(int id, const QString& text, const QString& tip,
                      const QList<QKeySequence>& keys = {}, const QString& themeIcon = {},
                      const QIcon& fallback = {});
  void createActions();
  void createMenus();
  void createToolBars();
  void createStatusBar();
  void updateWindowMenu();
  void print();
  void printSetup();
  void exportChordPro();
  QString ExportSource(CChildFrame* child) const;
  void about();
  void copy();
  void readGeometry();
  void writeGeometry();

  CStrumletViewerApp& app_;
  QMdiArea* mdiArea_;
  std::map<int, QAction*> commands_;
  QMenu* fileMenuShort_ = nullptr;
  QMenu* fileMenuFull_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QMenu* optionsMenu_ = nullptr;
  QMenu* palmMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QToolBar* dialogBar_ = nullptr;
  std::unique_ptr<QPrinter> printer_;
  bool printing_ = false;
};

}  // namespace strumlet
