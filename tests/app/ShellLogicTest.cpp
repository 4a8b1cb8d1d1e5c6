// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ConversionRunner.h"
#include "Fixture.h"
#include "RecordingStore.h"
#include "TestCommon.h"
#include "strumlet/app/DocManager.h"
#include "strumlet/app/QtMessenger.h"
#include "strumlet/app/RecentFileList.h"
#include "strumlet/app/ViewerCommandLineInfo.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

using Shell = CViewerCommandLineInfo::ShellCommand;

CViewerCommandLineInfo Parse(std::vector<std::string> arguments) {
  CViewerCommandLineInfo info;
  info.ParseCommandLine(arguments);
  return info;
}

TEST(ViewerCommandLine, SwitchWordsAfterSlashOrDashAnyOtherArgumentIsThePath) {
  EXPECT_EQ(Parse({}).m_nShellCommand, Shell::FileNew);
  EXPECT_EQ(Parse({"/installall"}).m_nShellCommand, Shell::FileNothing);
  EXPECT_EQ(Parse({"-INSTALLALL"}).m_nShellCommand, Shell::FileNothing);
  // A path given with InstallAll is not opened either.
  EXPECT_EQ(Parse({"/InstallAll", "/home/a/Chords.pdb"}).m_nShellCommand, Shell::FileNothing);
  EXPECT_TRUE(Parse({"-Embedding"}).m_bRunEmbedded);
  EXPECT_TRUE(Parse({"/Automation"}).m_bRunAutomated);
  EXPECT_EQ(Parse({"/Unregister"}).m_nShellCommand, Shell::AppUnregister);
  EXPECT_EQ(Parse({"-unregserver"}).m_nShellCommand, Shell::AppUnregister);
  EXPECT_TRUE(Parse({"--help"}).m_bShowHelp);
  EXPECT_TRUE(Parse({"--version"}).m_bShowVersion);

  // Absolute paths start with "/": only the listed words are switches.
  const auto absolute = Parse({"/home/a/Guitar Chords.pdb"});
  EXPECT_EQ(absolute.m_nShellCommand, Shell::FileOpen);
  EXPECT_EQ(absolute.m_strFileName, "/home/a/Guitar Chords.pdb");
  const auto word = Parse({"/Embeddings"});
  EXPECT_FALSE(word.m_bRunEmbedded);
  EXPECT_EQ(word.m_strFileName, "/Embeddings");
  EXPECT_EQ(Parse({"-"}).m_strFileName, "-");
  // The first path names the document, the others follow it (a file manager's selection).
  const auto several = Parse({"a.pdb", "-Embeddings", "/x/b"});
  EXPECT_EQ(several.m_strFileName, "a.pdb");
  EXPECT_EQ(several.m_strMoreFileNames, (std::vector<std::string>{"-Embeddings", "/x/b"}));
  EXPECT_TRUE(absolute.m_strMoreFileNames.empty());
}

using testing::RecordingStore;

TEST(RecentFileList, NewestFirstWithoutDuplicatesKeptToItsSizeAndStoredAsFileN) {
  RecentFileList list(3);
  for (const char* path : {"/a", "/b", "/c", "/b", "/d"}) {
    list.Add(path);
  }
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/d", "/b", "/c"}));

  RecordingStore store;
  list.Save(store);
  EXPECT_EQ(store.strings["Recent File List/File1"], "/d");
  EXPECT_EQ(store.strings["Recent File List/File3"], "/c");
  RecentFileList again(3);
  again.Load(store);
  EXPECT_EQ(again.entries(), list.entries());
}

struct FakeWindow final : DocumentWindow {
  void Activate() override { ++activations; }
  void InitialUpdate() override { ++updates; }
  void Discard() override { ++discards; }
  int activations = 0;
  int updates = 0;
  int discards = 0;
  std::function<void()> closed;
};

struct FakeWindows final : DocumentWindowFactory {
  DocumentWindow* CreateDocumentWindow(CStrumletViewerDoc&, std::function<void()> closed) override {
    windows.push_back(std::make_unique<FakeWindow>());
    windows.back()->closed = std::move(closed);
    return windows.back().get();
  }
  std::vector<std::unique_ptr<FakeWindow>> windows;
};

class DocManagerTest : public ::testing::Test {
 protected:
  ProcessingSettings settings;
  FakeWindows windows;
  RecentFileList recent{7};
  CDocManager manager{settings, windows, &recent};
  testing::TempFolder folder;
};

TEST_F(DocManagerTest, AnAlreadyOpenPathOnlyActivatesItsWindow) {
  int conversions = 0;
  manager.SetOpener([&](CStrumletViewerDoc&, const std::string&) {
    ++conversions;
    return true;
  });
  std::filesystem::create_directory(folder / "pages");
  CStrumletViewerDoc* first = manager.OpenDocumentFile(folder / "pages");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetTitle(), "pages");
  // Another spelling of the same folder is the same document.
  EXPECT_EQ(manager.OpenDocumentFile(folder / "pages/../pages/"), first);
  EXPECT_EQ(conversions, 1);
  ASSERT_EQ(windows.windows.size(), 1u);
  EXPECT_EQ(windows.windows[0]->activations, 1);
  EXPECT_EQ(windows.windows[0]->updates, 1);
  EXPECT_EQ(recent.entries(), (std::vector<std::string>{folder / "pages"}));
  // Other options make its pages again, in the same window; another proposed path does not.
  settings.m_strDefaultPath = "/elsewhere";
  manager.OpenDocumentFile(folder / "pages");
  settings.m_bLeftHanded = true;
  EXPECT_EQ(manager.OpenDocumentFile(folder / "pages"), first);
  EXPECT_EQ(conversions, 2);
  EXPECT_EQ(windows.windows[0]->updates, 2);
  ASSERT_EQ(windows.windows.size(), 1u);

  // Once its window is closed, the path converts again.
  windows.windows[0]->closed();
  EXPECT_EQ(manager.DocumentCount(), 0u);
  EXPECT_NE(manager.OpenDocumentFile(folder / "pages"), nullptr);
  EXPECT_EQ(conversions, 3);
}

TEST_F(DocManagerTest, AFailedOpenDiscardsItsWindowAndEntersNothing) {
  RecordingMessenger messenger;
  ScopedMessenger scoped(messenger);
  // The real conversion: a folder that does not exist is refused with the document's message.
  EXPECT_EQ(manager.OpenDocumentFile(folder / "missing"), nullptr);
  ASSERT_EQ(windows.windows.size(), 1u);
  EXPECT_EQ(windows.windows[0]->discards, 1);
  EXPECT_EQ(windows.windows[0]->updates, 0);
  EXPECT_EQ(manager.DocumentCount(), 0u);
  EXPECT_TRUE(recent.entries().empty());
  EXPECT_EQ(messenger.Captions(), (std::vector<std::string>{"palm file Error"}));
}

TEST_F(DocManagerTest, NewDocumentsAreNumberedAndShownAtOnce) {
  CStrumletViewerDoc* one = manager.OpenNewDocument();
  CStrumletViewerDoc* two = manager.OpenNewDocument();
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->GetTitle(), "Strumlet1");
  EXPECT_EQ(two->GetTitle(), "Strumlet2");
  EXPECT_TRUE(one->PagePath.empty());
  EXPECT_EQ(windows.windows.at(1)->updates, 1);
  EXPECT_EQ(manager.DocumentCount(), 2u);
}

TEST_F(DocManagerTest, ServesOnlyTheFoldersOfTheOpenDocumentsPages) {
  namespace fs = std::filesystem;
  // A folder run shows its index, a single database the page in its own folder.
  manager.SetOpener([&](CStrumletViewerDoc& document, const std::string& path) {
    document.PagePath =
        path.ends_with(".pdb") ? folder / "single/B/B.html" : folder / "run/index.html";
    return true;
  });
  for (const char* dir : {"run/A/images", "single/B/images", "run-other", "in"}) {
    fs::create_directories(folder / dir);
  }
  for (const char* file :
       {"run/index.html", "run/A/A.html", "run/A/images/C.jpg", "single/B/B.html",
        "single/B/images/C.jpg", "single/index.html", "run-other/secret.html", "in/B.pdb"}) {
    std::ofstream(folder / file) << "x";
  }
  fs::create_symlink(folder / "run-other/secret.html", folder / "run/A/link.html");
  fs::create_symlink(folder / "run", folder / "run-other/way-in");
  EXPECT_FALSE(manager.ServesFile(folder / "run/index.html"));  // nothing is open yet

  CStrumletViewerDoc* run = manager.OpenDocumentFile(folder / "in");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(manager.OpenDocumentFile(folder / "in/B.pdb"), nullptr);
  for (const char* file :
       {"run/index.html", "run/A/A.html", "run/A/images/C.jpg", "single/B/B.html",
        "single/B/images/C.jpg", "run-other/way-in/A/A.html"}) {
    EXPECT_TRUE(manager.ServesFile(folder / file)) << file;
  }
  for (const char* file : {"single/index.html", "run-other/secret.html", "run/A/link.html",
                           "run/A/../../run-other/secret.html", "run/missing.html", "in/B.pdb"}) {
    EXPECT_FALSE(manager.ServesFile(folder / file)) << file;
  }
  EXPECT_FALSE(manager.ServesFile("/etc/passwd"));

  // A closed document's output is no longer served.
  windows.windows.at(0)->closed();
  EXPECT_FALSE(manager.ServesFile(folder / "run/A/A.html"));
  EXPECT_TRUE(manager.ServesFile(folder / "single/B/B.html"));
}

TEST(ConversionRunner, AMessageStandsOverTheMainWindowNeverUnderTheProgressAndIsPlainText) {
  QtMessenger messenger;
  ScopedMessenger scoped(messenger);
  testing::TempFolder folder;
  const std::string name = "<h1>Big.pdb";
  std::ofstream(folder / name) << "not a database";
  ProcessingSettings settings;
  settings.m_strOutputPath = folder / "";
  CStrumletViewerDoc document(settings);
  QMainWindow main;
  main.show();

  // The reader's message holds up the conversion past the moment the progress would show.
  Qt::TextFormat boxFormat = Qt::AutoText;
  Qt::TextFormat progressFormat = Qt::AutoText;
  QString progressText, text;
  QWidget* parent = nullptr;
  bool progressOverBox = false;
  QElapsedTimer boxShown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QMessageBox* box = nullptr;
    QWidget* progress = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == "messageBox" && top->isVisible())
        box = qobject_cast<QMessageBox*>(top);
      if (top->objectName() == "conversionProgress") progress = top;
    }
    if (box == nullptr || progress == nullptr) {
      return;
    }
    if (!boxShown.isValid()) boxShown.start();
    progressOverBox |= progress->isVisible();
    // Past the moment QProgressDialog would show itself too.
    if (boxShown.elapsed() < 4500) return;
    text = box->text();
    parent = box->parentWidget();
    boxFormat = box->textFormat();
    for (auto* label : progress->findChildren<QLabel*>()) {
      progressFormat = label->textFormat();
      progressText = label->text();
    }
    poll.stop();
    box->accept();
  });
  poll.start(50);
  RunConversion(document, folder / name, &main);
  EXPECT_FALSE(progressOverBox);
  EXPECT_EQ(parent, &main);
  EXPECT_EQ(text.toStdString(),
            "The selected database is not a Strumlet database.  It cannot be processed.\n'" +
                (folder / name) + "' is a text file, not a Palm database.");
  EXPECT_EQ(boxFormat, Qt::PlainText);
  EXPECT_EQ(progressFormat, Qt::PlainText);
  EXPECT_TRUE(progressText.contains(QString::fromStdString(name))) << progressText.toStdString();
}

TEST(ConversionRunner, EscapeStopsAFolderRunAfterTheDatabaseBeingWritten) {
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  testing::TempFolder folder;
  std::string chords;
  for (int i = 0; i < 300; ++i) chords += "{define: C frets x 3 2 0 1 0}\n";
  std::filesystem::create_directories(folder / "in/out");
  // Far more than is converted before the progress window comes (half a second): the run must
  // still be going when Escape is pressed, however fast the machine.
  for (int i = 0; i < 200; ++i) {
    fixture::WriteFile(folder / ("in/D" + std::to_string(i) + ".pdb"),
                       fixture::BuildDatabase(chords));
  }
  ProcessingSettings settings;
  settings.m_bPng = true;
  settings.m_nChordPercent = 100;
  settings.m_nFontSize = 12;
  settings.m_strFontFile = DefaultFontFile();
  settings.m_strOutputPath = folder / "in/out";
  CStrumletViewerDoc document(settings);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == "conversionProgress" && top->isVisible()) {
        QApplication::setActiveWindow(top);
        QTest::keyClick(top, Qt::Key_Escape);
        poll.stop();
      }
    }
  });
  poll.start(50);
  EXPECT_FALSE(RunConversion(document, folder / "in", nullptr));
  EXPECT_TRUE(document.summary().stopped);
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_TRUE(messages.Texts()[0].ends_with(" of 200 databases.")) << messages.Texts()[0];
}

TEST(QtMessenger, AMessageDuringALongJobShowsTheOrdinaryPointer) {
  QtMessenger messenger;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Qt::CursorShape whileShown = Qt::WaitCursor;
  QTimer::singleShot(0, [&] {
    whileShown = QApplication::overrideCursor()->shape();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(top)) box->accept();
    }
  });
  messenger.ShowMessage("palm file Error", "text", MessageIcon::Error);
  EXPECT_EQ(whileShown, Qt::ArrowCursor);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
}

}  // namespace
}  // namespace strumlet
