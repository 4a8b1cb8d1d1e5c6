// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's windows on the offscreen platform: the menus that follow the document windows,
// the single-setting commands' check marks, the start-up words, what a document window shows,
// and the page view's find bar and zoom.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "ChildFrame.h"
#include "CommandIds.h"
#include "FindBar.h"
#include "LeftView.h"
#include "MainFrame.h"
#include "PageScheme.h"
#include "RecordingStore.h"
#include "StrumletViewerView.h"
#include "TestCommon.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/app/StrumletViewerApp.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

using testing::RecordingStore;

class ProgramTest : public ::testing::Test {
 protected:
  // Starts the program with `arguments`; the main frame, or nullptr when start-up ended.
  CMainFrame* Start(std::vector<std::string> arguments, std::optional<int>* early = nullptr) {
    app = std::make_unique<CStrumletViewerApp>(store);
    CMainFrame* frame = nullptr;
    const std::optional<int> result =
        app->InitInstance(arguments, [&frame](CStrumletViewerApp& theApp) {
          frame = new CMainFrame(theApp);
          return std::unique_ptr<MainFrameWindow>(frame);
        });
    if (early != nullptr) {
      *early = result;
    }
    return frame;
  }

  // Whether the menu is in the menu bar.
  static bool Shows(QMenu* menu) {
    const QObjectList users = menu->menuAction()->associatedObjects();
    return std::any_of(users.begin(), users.end(),
                       [](QObject* user) { return qobject_cast<QMenuBar*>(user) != nullptr; });
  }
  // Whether the File menu holds the commands of the document windows.
  static bool FullFile(CMainFrame* frame) {
    return Menu(frame, "menuFile")->actions().contains(frame->command(ID_FILE_CLOSE));
  }
  static QMenu* Menu(CMainFrame* frame, const char* name) {
    return frame->findChild<QMenu*>(QString::fromLatin1(name));
  }

  static bool WaitForLoad(CStrumletViewerView* view) {
    QSignalSpy spy(view, &QWebEngineView::loadFinished);
    return spy.wait(30000) && spy.takeFirst().at(0).toBool();
  }

  // What `script` gives, run in the view's own script world (empty when no answer came).
  static QString ScriptValue(CStrumletViewerView* view, const char* script) {
    auto value = std::make_shared<QString>();
    view->page()->runJavaScript(QString::fromLatin1(script), QWebEngineScript::ApplicationWorld,
                                [value](const QVariant& v) { *value = v.toString(); });
    (void)QTest::qWaitFor([&value] { return !value->isEmpty(); }, 10000);
    return *value;
  }

  // Runs `script` again and again until it gives `expected`.
  static bool WaitForScriptValue(CStrumletViewerView* view, const char* script,
                                 const QString& expected) {
    return QTest::qWaitFor([&] { return ScriptValue(view, script) == expected; }, 10000);
  }

  static QString PageText(CStrumletViewerView* view) {
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString& result) {
      text = result;
      done = true;
    });
    (void)QTest::qWaitFor([&] { return done; }, 10000);
    return text;
  }

  // Runs File, Open and answers its dialog with `path` and whatever `choose` sets, then OK.
  static bool OpenWithDialog(CMainFrame* frame, const std::string& path,
                             const std::function<void(QDialog&)>& choose = {}) {
    bool answered = false;
    QTimer::singleShot(0, frame, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        return;
      }
      dialog->findChild<QLineEdit*>("edit1005")->setText(QString::fromStdString(path));
      if (choose) {
        choose(*dialog);
      }
      answered = true;
      dialog->accept();
    });
    frame->command(ID_FILE_OPEN)->trigger();
    return answered;
  }

  // The guitar sample's page, sorted by category so that its headings are text in the page,
  // loaded and with the focus; nullptr when it did not load.
  CStrumletViewerView* StartWithGuitarPage(CMainFrame** frame) {
    store.strings["Settings/OutputPath"] = folder / "out/";
    store.ints["Settings/Sort"] = 0;
    *frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
    if (*frame == nullptr || (*frame)->activeChild() == nullptr ||
        !WaitForLoad((*frame)->activeChild()->htmlView())) {
      return nullptr;
    }
    QApplication::setActiveWindow(*frame);
    (*frame)->activeChild()->htmlView()->setFocus();
    return (*frame)->activeChild()->htmlView();
  }

  static QWidget* KeyTarget(QWidget* view) {
    return view->focusProxy() != nullptr ? view->focusProxy() : view;
  }

  RecordingStore store;
  std::unique_ptr<CStrumletViewerApp> app;
  testing::TempFolder folder;
};

// The find bar's result is `result`; with a leading '*', any match of that many ("* of 2"), for
// where the selected match depends on where an earlier search left the selection.
bool FindResultIs(CFindBar* bar, const QString& result) {
  return QTest::qWaitFor(
      [&] {
        const QString text = bar->resultLabel()->text();
        return result.startsWith('*') ? text.endsWith(result.mid(1)) : text == result;
      },
      10000);
}

// The page's width in CSS pixels, which shrinks as the page itself is zoomed in.
int CssWidth(CStrumletViewerView* view) {
  int width = 0;
  view->page()->runJavaScript(QStringLiteral("window.innerWidth"),
                              QWebEngineScript::ApplicationWorld,
                              [&width](const QVariant& value) { width = value.toInt(); });
  (void)QTest::qWaitFor([&width] { return width != 0; }, 10000);
  return width;
}

bool ShowsZoomed(CStrumletViewerView* view, int actualWidth, int percent) {
  return QTest::qWaitFor(
      [&] { return std::abs(CssWidth(view) * percent / 100.0 - actualWidth) < actualWidth * 0.03; },
      5000);
}

TEST_F(ProgramTest, MenusFollowTheFirstAndLastDocumentWindow) {
  CMainFrame* frame = Start({"/installall"});
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(Shows(Menu(frame, "menuEdit")));
  EXPECT_FALSE(Shows(Menu(frame, "menuView")));
  EXPECT_FALSE(Shows(Menu(frame, "menu129Window")));
  EXPECT_EQ(frame->windowTitle(), "StrumletViewer");

  frame->command(ID_FILE_NEW)->trigger();
  frame->command(ID_FILE_NEW)->trigger();
  ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 2);
  EXPECT_TRUE(FullFile(frame));
  EXPECT_TRUE(FullFile(frame));
  EXPECT_TRUE(Shows(Menu(frame, "menuEdit")));
  EXPECT_TRUE(Shows(Menu(frame, "menuView")));
  EXPECT_TRUE(Shows(Menu(frame, "menu129Window")));
  // The maximised window's title is added once, by the area, in brackets.
  EXPECT_EQ(frame->windowTitle().toStdString(), "StrumletViewer - [Strumlet2]");

  frame->command(ID_FILE_CLOSE)->trigger();
  QTest::qWait(50);
  EXPECT_TRUE(FullFile(frame));
  frame->command(ID_FILE_CLOSE)->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !FullFile(frame); }, 2000));
  EXPECT_FALSE(Shows(Menu(frame, "menu129Window")));
  EXPECT_FALSE(Shows(Menu(frame, "menuEdit")));
  EXPECT_FALSE(Shows(Menu(frame, "menuView")));
  EXPECT_EQ(app->docManager()->DocumentCount(), 0u);

  // The menus' items, as the user reads them.
  QStringList items;
  for (QAction* action : Menu(frame, "menuFile")->actions()) {
    items << (action->isSeparator() ? QString("-") : action->text());
  }
  EXPECT_EQ(items.join('|'), "&Open...|Open &Recent|-|P&rint Setup...|-|E&xit");
  EXPECT_EQ(frame->command(ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
}

TEST_F(ProgramTest, ToolBarOrderAndCommandsThatCannotApply) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  QStringList buttons;
  for (QAction* action : frame->findChild<QToolBar*>("toolBar")->actions()) {
    buttons << (action->isSeparator() ? QString("-") : action->objectName().mid(7));
  }
  EXPECT_EQ(buttons.join(' '), "57600 57601 57603 - 57635 57634 57637 - 57607 - 57664");
  // Nothing to save, cut, paste or undo in a generated page.
  for (int id : {ID_FILE_SAVE, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO}) {
    EXPECT_FALSE(frame->command(id)->isEnabled()) << id;
  }
  EXPECT_EQ(frame->command(ID_EDIT_COPY)->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
  EXPECT_EQ(frame->command(ID_INSTALL_CONDUIT)->statusTip(),
            "Install the Strumlet conduit for Hot Sync ability.");
}

TEST_F(ProgramTest, SingleSettingCommandsShowTheirCheckMarksAndStoreAtOnce) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  // Start-up settings of an empty store, as the Open dialog proposes them: JPEG alone, 100
  // percent, position order; the image types, scales and orders are radio groups.
  EXPECT_TRUE(frame->command(ID_TOGGLE_JPEG)->isChecked());
  EXPECT_FALSE(frame->command(ID_TOGGLE_PNG)->isChecked());
  EXPECT_FALSE(frame->command(ID_TOGGLE_SVG)->isChecked());
  EXPECT_EQ(frame->command(ID_TOGGLE_SVG)->text(), "&SVG Images");
  EXPECT_TRUE(frame->command(ID_SCALE_100)->isChecked());
  EXPECT_TRUE(frame->command(ID_SORT_POSITION)->isChecked());
  for (int id : {ID_TOGGLE_SVG, ID_SCALE_25, ID_SORT_NAME}) {
    ASSERT_NE(frame->command(id)->actionGroup(), nullptr) << id;
    EXPECT_TRUE(frame->command(id)->actionGroup()->isExclusive()) << id;
  }
  EXPECT_EQ(frame->command(ID_TOGGLE_BORDER)->actionGroup(), nullptr);

  frame->command(ID_SCALE_63)->trigger();
  for (int id : {ID_SCALE_25, ID_SCALE_50, ID_SCALE_63, ID_SCALE_75, ID_SCALE_88, ID_SCALE_100,
                 ID_SCALE_200}) {
    EXPECT_EQ(frame->command(id)->isChecked(), id == ID_SCALE_63) << id;
  }
  EXPECT_EQ(store.ints["Settings/ChordPercent"], 63);

  store.writes.clear();
  frame->command(ID_TOGGLE_JPEG)->trigger();  // already the one: stays ticked
  EXPECT_TRUE(frame->command(ID_TOGGLE_JPEG)->isChecked());
  frame->command(ID_TOGGLE_SVG)->trigger();
  EXPECT_TRUE(frame->command(ID_TOGGLE_SVG)->isChecked());
  EXPECT_FALSE(frame->command(ID_TOGGLE_JPEG)->isChecked());
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"JPEG=1", "PNG=0", "SVG=0", "JPEG=0", "PNG=0", "SVG=1"}));

  frame->command(ID_SORT_NAME)->trigger();
  EXPECT_TRUE(frame->command(ID_SORT_NAME)->isChecked());
  EXPECT_FALSE(frame->command(ID_SORT_POSITION)->isChecked());
  // Never disabled, even without a document window.
  EXPECT_TRUE(frame->command(ID_TOGGLE_BORDER)->isEnabled());
}

TEST_F(ProgramTest, EveryAcceleratorStaysAsItWas) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  // Some standard key sequences name more keys, or none, depending on the desktop; these are
  // the keys each command answers to.
  const std::map<int, QString> keys = {
      {ID_FILE_NEW, "Ctrl+N"},
      {ID_FILE_OPEN, "Ctrl+O"},
      {ID_FILE_SAVE, "Ctrl+S"},
      {ID_FILE_PRINT, "Ctrl+P"},
      {ID_APP_EXIT, "Ctrl+Q"},
      {ID_EDIT_CUT, "Ctrl+X, Shift+Del"},
      {ID_EDIT_COPY, "Ctrl+C, Ctrl+Ins"},
      {ID_EDIT_PASTE, "Ctrl+V, Shift+Ins"},
      {ID_EDIT_UNDO, "Ctrl+Z, Alt+Backspace"},
      {ID_NEXT_PANE, "F6"},
      {ID_PREV_PANE, "Shift+F6"},
      {ID_EDIT_FIND, "Ctrl+F"},
      {ID_EDIT_FIND_NEXT, "F3"},
      {ID_EDIT_FIND_PREVIOUS, "Shift+F3"},
      {ID_VIEW_ZOOM_IN, "Ctrl++, Ctrl+="},
      {ID_VIEW_ZOOM_OUT, "Ctrl+-"},
      {ID_VIEW_ZOOM_ACTUAL, "Ctrl+0"},
  };
  int commands = 0;
  for (QAction* action : frame->actions()) {
    if (!action->objectName().startsWith("command")) {
      continue;
    }
    ++commands;
    const int id = action->objectName().mid(7).toInt();
    EXPECT_EQ(frame->command(id), action);
    QStringList bound;
    for (const QKeySequence& key : action->shortcuts()) {
      bound << key.toString();
    }
    const auto expected = keys.find(id);
    EXPECT_EQ(bound.join(", "), expected == keys.end() ? QString() : expected->second) << id;
    EXPECT_FALSE(action->statusTip().isEmpty()) << id;
  }
  EXPECT_EQ(commands, 51);
  EXPECT_EQ(frame->command(12345), nullptr);
}

TEST_F(ProgramTest, EveryMenuListsItsCommandsInOrder) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  const auto items = [frame](const char* menu) {
    QStringList ids;
    for (QAction* action : Menu(frame, menu)->actions()) {
      ids << (action->isSeparator() ? QString("-")
              : action->menu()      ? action->menu()->objectName()
                                    : action->objectName().mid(7));
    }
    return ids.join(' ').toStdString();
  };
  EXPECT_EQ(items("menuFile"), "57601 menuRecent - 57606 - 57665");
  EXPECT_EQ(items("menuExport"), "32790 32797 32798 32799 32800");
  EXPECT_EQ(items("menuEdit"), "57634 - 32791 32792 32793");
  EXPECT_EQ(items("menuView"), "32794 32795 32796");
  EXPECT_EQ(items("menu129Window"), "57650 57651");
  EXPECT_EQ(items("menuOptions"),
            "32771 32780 32788 - 32773 32810 32811 32815 32830 - 32779 32778 32777 32776 32775 "
            "32774 32781 - 32784 32786 32785 - 32783 32840");
  EXPECT_EQ(items("menuTools"), "32841");
  EXPECT_EQ(items("menuPalm"), "32787 - 32772 32782");
  EXPECT_EQ(items("menuHelp"), "57664");
  frame->command(ID_FILE_NEW)->trigger();
  EXPECT_EQ(items("menuFile"), "57601 menuRecent 57602 menuExport - 57607 57606 - 57665");
}

TEST_F(ProgramTest, ClosingWindowsUpdatesTheMenusAtOnce) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  frame->command(ID_FILE_NEW)->trigger();
  frame->command(ID_FILE_NEW)->trigger();
  for (int id : {ID_FILE_CLOSE, ID_FILE_PRINT, ID_EDIT_COPY, ID_NEXT_PANE, ID_PREV_PANE,
                 ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_EDIT_FIND, ID_EDIT_FIND_NEXT,
                 ID_EDIT_FIND_PREVIOUS, ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_ACTUAL}) {
    EXPECT_TRUE(frame->command(id)->isEnabled()) << id;
  }
  // A window makes no difference to the commands a generated page cannot have.
  for (int id : {ID_FILE_SAVE, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO}) {
    EXPECT_FALSE(frame->command(id)->isEnabled()) << id;
  }

  // No event loop runs between the closes and the checks: nothing may wait for one.
  frame->command(ID_FILE_CLOSE)->trigger();
  ASSERT_NE(frame->activeChild(), nullptr);
  EXPECT_EQ(frame->activeChild()->windowTitle(), "Strumlet1");
  EXPECT_EQ(frame->windowTitle().toStdString(), "StrumletViewer - [Strumlet1]");
  EXPECT_TRUE(FullFile(frame));

  frame->command(ID_FILE_CLOSE)->trigger();
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(Shows(Menu(frame, "menu129Window")));
  for (int id : {ID_FILE_CLOSE, ID_FILE_PRINT, ID_EDIT_COPY, ID_NEXT_PANE, ID_PREV_PANE,
                 ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_EXPORT_CHORDPRO, ID_EXPORT_MUSICXML,
                 ID_EXPORT_JSON, ID_EDIT_FIND, ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREVIOUS,
                 ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_ACTUAL}) {
    EXPECT_FALSE(frame->command(id)->isEnabled()) << id;
  }
  EXPECT_EQ(frame->windowTitle(), "StrumletViewer");
}

TEST_F(ProgramTest, TheCaptionFollowsTheActiveWindowsState) {
  CMainFrame* frame = Start({});
  ASSERT_NE(frame, nullptr);
  CChildFrame* child = frame->activeChild();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(frame->windowTitle().toStdString(), "StrumletViewer - [Strumlet1]");
  child->showNormal();
  EXPECT_EQ(frame->windowTitle().toStdString(), "StrumletViewer - Strumlet1");
  child->showMaximized();
  EXPECT_EQ(frame->windowTitle().toStdString(), "StrumletViewer - [Strumlet1]");
}

TEST_F(ProgramTest, TheOpenDialogsChoicesShowInTheOptionsMenuEvenWhenNoWindowChanges) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CChildFrame* child = frame->activeChild();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(frame->command(ID_SCALE_100)->isChecked());

  // The same database again: its window is already the active one.
  ASSERT_TRUE(OpenWithDialog(frame, STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb", [](QDialog& d) {
    d.findChild<QComboBox*>("combo1013")->setEditText("63%");
    d.findChild<QRadioButton*>("radio1011")->setChecked(true);  // by name
  }));
  EXPECT_EQ(frame->activeChild(), child);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(frame->command(ID_SCALE_63)->isChecked());
  EXPECT_FALSE(frame->command(ID_SCALE_100)->isChecked());
  EXPECT_TRUE(frame->command(ID_SORT_NAME)->isChecked());
  EXPECT_FALSE(frame->command(ID_SORT_POSITION)->isChecked());
}

TEST_F(ProgramTest, AnOpenThatFailsLeavesTheShortMenu) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  RecordingMessenger messages;
  ScopedMessenger quiet(messages);
  ASSERT_TRUE(OpenWithDialog(frame, folder / "missing.pdb"));
  EXPECT_EQ(app->docManager()->DocumentCount(), 0u);
  // The window made for it is gone again, and the menus say so.
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(FullFile(frame));
  EXPECT_FALSE(frame->command(ID_WINDOW_CASCADE)->isEnabled());
  EXPECT_EQ(frame->windowTitle(), "StrumletViewer");
}

TEST_F(ProgramTest, StartUpWords) {
  std::optional<int> early;
  CMainFrame* frame = Start({"-Embedding"}, &early);
  ASSERT_TRUE(early.has_value());
  EXPECT_EQ(*early, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(app->settings().m_nChordPercent, 0);  // no settings loaded

  EXPECT_EQ(Start({"/Unregserver"}, &early) != nullptr && early == 0, true);

  // No path: one empty document window.
  frame = Start({}, &early);
  EXPECT_FALSE(early.has_value());
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(app->settings().m_nChordPercent, 100);
}

TEST_F(ProgramTest, AnEmptyWindowShowsTheInstructionsMaximised) {
  CMainFrame* frame = Start({});
  ASSERT_NE(frame, nullptr);
  CChildFrame* child = frame->activeChild();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->isMaximized());
  EXPECT_EQ(child->splitter()->sizes().value(0), 0);  // the tree pane starts closed
  ASSERT_TRUE(WaitForLoad(child->htmlView()));
  EXPECT_EQ(child->htmlView()->url(), CStrumletViewerView::InstructionPageUrl());
  const QString text = PageText(child->htmlView());
  EXPECT_TRUE(text.contains("Strumlet Viewer for Windows Quick Instructions"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("_JPEG.html"));
}

TEST_F(ProgramTest, APathOnTheCommandLineShowsItsGeneratedPage) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CChildFrame* child = frame->activeChild();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->windowTitle(), "Guitar Chords.pdb");
  EXPECT_EQ(frame->windowTitle(), "StrumletViewer - Guitar Chords.pdb");
  // Made before the main window had a size, it still gets most of the client area.
  const QSize room = frame->mdiArea()->viewport()->size();
  EXPECT_GE(child->width(), room.width() * 6 / 7) << child->width() << " of " << room.width();
  EXPECT_GE(child->height(), room.height() * 6 / 7) << child->height() << " of " << room.height();
  ASSERT_TRUE(WaitForLoad(child->htmlView()));
  // The Open command's proposal: JPEG images at 100 percent, made in the stored output folder.
  EXPECT_EQ(child->htmlView()->url(),
            PageSchemeUrl(QString::fromStdString(folder / "out/Guitar Chords/Guitar Chords.html")));
  EXPECT_TRUE(PageText(child->htmlView()).contains("Guitar Chords"));

  // Opening it again only brings its window forward.
  frame->command(ID_FILE_NEW)->trigger();
  EXPECT_NE(app->OpenDocumentFile(STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"), nullptr);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(frame->activeChild(), child);
  // The area stays in its maximised mode, as the new window left it.
  EXPECT_TRUE(child->isMaximized());
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return frame->windowTitle() == "StrumletViewer - [Guitar Chords.pdb]"; }, 2000))
      << frame->windowTitle().toStdString();
}

TEST_F(ProgramTest, FileExportWritesTheShownDatabaseInEachFormat) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Banjo Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->activeChild(), nullptr);
  QMenu* exportMenu = Menu(frame, "menuExport");
  ASSERT_NE(exportMenu, nullptr);
  EXPECT_EQ(exportMenu->title(), "&Export");
  EXPECT_TRUE(exportMenu->menuAction()->isEnabled());
  QStringList items;
  for (QAction* action : exportMenu->actions()) {
    items << action->text();
    // Read out by a screen reader as the user hovers or arrows onto it.
    EXPECT_FALSE(action->statusTip().isEmpty());
  }
  EXPECT_EQ(items.join('|'), "&ChordPro...|&MusicXML...|&JSON...|&PDF Chord Book...|M&IDI...");

  // Each chooser proposes the page's base name; a name typed without an extension gets the
  // format's.
  for (const auto& [id, file] : {std::pair{ID_EXPORT_CHORDPRO, std::string("typed.cho")},
                                 std::pair{ID_EXPORT_MUSICXML, std::string("typed.musicxml")},
                                 std::pair{ID_EXPORT_JSON, std::string("typed.json")}}) {
    QString proposed;
    QTimer::singleShot(0, frame, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      proposed = dialog->selectedFiles().value(0);
      dialog->setDirectory(QString::fromStdString(folder.path()));
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText("typed");
      static_cast<QDialog*>(dialog)->accept();
    });
    frame->command(id)->trigger();
    EXPECT_TRUE(proposed.endsWith("/Banjo Chords" + QString::fromStdString(file).mid(5)))
        << proposed.toStdString();
    std::ifstream in(folder / file);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("Banjo Chords"), std::string::npos) << file;
  }

  // The chord book is offered to the PDF viewer once written.
  QUrl opened;
  frame->SetFileOpener([&](const QUrl& url) { opened = url; });
  QTimer::singleShot(0, frame, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    dialog->setDirectory(QString::fromStdString(folder.path()));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("book");
    static_cast<QDialog*>(dialog)->accept();
  });
  QTimer offer;
  QObject::connect(&offer, &QTimer::timeout, frame, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      box->button(QMessageBox::Open)->click();
    }
  });
  offer.start(20);
  frame->command(ID_EXPORT_FURTHER)->trigger();
  offer.stop();
  EXPECT_EQ(opened, QUrl::fromLocalFile(QString::fromStdString(folder / "book.pdf")));
  std::ifstream book(folder / "book.pdf", std::ios::binary);
  std::string head(5, '\0');
  book.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");

  // The empty window has nothing to export.
  frame->command(ID_FILE_NEW)->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !exportMenu->menuAction()->isEnabled(); }, 2000));
  EXPECT_FALSE(frame->command(ID_EXPORT_JSON)->isEnabled());
}

TEST_F(ProgramTest, EveryPathOnTheCommandLineGetsAWindow) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  std::optional<int> early;
  CMainFrame* frame =
      Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb", STRUMLET_SAMPLES_DIR "/Ukulele Chords.pdb"},
            &early);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(early.has_value());
  QStringList titles;
  for (QMdiSubWindow* window : frame->mdiArea()->subWindowList()) {
    titles << window->windowTitle();
  }
  EXPECT_EQ(titles, (QStringList{"Guitar Chords.pdb", "Ukulele Chords.pdb"}));
  EXPECT_EQ(frame->activeChild()->windowTitle(), "Ukulele Chords.pdb");
}

TEST_F(ProgramTest, PathsThatAreGoneOrNoDatabasesAreToldOfAndLeaveNoWindow) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  RecordingMessenger messages;
  ScopedMessenger quiet(messages);
  std::ofstream(folder / "empty.pdb").flush();
  std::optional<int> early;
  CMainFrame* frame =
      Start({folder / "gone.pdb", folder / "empty.pdb", STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"},
            &early);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(early.has_value());
  ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(frame->activeChild()->windowTitle(), "Guitar Chords.pdb");
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{
                "The selected database is not a Strumlet database.  It cannot be processed.\n'" +
                    (folder / "empty.pdb") + "' is empty.",
                "'" + (folder / "gone.pdb") + "' was not found."}));
  // Alone, it still opens the main window, to say so.
  frame = Start({folder / "gone.pdb"}, &early);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(early.has_value());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(ProgramTest, ADatabasePageReachedFromAFolderIndexExportsPrintsUnderItsNameAndGoesBack) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  std::filesystem::create_directory(folder / "in");
  std::filesystem::copy_file(STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb",
                             folder / "in/Guitar Chords.pdb");
  CMainFrame* frame = Start({folder / "in"});
  ASSERT_NE(frame, nullptr);
  CStrumletViewerView* view = frame->activeChild()->htmlView();
  ASSERT_TRUE(WaitForLoad(view));
  const QUrl index = view->url();
  EXPECT_FALSE(frame->command(ID_EXPORT_JSON)->isEnabled());
  view->load(
      PageSchemeUrl(QString::fromStdString(folder / "out/Guitar Chords/Guitar Chords.html")));
  ASSERT_TRUE(WaitForLoad(view));
  EXPECT_TRUE(frame->command(ID_EXPORT_JSON)->isEnabled());

  QString printed;
  QTimer::singleShot(0, frame, [&] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      printed = dialog->printer()->docName();
      dialog->reject();
    }
  });
  frame->command(ID_FILE_PRINT)->trigger();
  EXPECT_EQ(printed, "Guitar Chords");

  view->page()->runJavaScript(QStringLiteral("document.querySelector('input[value=Back]').click()"),
                              QWebEngineScript::ApplicationWorld);
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->url() == index; }, 10000))
      << view->url().toString().toStdString();
}

TEST_F(ProgramTest, ADatabaseWhoseNameIsNotUtf8OpensShowsAndExports) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  const std::string name = "Jos\xe9 Chords";  // Latin-1, as an old backup may hold it
  std::filesystem::copy_file(STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb", folder / (name + ".pdb"));
  CMainFrame* frame = Start({folder / (name + ".pdb")});
  ASSERT_NE(frame, nullptr);
  CChildFrame* child = frame->activeChild();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->windowTitle().startsWith("Jos")) << child->windowTitle().toStdString();
  ASSERT_TRUE(WaitForLoad(child->htmlView()));
  EXPECT_TRUE(WaitForScriptValue(
      child->htmlView(),
      "String(document.images.length > 0 && document.images[0].naturalWidth > 0)", "true"));

  QTimer::singleShot(0, frame, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
  frame->command(ID_EXPORT_JSON)->trigger();
  // Proposed in the nearest folder the dialog can name.
  int exported = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "out")) {
    exported += entry.path().extension() == ".json";
  }
  EXPECT_EQ(exported, 1);
}

TEST_F(ProgramTest, SeveralFilesChosenInTheOpenDialogOpenInAWindowEach) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  const std::string in = folder / "in";
  std::filesystem::create_directories(in);
  for (const char* name : {"Guitar Chords.pdb", "Ukulele Chords.pdb"}) {
    std::filesystem::copy_file(std::string(STRUMLET_SAMPLES_DIR) + "/" + name, in + "/" + name);
  }
  CMainFrame* frame = Start({});
  ASSERT_NE(frame, nullptr);
  QTimer::singleShot(0, frame, [&] {
    auto* options = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (options == nullptr) return;
    // The file chooser runs modally inside the button's click: answered from the event loop.
    QTimer::singleShot(0, frame, [&] {
      auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (files == nullptr) return;
      files->setDirectory(QString::fromStdString(in));
      files->findChild<QLineEdit*>("fileNameEdit")
          ->setText("\"Guitar Chords.pdb\" \"Ukulele Chords.pdb\"");
      static_cast<QDialog*>(files)->accept();
    });
    options->findChild<QPushButton*>("button1010")->click();
    options->accept();
  });
  frame->command(ID_FILE_OPEN)->trigger();
  QStringList titles;
  for (QMdiSubWindow* window : frame->mdiArea()->subWindowList()) {
    if (window->windowTitle().endsWith(".pdb")) titles << window->windowTitle();
  }
  EXPECT_EQ(titles, (QStringList{"Guitar Chords.pdb", "Ukulele Chords.pdb"}));
  // The first is the path the next Open proposes.
  EXPECT_EQ(store.strings["Settings/DefaultPath"], in + "/Guitar Chords.pdb");
}

TEST_F(ProgramTest, ALongPageAsksOnlyForTheImagesNearTheViewAndAllForAPrint) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CStrumletViewerView* view = frame->activeChild()->htmlView();
  ASSERT_TRUE(WaitForLoad(view));
  const auto images = [view] {
    return ScriptValue(view,
                       "(() => { let drawn = 0, waiting = 0; for (const i of document.images) {"
                       " if (i.hasAttribute('data-strumlet-src')) waiting++;"
                       " else if (i.complete && i.naturalWidth > 0) drawn++; }"
                       " return drawn + ' ' + waiting; })()");
  };
  // The sample's page is short: every image is drawn, and the file keeps its own image tags.
  const std::string pages = folder / "out/Guitar Chords";
  QFile file(QString::fromStdString(pages + "/Guitar Chords.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray written = file.readAll();
  EXPECT_FALSE(written.contains("data-strumlet-src"));
  const QString all = QString::number(written.count("<img src=")) + " 0";
  EXPECT_TRUE(QTest::qWaitFor([&] { return images() == all; }, 10000)) << images().toStdString();

  // A page of 3,000 images one under another: the top ones come, the rest wait until scrolled to,
  // or until a print needs them all.
  const QByteArray image = written.mid(written.indexOf("<img src=\"") + 10).split('"').first();
  {
    std::ofstream page(pages + "/long.html");
    page << "<html><body>";
    for (int i = 0; i < 3000; ++i) {
      // Each address its own, so that none comes from another's request.
      page << "<img src=\"" << image.toStdString() << "?" << i
           << "\" width=\"102\" height=\"87\"><br>\n";
    }
    page << "</body></html>";
  }
  view->load(PageSchemeUrl(QString::fromStdString(pages + "/long.html")));
  ASSERT_TRUE(WaitForLoad(view));
  QString state;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        state = images();
        return state.section(' ', 0, 0).toInt() > 0;
      },
      10000));
  EXPECT_LT(state.section(' ', 0, 0).toInt(), 200) << state.toStdString();
  view->page()->runJavaScript("window.scrollTo(0, document.body.scrollHeight)",
                              QWebEngineScript::ApplicationWorld);
  EXPECT_TRUE(WaitForScriptValue(view,
                                 "(() => { const i = document.images[document.images.length - 1];"
                                 " return String(i.complete && i.naturalWidth > 0); })()",
                                 "true"));
  EXPECT_GT(images().section(' ', 1, 1).toInt(), 2000) << images().toStdString();
  // Zoomed out, the view takes in four times as many: they come too.
  view->setZoomFactor(0.25);
  EXPECT_TRUE(WaitForScriptValue(
      view,
      "(() => { let n = 0; for (const i of document.images) {"
      " const r = i.getBoundingClientRect();"
      " if (r.bottom > 0 && r.top < innerHeight && !(i.complete && i.naturalWidth > 0)) n++; }"
      " return String(n); })()",
      "0"));
  view->setZoomFactor(1.0);

  bool ready = false;
  view->LoadEveryImage([&ready] { ready = true; });
  // Waited for in an event loop of its own: the images come through this thread.
  for (int tenths = 0; tenths < 600 && !ready; ++tenths) {
    QTest::qWait(100);
  }
  ASSERT_TRUE(ready) << images().toStdString();
  EXPECT_EQ(images(), "3000 0");
}

TEST_F(ProgramTest, SvgDiagramsAreServedAsImagesAndComeWhenScrolledTo) {
  EXPECT_EQ(PageSchemeMimeType("/out/Guitar Chords/1bc.svg"), "image/svg+xml");
  EXPECT_EQ(PageSchemeMimeType("/out/Guitar Chords/1bc.SVG"), "image/svg+xml");
  store.strings["Settings/OutputPath"] = folder / "out/";
  store.ints = {{"Settings/JPEG", 0}, {"Settings/SVG", 1}};
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CStrumletViewerView* view = frame->activeChild()->htmlView();
  ASSERT_TRUE(WaitForLoad(view));
  // Drawn: each SVG decoded at the size its file gives (its viewBox), none waiting.
  const auto drawn = [view] {
    return ScriptValue(view,
                       "(() => { let svg = 0, drawn = 0; for (const i of document.images) {"
                       " svg += (i.getAttribute('src') || '').split('?')[0].endsWith('.svg');"
                       " drawn += i.complete && i.naturalWidth > 50 && i.naturalHeight > 50; }"
                       " return document.images.length + ' ' + svg + ' ' + drawn; })()");
  };
  const std::string pages = folder / "out/Guitar Chords";
  QFile file(QString::fromStdString(pages + "/Guitar Chords.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray written = file.readAll();
  const QString count = QString::number(written.count("<img src="));
  EXPECT_TRUE(QTest::qWaitFor([&] { return drawn() == count + " " + count + " " + count; }, 10000))
      << drawn().toStdString();

  // Past the first screenful the addresses are put aside; scrolled to, the SVGs come as well.
  const QByteArray image = written.mid(written.indexOf("<img src=\"") + 10).split('"').first();
  {
    std::ofstream page(pages + "/long-svg.html");
    page << "<html><body>";
    for (int i = 0; i < 300; ++i) {
      page << "<img src=\"" << image.toStdString() << "?" << i
           << "\" width=\"102\" height=\"87\"><br>\n";
    }
    page << "</body></html>";
  }
  view->load(PageSchemeUrl(QString::fromStdString(pages + "/long-svg.html")));
  ASSERT_TRUE(WaitForLoad(view));
  view->page()->runJavaScript("window.scrollTo(0, document.body.scrollHeight)",
                              QWebEngineScript::ApplicationWorld);
  EXPECT_TRUE(WaitForScriptValue(view,
                                 "(() => { const i = document.images[document.images.length - 1];"
                                 " return String(i.getAttribute('src') !== null && i.complete &&"
                                 " i.naturalWidth > 50); })()",
                                 "true"));
}

TEST_F(ProgramTest, ThePageViewShowsOnlyTheOpenedOutputAndRunsNoScript) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CStrumletViewerView* view = frame->activeChild()->htmlView();
  ASSERT_TRUE(WaitForLoad(view));
  const QUrl pageUrl = view->url();

  const std::string pages = folder / "out/Guitar Chords";
  const auto write = [](const std::string& path, const std::string& html) {
    std::ofstream(path) << "<html><head><title>unchanged</title></head><body>" << html
                        << "</body></html>";
  };
  write(folder / "secret.html", "secret");
  std::filesystem::create_symlink(folder / "secret.html", pages + "/link.html");

  // A page inside is served, but its script does not run.
  EXPECT_FALSE(view->page()->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
  write(pages + "/script.html", "inside<script>document.title = 'ran';</script>");
  view->load(PageSchemeUrl(QString::fromStdString(pages + "/script.html")));
  ASSERT_TRUE(WaitForLoad(view));
  EXPECT_TRUE(PageText(view).contains("inside"));
  EXPECT_EQ(view->title(), "unchanged");

  // The page's Back button needs a script; the view's own way back still works.
  QApplication::setActiveWindow(frame);
  view->setFocus();
  QTest::keyClick(view->focusProxy() != nullptr ? view->focusProxy() : view, Qt::Key_Left,
                  Qt::AltModifier);
  ASSERT_TRUE(WaitForLoad(view));
  EXPECT_EQ(view->url(), pageUrl);

  // Outside: another file of the system, a way up with "..", a link inside pointing out.
  for (const QUrl& url :
       {PageSchemeUrl(QStringLiteral("/etc/passwd")),
        QUrl(QString::fromStdString("strumlet-page:" + pages + "/../../secret.html")),
        PageSchemeUrl(QString::fromStdString(pages + "/link.html"))}) {
    view->load(url);
    EXPECT_FALSE(WaitForLoad(view)) << url.toString().toStdString();
    const QString text = PageText(view);
    EXPECT_FALSE(text.contains("root:") || text.contains("secret")) << text.toStdString();
  }
}

TEST_F(ProgramTest, NothingInThePageViewReachesTheNetworkAndWebLinksGoToTheBrowser) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  CMainFrame* frame = Start({STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb"});
  ASSERT_NE(frame, nullptr);
  CStrumletViewerView* view = frame->activeChild()->htmlView();
  ASSERT_TRUE(WaitForLoad(view));
  const QUrl pageUrl = view->url();
  QList<QUrl> opened;
  view->SetLinkOpener([&opened](const QUrl& url) { opened << url; });

  // The footer's link to the maker's site: handed over, not loaded.
  view->page()->runJavaScript(QStringLiteral("document.querySelector('a[href^=\"http\"]').click()"),
                              QWebEngineScript::ApplicationWorld);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 10000));
  EXPECT_EQ(opened.first().scheme(), "http");
  QTest::qWait(300);
  EXPECT_EQ(view->url(), pageUrl);
  EXPECT_EQ(opened.size(), 1);

  // A page that names addresses on the network gets none of them.
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  const std::string address = "127.0.0.1:" + std::to_string(server.serverPort());
  std::ofstream(folder / "out/Guitar Chords/remote.html")
      << "<html><head><meta http-equiv=\"refresh\" content=\"0; url=http://" << address
      << "/r.html\"><link rel=\"stylesheet\" href=\"http://" << address
      << "/s.css\"></head><body>remote<img src=\"http://" << address
      << "/i.png\"><iframe src=\"http://" << address << "/f.html\"></iframe></body></html>";
  view->load(PageSchemeUrl(QString::fromStdString(folder / "out/Guitar Chords/remote.html")));
  ASSERT_TRUE(WaitForLoad(view));
  // Waited for with the events running: the browser asks this thread before it connects.
  EXPECT_FALSE(QTest::qWaitFor([&server] { return server.hasPendingConnections(); }, 3000));
  EXPECT_EQ(view->url().scheme(), "strumlet-page");
  EXPECT_EQ(opened.size(), 1);
}

TEST_F(ProgramTest, TheFindBarFindsAsYouTypeStepsThroughTheMatchesAndCloses) {
  CMainFrame* frame = nullptr;
  CStrumletViewerView* view = StartWithGuitarPage(&frame);
  ASSERT_NE(view, nullptr);
  CFindBar* bar = frame->activeChild()->findBar();
  QLineEdit* field = bar->field();
  EXPECT_FALSE(bar->isVisible());
  QTest::keyClick(KeyTarget(view), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), field);

  // Two headings start with "Open", found while it is typed: F3 and Enter go forward and
  // round, with Shift back.
  QTest::keyClicks(field, "open");
  ASSERT_TRUE(FindResultIs(bar, "1 of 2")) << bar->resultLabel()->text().toStdString();
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
      {Qt::Key_F3, Qt::NoModifier},
      {Qt::Key_F3, Qt::NoModifier},
      {Qt::Key_F3, Qt::ShiftModifier},
      {Qt::Key_Return, Qt::NoModifier},
      {Qt::Key_Return, Qt::ShiftModifier}};
  const QStringList expected = {"2 of 2", "1 of 2", "2 of 2", "1 of 2", "2 of 2"};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    QTest::keyClick(field, keys[i].first, keys[i].second);
    EXPECT_TRUE(FindResultIs(bar, expected[int(i)])) << i;
  }

  // A word the page does not show: said, and the field tinted until the text is found again.
  const QColor plain = field->palette().color(QPalette::Base);
  QTest::keyClicks(field, "zz");
  EXPECT_TRUE(FindResultIs(bar, "Not found")) << bar->resultLabel()->text().toStdString();
  EXPECT_NE(field->palette().color(QPalette::Base), plain);
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClick(field, Qt::Key_Backspace);
  EXPECT_TRUE(FindResultIs(bar, "* of 2"));
  EXPECT_EQ(field->palette().color(QPalette::Base), plain);

  // Named for a screen reader, the result read out as it reads. Tab goes through the buttons in
  // their order, Space presses one, and Escape closes the bar from there too, giving the page
  // the focus again.
  EXPECT_EQ(field->accessibleName(), "Find in page");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(bar->resultLabel())->text(QAccessible::Name),
            bar->resultLabel()->text());
  QStringList order;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order << QApplication::focusWidget()->accessibleName();
  }
  EXPECT_EQ(order.join('|'), "Previous match|Next match|Close find bar");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_TRUE(view->isAncestorOf(QApplication::focusWidget())) << QApplication::focusWidget();

  // F3 with the bar closed opens it on the same text, found again.
  QTest::keyClick(KeyTarget(view), Qt::Key_F3);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(FindResultIs(bar, "* of 2"));

  // A chord is found by its name or its frets, though the page on disk has no words for them.
  // Its diagram is outlined and scrolled into view; the outline goes with the bar.
  QSignalSpy marked(bar, &CFindBar::diagramMarked);
  for (const char* text : {"Bm", "x 2 4 4 3 2"}) {
    field->selectAll();
    QTest::keyClicks(field, text);
    EXPECT_TRUE(FindResultIs(bar, "1 of 1")) << text << bar->resultLabel()->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !marked.isEmpty() && !marked.last().at(0).toString().isEmpty(); }, 10000))
        << text;
    EXPECT_TRUE(
        WaitForScriptValue(view,
                           "(() => { const m = document.querySelectorAll("
                           "'img[data-strumlet-found]'), r = m[0].getBoundingClientRect();"
                           " return m.length + ' ' + (r.top >= 0 && r.bottom <= innerHeight)"
                           " + ' ' + m[0].nextElementSibling.textContent; })()",
                           "1 true Bm: x 2 4 4 3 2, barre 2, fingers x 1 3 4 2 1"))
        << text;
  }
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_TRUE(WaitForScriptValue(
      view, "String(document.querySelectorAll('img[data-strumlet-found]').length)", "0"));
  std::ifstream onDisk(folder / "out/Guitar Chords/Guitar Chords.html");
  const std::string page{std::istreambuf_iterator<char>(onDisk), {}};
  EXPECT_EQ(page.find(" alt="), std::string::npos);
}

TEST(PageScheme, ServedDiagramsArePlayButtonsInPlaceOfTheirSoundLinks) {
  const QByteArray page =
      "<html>\n<head>\n<title>t</title></head><FORM>x</FORM>"
      "<a href=\"1.ogg\"><img src=\"1.png\" width=\"7\" height=\"7\" border=\"0\"></a>\n"
      "<img src=\"2.png\" width=\"7\" height=\"7\" border=\"0\">\n"
      "<a href=\"http://x\">Strumlet</a><hr size=\"1\">";
  const QByteArray served = WithPlayButtons(page);
  EXPECT_TRUE(served.contains(
      "<button type=\"submit\" form=\"strumlet-play\" name=\"strumlet-play\" value=\"1.png\" "
      "class=\"strumlet-play\"><img src=\"1.png\" width=\"7\" height=\"7\" border=\"0\">"
      "</button>\n<button "))
      << served.toStdString();
  EXPECT_TRUE(served.contains("value=\"2.png\" class=\"strumlet-play\"><img src=\"2.png\""));
  // The view would leave the page for an audio file; other links stay.
  EXPECT_FALSE(served.contains(".ogg"));
  EXPECT_FALSE(served.contains("</button></a>"));
  EXPECT_TRUE(served.contains("<a href=\"http://x\">Strumlet</a>"));
  EXPECT_TRUE(served.contains("</head><form id=\"strumlet-play\" method=\"get\"></form><FORM>"));
  EXPECT_TRUE(served.contains("<head><style>.strumlet-play{all:unset"));
  // Deferred after, the buttons keep their images' places.
  EXPECT_EQ(WithDeferredImages(served).count("<button "), 2);
  const QByteArray none = "<html><head></head><p>no diagrams</p>";
  EXPECT_EQ(WithPlayButtons(none), none);
}

TEST_F(ProgramTest, AClickedDiagramPlaysOrSaysOnceThatNoSoundCanBePlayed) {
  // No audio output here, whatever the machine has.
  qputenv("STRUMLET_AUDIO_DRIVER", "no-such-driver");
  CMainFrame* frame = nullptr;
  CStrumletViewerView* view = StartWithGuitarPage(&frame);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(frame->command(ID_TOGGLE_PLAY_SOUND)->isChecked());
  const QString buttons =
      ScriptValue(view, "String(document.querySelectorAll('button.strumlet-play').length)");
  EXPECT_EQ(buttons, ScriptValue(view, "String(document.images.length)"));
  EXPECT_NE(buttons, "0");
  const auto boxes = [frame] { return frame->findChildren<QMessageBox*>("soundUnavailableBox"); };
  // Reached with Tab and pressed with Space, then Enter, then a click: the first tells, once.
  ScriptValue(view, "document.querySelector('button.strumlet-play').focus(), 'focused'");
  QTest::keyClick(KeyTarget(view), Qt::Key_Space);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes().size() == 1; }, 10000));
  EXPECT_TRUE(boxes().front()->text().contains("no audio output could be opened"))
      << boxes().front()->text().toStdString();
  EXPECT_FALSE(boxes().front()->isModal());
  QTest::keyClick(KeyTarget(view), Qt::Key_Return);
  ScriptValue(view, "document.querySelectorAll('button.strumlet-play')[1].click(), 'clicked'");
  QTest::qWait(500);
  EXPECT_EQ(boxes().size(), 1);
  // The page stays, and works as before.
  EXPECT_EQ(view->url(),
            PageSchemeUrl(QString::fromStdString(folder / "out/Guitar Chords/Guitar Chords.html")));
  EXPECT_TRUE(PageText(view).contains("Guitar Chords"));

  // Turned off: stored, and the page shown next has no buttons.
  frame->command(ID_TOGGLE_PLAY_SOUND)->trigger();
  EXPECT_FALSE(frame->command(ID_TOGGLE_PLAY_SOUND)->isChecked());
  EXPECT_EQ(store.ints["Settings/PlaySound"], 0);
  view->triggerPageAction(QWebEnginePage::Reload);
  ASSERT_TRUE(WaitForLoad(view));
  EXPECT_EQ(ScriptValue(view, "String(document.querySelectorAll('button').length)"), "0");
  // The file on disk never had them.
  std::ifstream onDisk(folder / "out/Guitar Chords/Guitar Chords.html");
  const std::string written{std::istreambuf_iterator<char>(onDisk), {}};
  EXPECT_EQ(written.find("button"), std::string::npos);
  EXPECT_EQ(written.find(".ogg"), std::string::npos);
  qunsetenv("STRUMLET_AUDIO_DRIVER");
}

TEST(PageScheme, ServedPagesDescribeEveryDiagramTheyHaveWordsFor) {
  const DiagramWords words = {{"1.png", "Bm: x 2 4 4 3 2"}, {"2.png", "C&#176;: 0 0"}};
  const QByteArray page =
      "<html>\n<head>\n<title>t</title></head><a href=\"x\">Strumlet</a> Database:<font "
      "size=\"+2\"><b>Guitar</b></font><td width=\"30\"><b><i>Minor</i></b></td>"
      "<img src=\"1.png\" width=\"7\" height=\"7\" border=\"0\">\n"
      "<img src=\"2.png\" alt=\"kept\" width=\"7\" height=\"7\" border=\"0\">\n"
      "<img src=\"3.png\" width=\"7\" height=\"7\" border=\"0\">\n";
  const QByteArray served = WithDeferredImages(page, &words);
  // Words from the document where the page has none, the page's own where it has them.
  EXPECT_TRUE(served.contains("<img src=\"1.png\" alt=\"Bm: x 2 4 4 3 2\" width=\"7\""));
  EXPECT_TRUE(served.contains("<img src=\"2.png\" alt=\"kept\" width"));
  EXPECT_EQ(served.count(" alt="), 2);
  EXPECT_TRUE(served.contains(">\n<img src=\"3.png\" width=\"7\" height=\"7\" border=\"0\">\n"));
  // Beside each described diagram for find in page, hidden from sight and from screen readers.
  EXPECT_TRUE(
      served.contains("border=\"0\"><span class=\"strumlet-words\" aria-hidden=\"true\">"
                      "Bm: x 2 4 4 3 2</span>"));
  EXPECT_TRUE(served.contains("<head><style>.strumlet-words{"));
  EXPECT_TRUE(served.contains("<td width=\"30\" role=\"heading\" aria-level=\"2\">"));
  EXPECT_TRUE(served.contains("<font size=\"+2\" role=\"heading\" aria-level=\"1\"><b>Guitar<"));
  // Past the first screenful an image waits for its address: named by aria-label, not alt,
  // which the browser would draw in its place at a great cost for thousands of images.
  QByteArray tall;
  for (int i = 0; i < 60; ++i) tall += "<img src=\"0.png\" width=\"7\">\n";
  tall += "<img src=\"1.png\" width=\"7\">\n<img src=\"2.png\" alt=\"kept\" width=\"7\">\n";
  const QByteArray tallServed = WithDeferredImages(tall, &words);
  EXPECT_TRUE(tallServed.contains(
      "<img data-strumlet-src=\"1.png\" aria-label=\"Bm: x 2 4 4 3 2\" width=\"7\">"));
  EXPECT_TRUE(tallServed.contains("<img data-strumlet-src=\"2.png\" aria-label=\"kept\" width"));
  EXPECT_FALSE(tallServed.contains(" alt="));
  // Without words or headings, a page is served as before: only its images deferred.
  const QByteArray plain = "<head><img src=\"9.png\" width=\"1\">";
  EXPECT_EQ(WithDeferredImages(plain), plain);
}

TEST_F(ProgramTest, APageForTodaysBrowsersIsShownWithItsHeadingsAndEveryDiagram) {
  store.ints["Settings/ModernPage"] = 1;
  CMainFrame* frame = nullptr;
  CStrumletViewerView* view = StartWithGuitarPage(&frame);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(frame->command(ID_TOGGLE_MODERN_PAGE)->isChecked());
  // Five categories; every diagram drawn, each with its words.
  EXPECT_TRUE(WaitForScriptValue(
      view,
      "[document.doctype && document.doctype.name, document.querySelectorAll('h1').length,"
      " document.querySelectorAll('h2').length].join(' ')",
      "html 1 5"));
  EXPECT_TRUE(WaitForScriptValue(
      view,
      "String([...document.querySelectorAll('figure img')].filter(i => i.complete &&"
      " i.naturalWidth > 0 && /: /.test(i.alt || i.getAttribute('aria-label'))).length)",
      "31"));
}

TEST(PageScheme, PagesForTodaysBrowsersGetOnlyTheWindowsOwnAdditions) {
  // Their headings are headings already and they have no Back button to stand in for.
  const QByteArray page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>t</title>\n</head>\n<body>\n"
      "<header><h1>Guitar</h1></header>\n<main>\n<h2>Minor</h2>\n<div class=\"chords\">\n"
      "<figure><img src=\"1.png\" alt=\"Bm: x 2 4 4 3 2\" width=\"7\" height=\"7\"></figure>\n"
      "</div>\n</main>\n</body>\n</html>\n";
  QByteArray expected = page;
  expected.replace("<head>", "<head><style>.strumlet-words{font-size:0}</style>");
  expected.replace("height=\"7\"></figure>",
                   "height=\"7\"><span class=\"strumlet-words\" aria-hidden=\"true\">Bm: x 2 4 4 3 "
                   "2</span></figure>");
  EXPECT_EQ(WithDeferredImages(page, nullptr).toStdString(), expected.toStdString());
}

TEST_F(ProgramTest, ZoomChangesEveryPageAndIsKeptForTheNextStart) {
  CMainFrame* frame = nullptr;
  CStrumletViewerView* view = StartWithGuitarPage(&frame);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame->pageZoom(), 100);
  const int actualWidth = CssWidth(view);
  ASSERT_GT(actualWidth, 0);

  // Ctrl+= (no Shift needed), Ctrl+- and Ctrl+0 from the page, along the ladder.
  for (const auto& [key, zoom] : std::vector<std::pair<Qt::Key, int>>{
           {Qt::Key_Equal, 110}, {Qt::Key_Minus, 100}, {Qt::Key_Minus, 90}, {Qt::Key_0, 100}}) {
    QTest::keyClick(KeyTarget(view), key, Qt::ControlModifier);
    EXPECT_EQ(frame->pageZoom(), zoom) << key;
  }
  // Ctrl and the wheel: a notch away zooms in, towards the user out; half a notch waits for the
  // other half.
  for (const auto& [delta, zoom] : std::vector<std::pair<int, int>>{
           {120, 110}, {120, 125}, {-60, 125}, {-180, 100}, {-240, 80}}) {
    QWheelEvent wheel(QPointF(20, 20), view->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(KeyTarget(view), &wheel);
    EXPECT_EQ(frame->pageZoom(), zoom) << delta;
  }
  EXPECT_TRUE(ShowsZoomed(view, actualWidth, 80));

  // Every window, a new one too, and a page loaded later.
  frame->command(ID_FILE_NEW)->trigger();
  EXPECT_DOUBLE_EQ(frame->activeChild()->htmlView()->zoomFactor(), 0.8);
  frame->command(ID_VIEW_ZOOM_OUT)->trigger();
  EXPECT_DOUBLE_EQ(frame->activeChild()->htmlView()->zoomFactor(), 0.75);
  view->load(view->url());
  ASSERT_TRUE(WaitForLoad(view));
  EXPECT_TRUE(ShowsZoomed(view, actualWidth, 75));

  // Held at the top of the ladder, where the command is off; stored as it changes.
  for (int i = 0; i < 30; ++i) {
    frame->command(ID_VIEW_ZOOM_IN)->trigger();
  }
  EXPECT_FALSE(frame->command(ID_VIEW_ZOOM_IN)->isEnabled());
  frame->command(ID_VIEW_ZOOM_OUT)->trigger();
  EXPECT_EQ(store.ints["Settings/PageZoom"], 400);

  // The next start shows its first page at the kept zoom.
  view = StartWithGuitarPage(&frame);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame->pageZoom(), 400);
  EXPECT_TRUE(ShowsZoomed(view, actualWidth, 400));
}

TEST_F(ProgramTest, AStoredZoomOffTheLadderIsKeptAndOneOutsideItIsActualSize) {
  store.ints["Settings/PageZoom"] = 501;
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->pageZoom(), 100);

  store.ints["Settings/PageZoom"] = 140;
  frame = Start({});
  ASSERT_NE(frame, nullptr);
  EXPECT_DOUBLE_EQ(frame->activeChild()->htmlView()->zoomFactor(), 1.4);
  frame->command(ID_VIEW_ZOOM_IN)->trigger();
  EXPECT_EQ(frame->pageZoom(), 150);
}

TEST_F(ProgramTest, AnActivatedWindowGivesItsPageTheKeyboardAndTellsOnlyShownPanes) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  frame->command(ID_FILE_NEW)->trigger();
  frame->command(ID_FILE_NEW)->trigger();
  QApplication::setActiveWindow(frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  for (const char* item : {"&1 ", "&2 "}) {  // Window, 1 and Window, 2
    QMenu* windows = Menu(frame, "menu129Window");
    emit windows->aboutToShow();
    for (QAction* action : windows->actions()) {
      if (action->text().startsWith(item)) action->trigger();
    }
    CChildFrame* child = frame->activeChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle().back(), QChar(item[1])) << item;
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == child->htmlView() || child->htmlView()->isAncestorOf(focus))
        << item << (focus ? focus->metaObject()->className() : "no focus");
    EXPECT_EQ(child->leftView()->focusPolicy(), Qt::NoFocus);
  }
  // A screen reader hears of neither the closed tree pane nor the hidden find bar; the open bar
  // is a tool bar.
  CChildFrame* child = frame->activeChild();
  const auto children = [](QWidget* widget) {
    QList<QObject*> objects;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    for (int i = 0; i < node->childCount(); ++i) objects << node->child(i)->object();
    return objects;
  };
  EXPECT_FALSE(children(child->splitter()).contains(child->leftView()));
  EXPECT_FALSE(children(child->findBar()->parentWidget()).contains(child->findBar()));
  child->findBar()->Open();
  EXPECT_TRUE(children(child->findBar()->parentWidget()).contains(child->findBar()));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(child->findBar())->role(), QAccessible::ToolBar);
}

TEST_F(ProgramTest, OneFileMenuAtATimeOpensWithAltFAndF10) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  QApplication::setActiveWindow(frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  const auto heard = [frame] {
    QStringList names;
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame->menuBar());
    for (int i = 0; i < bar->childCount(); ++i) names << bar->child(i)->text(QAccessible::Name);
    return names.join('|').toStdString();
  };
  EXPECT_EQ(heard(), "File|Options|Palm|Help");
  frame->command(ID_FILE_NEW)->trigger();
  EXPECT_EQ(heard(), "File|Edit|View|Window|Options|Tools|Palm|Help");
  QMenu* file = Menu(frame, "menuFile");
  for (const QKeyCombination key : {Qt::AltModifier | Qt::Key_F, QKeyCombination(Qt::Key_F10)}) {
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == file; }, 2000))
        << QKeySequence(key).toString().toStdString();
    file->close();
  }
}

TEST_F(ProgramTest, OpenRecentListsTheStoredPathsNewestFirstAndOpensThem) {
  store.strings["Settings/OutputPath"] = folder / "out/";
  store.strings["Recent File List/File1"] = STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb";
  store.strings["Recent File List/File2"] = folder / "gone.pdb";
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  QMenu* recent = Menu(frame, "menuRecent");
  const auto items = [recent] {
    emit recent->aboutToShow();
    QStringList shown;
    for (QAction* action : recent->actions()) {
      shown << (action->isSeparator() ? QString("-")
                                      : action->text() + (action->isEnabled() ? "" : " (grey)"));
    }
    return shown;
  };
  const QStringList listed = items();
  ASSERT_EQ(listed.size(), 4) << listed.join('|').toStdString();
  EXPECT_EQ(listed[0], "&1 " STRUMLET_SAMPLES_DIR "/Guitar Chords.pdb");
  EXPECT_EQ(listed[1], "&2 " + QString::fromStdString(folder / "gone.pdb") + " (grey)");
  EXPECT_EQ(listed.mid(2), (QStringList{"-", "&Clear Menu"}));

  recent->actions().first()->trigger();
  ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(WaitForLoad(frame->activeChild()->htmlView()));
  recent->findChild<QAction*>("recentClear")->trigger();
  EXPECT_EQ(items(), (QStringList{"-", "&Clear Menu (grey)"}));
}

TEST_F(ProgramTest, AWindowKeptLargerThanTheScreenIsFittedToIt) {
  CMainFrame* frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  const QRect available = frame->screen()->availableGeometry();
  frame->setGeometry(QRect(available.topLeft() + QPoint(40, 30), available.size() * 2));
  frame->close();  // keeps its geometry
  frame = Start({"/InstallAll"});
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(available.contains(frame->frameGeometry()))
      << frame->frameGeometry().width() << "x" << frame->frameGeometry().height();
}

}  // namespace
}  // namespace strumlet
