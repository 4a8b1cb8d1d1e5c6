// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "FolderDialog.h"
#include "TestCommon.h"
#include "strumlet/app/FileChoosers.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

using testing::TempFolder;

TEST(FolderDialog, StartsInTheFolderBeforeTheLastSeparator) {
  EXPECT_EQ(CFolderDialog::InitialFolder("/data/out/pages"), "/data/out");
  EXPECT_EQ(CFolderDialog::InitialFolder("/data/out/"), "/data/out");
  EXPECT_EQ(CFolderDialog::InitialFolder("pages"), "pages");
  EXPECT_EQ(CFolderDialog::InitialFolder("/data"), "/");
  EXPECT_EQ(CFolderDialog::InitialFolder(""), "");
}

// A browsed folder with a subfolder and a file, and the dialog opened on a path inside it.
class FolderDialogRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder + "/sub");
    std::ofstream(folder + "/Chords.pdb") << "x";
    startDirectory = std::filesystem::current_path();
    dialog = std::make_unique<CFolderDialog>(nullptr, folder + "/Chords.pdb", "Select");
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }
  void TearDown() override {
    // Whatever the user did, the process's current directory is where it was.
    EXPECT_EQ(std::filesystem::current_path(), startDirectory);
  }

  // Selects `name` in the list once the folder's entries have been read.
  void Select(const QString& name) {
    auto* list = dialog->findChild<QAbstractItemView*>("listView");
    ASSERT_NE(list, nullptr);
    auto* model = qobject_cast<QFileSystemModel*>(list->model());
    ASSERT_NE(model, nullptr);
    const QString path = QString::fromStdString(folder + "/" + name.toStdString());
    QModelIndex index;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      index = model->index(path);
      return index.isValid();
    }));
    list->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  TempFolder temp;
  std::string folder = temp / "data";
  std::filesystem::path startDirectory;
  std::unique_ptr<CFolderDialog> dialog;
};

TEST_F(FolderDialogRun, ShowsTheCaptionWordAndTheFolderNameLabel) {
  EXPECT_EQ(dialog->windowTitle(), "Select Folder");
  EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "Select");
  EXPECT_EQ(dialog->labelText(QFileDialog::FileName), "Folder name:");
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder);
  if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo")) {
    EXPECT_FALSE(types->isVisible());
  }
}

TEST_F(FolderDialogRun, OkAtOnceGivesTheInitialFolder) {
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text().toStdString(), folder);  // what the accept button will give
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->folder(), folder);
}

TEST_F(FolderDialogRun, OkAfterBrowsingGivesTheBrowsedFolder) {
  dialog->setDirectory(QString::fromStdString(folder + "/sub"));
  emit dialog->directoryEntered(QString::fromStdString(folder + "/sub"));
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  EXPECT_TRUE(QTest::qWaitFor([&] { return name->text().toStdString() == folder + "/sub"; }, 1000))
      << name->text().toStdString();
  dialog->accept();
  EXPECT_EQ(dialog->folder(), folder + "/sub");
}

TEST_F(FolderDialogRun, SelectedSubfolderWinsOverTheBrowsedOneButASelectedFileDoesNot) {
  Select("sub");
  dialog->accept();
  EXPECT_EQ(dialog->folder(), folder + "/sub");

  // The accept button itself, which the file dialog would grey out for a selected file.
  dialog->show();
  Select("Chords.pdb");
  auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_NE(buttons, nullptr);
  QPushButton* select = buttons->button(QDialogButtonBox::Open);
  ASSERT_NE(select, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return select->isEnabled(); }, 1000));
  QTest::mouseClick(select, Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->folder(), folder);
}

TEST_F(FolderDialogRun, TypedFolderIsTakenButOtherTypedTextIsNot) {
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  const std::pair<std::string, std::string> cases[] = {
      {"sub", folder + "/sub"}, {folder + "/sub/", folder + "/sub"}, {"no such folder", folder},
      {"Chords.pdb", folder},   {temp.path(), temp.path()},
  };
  for (const auto& [typed, result] : cases) {
    dialog->show();
    name->clear();
    QTest::keyClicks(name, QString::fromStdString(typed));
    dialog->accept();
    EXPECT_EQ(dialog->folder(), result) << typed;
  }
}

TEST_F(FolderDialogRun, CancelKeepsTheInitialFolder) {
  Select("sub");
  dialog->reject();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->folder(), folder);
}

TEST(FolderDialog, FolderNotMadeYetOpensOnItsNearestParentButIsStillTheResult) {
  TempFolder temp;
  const std::string missing = temp / "StrumletOutput/";
  CFolderDialog dialog(nullptr, missing, "Select");
  EXPECT_EQ(dialog.directory().absolutePath().toStdString(), temp.path());
  dialog.accept();
  EXPECT_EQ(dialog.folder(), temp / "StrumletOutput");
}

TEST(PdbFileChooser, OffersDatabasesThenAllFilesAndStartsAtThePath) {
  TempFolder temp;
  std::ofstream(temp / "Guitar.pdb") << "x";
  auto dialog = MakePdbFileDialog(nullptr, temp / "Guitar.pdb");
  auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(types, nullptr);
  QStringList shown;
  for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
  EXPECT_EQ(shown, (QStringList{"Palm Database Backup Files  (*.pdb)", "All Files (*.*)"}));
  EXPECT_EQ(dialog->defaultSuffix(), "pdb");
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), temp.path());
  EXPECT_EQ(dialog->selectedFiles().value(0).toStdString(), temp / "Guitar.pdb");

  // The second choice lists every file, also one without a dot.
  std::ofstream(temp / "README") << "x";
  dialog->show();
  dialog->selectNameFilter("All Files (*.*)");
  auto* list = dialog->findChild<QAbstractItemView*>("listView");
  ASSERT_NE(list, nullptr);
  const auto listed = [&] {
    QStringList names;
    for (int i = 0; i < list->model()->rowCount(list->rootIndex()); ++i) {
      names << list->model()->index(i, 0, list->rootIndex()).data().toString();
    }
    return names;
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return listed().contains("README"); }))
      << listed().join(',').toStdString();
  EXPECT_EQ(types->currentText(), "All Files (*.*)");

  auto inFolder = MakePdbFileDialog(nullptr, temp.path());
  EXPECT_EQ(inFolder->directory().absolutePath().toStdString(), temp.path());
}

TEST(PdbFileChooser, TypedNameMayBeNewButItsFolderMustExist) {
  TempFolder temp;
  RecordingMessenger messenger;
  ScopedMessenger scope(messenger);
  auto dialog = MakePdbFileDialog(nullptr, temp.path());
  dialog->show();
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  name->setText(QString::fromStdString(temp / "missing/Guitar.pdb"));  // pasted
  static_cast<QDialog*>(dialog.get())->accept();                       // as the Open button does
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(messenger.Texts(),
            (std::vector<std::string>{"'" + temp / "missing" + "' is not a valid folder."}));

  name->clear();
  QTest::keyClicks(name, "New Chords");
  static_cast<QDialog*>(dialog.get())->accept();  // as the Open button does
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->selectedFiles().value(0).toStdString(), temp / "New Chords.pdb");
}

TEST(ChordProFileChooser, ProposesTheFileAndAddsTheExtensionToATypedName) {
  TempFolder temp;
  auto dialog = MakeChordProFileDialog(nullptr, temp / "Guitar Chords.cho");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog->directory().absolutePath().toStdString(), temp.path());
  EXPECT_EQ(dialog->selectedFiles().value(0).toStdString(), temp / "Guitar Chords.cho");

  dialog->show();
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  name->clear();
  QTest::keyClicks(name, "Songbook");
  static_cast<QDialog*>(dialog.get())->accept();  // as the Save button does
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->selectedFiles().value(0).toStdString(), temp / "Songbook.cho");
}

}  // namespace
}  // namespace strumlet
