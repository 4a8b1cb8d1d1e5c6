// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "OpenCommand.h"
#include "TestCommon.h"

namespace strumlet {
namespace {

using testing::RecordingMessages;
using testing::RecordingStore;
using testing::TempFolder;

void SetEdit(QDialog& dialog, const char* name, const std::string& text) {
  auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(QString::fromStdString(text));
}

std::string EditText(QDialog& dialog, const char* name) {
  auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
  return edit ? edit->text().toStdString() : "<missing " + std::string(name) + ">";
}

int Confirm(QDialog& dialog) {
  dialog.accept();
  return dialog.result();
}

TEST(OpenCommand, OkStoresTheChoicesInOrderCopiesThemAndMakesTheOutputFolder) {
  TempFolder temp;
  RecordingStore store;
  RecordingMessages messenger;
  ProcessingSettings settings;
  const std::string output = temp / "pages/guitar";
  std::map<std::string, std::string> proposed;
  const auto result = RunOpenCommand(nullptr, store, settings, {}, [&](QDialog& d) {
    proposed = {{"path", EditText(d, "edit1005")},
                {"scale", d.findChild<QComboBox*>("combo1013")->currentText().toStdString()},
                {"size", EditText(d, "edit1003")},
                {"output", EditText(d, "edit1001")}};
    SetEdit(d, "edit1005", "/music/Guitar Chords.pdb");
    SetEdit(d, "edit1001", output);
    SetEdit(d, "edit1000", "/fonts/serif.ttf");
    SetEdit(d, "edit1003", "20");
    d.findChild<QComboBox*>("combo1013")->setEditText("63%");
    d.findChild<QRadioButton*>("radio1008")->setChecked(true);
    d.findChild<QRadioButton*>("radio1009")->setChecked(true);
    d.findChild<QCheckBox*>("check1014")->setChecked(true);
    d.findChild<QCheckBox*>("checkLeftHanded")->setChecked(true);
    d.findChild<QCheckBox*>("checkModernPage")->setChecked(true);
    return Confirm(d);
  });
  // An empty store proposes the Open command's defaults.
  EXPECT_EQ(proposed["path"], DefaultPathSetting());
  EXPECT_EQ(proposed["scale"], "100");
  EXPECT_EQ(proposed["size"], "12");
  EXPECT_EQ(proposed["output"], DefaultOutputSetting());

  EXPECT_EQ(result, std::vector<std::string>{"/music/Guitar Chords.pdb"});
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"DefaultPath=/music/Guitar Chords.pdb",
                                      "OutputPath=" + output, "Fontfile=/fonts/serif.ttf", "JPEG=0",
                                      "SVG=0", "Sort=0", "ChordPercent=63", "FontSize=20",
                                      "Border=1", "LeftHanded=1", "ModernPage=1"}));
  EXPECT_TRUE(settings.m_bLeftHanded);
  EXPECT_TRUE(settings.m_bModernPage);
  EXPECT_FALSE(settings.m_bJpeg);
  EXPECT_TRUE(settings.m_bPng);
  EXPECT_EQ(settings.m_nChordPercent, 63);
  EXPECT_TRUE(settings.m_bBorder);
  EXPECT_EQ(settings.m_nSort, 0);
  EXPECT_EQ(settings.m_strFontFile, "/fonts/serif.ttf");
  EXPECT_EQ(settings.m_nFontSize, 20);
  EXPECT_EQ(settings.m_strDefaultPath, "/music/Guitar Chords.pdb");
  EXPECT_EQ(settings.m_strOutputPath, output);
  EXPECT_TRUE(std::filesystem::is_directory(output));
  EXPECT_TRUE(messenger.messages().empty());
}

TEST(OpenCommand, StoredValuesFillTheDialogAndADroppedPathReplacesThePath) {
  RecordingStore store;
  store.ints = {{"Settings/JPEG", 0},
                {"Settings/Sort", 1},
                {"Settings/ChordPercent", 150},
                {"Settings/FontSize", 30},
                {"Settings/Border", 1}};
  store.strings = {{"Settings/DefaultPath", "/stored/path"},
                   {"Settings/OutputPath", "/stored/out"},
                   {"Settings/Fontfile", "/stored/font.ttf"}};
  ProcessingSettings settings;
  std::vector<std::string> shown;
  RunOpenCommand(nullptr, store, settings, "/dropped/Banjo.pdb", [&](QDialog& d) {
    shown = {EditText(d, "edit1005"),
             EditText(d, "edit1001"),
             EditText(d, "edit1000"),
             EditText(d, "edit1003"),
             d.findChild<QComboBox*>("combo1013")->currentText().toStdString(),
             d.findChild<QRadioButton*>("radio1008")->isChecked() ? "PNG" : "JPEG",
             d.findChild<QRadioButton*>("radio1011")->isChecked() ? "Name" : "?",
             d.findChild<QCheckBox*>("check1014")->isChecked() ? "framed" : "plain"};
    d.reject();
    return d.result();
  });
  EXPECT_EQ(shown,
            (std::vector<std::string>{"/dropped/Banjo.pdb", "/stored/out", "/stored/font.ttf", "30",
                                      "150", "PNG", "Name", "framed"}));

  // A stored "SVG" proposes its button unless "JPEG" is on, and choosing it stores it.
  TempFolder temp;
  store.strings["Settings/OutputPath"] = temp.path();
  for (const int jpeg : {0, 1}) {
    store.ints = {{"Settings/JPEG", jpeg}, {"Settings/SVG", 1}};
    std::string proposed;
    RunOpenCommand(nullptr, store, settings, {}, [&](QDialog& d) {
      proposed = d.findChild<QRadioButton*>("radioSvg")->isChecked() ? "SVG" : "other";
      return Confirm(d);
    });
    EXPECT_EQ(proposed, jpeg ? "other" : "SVG");
    EXPECT_EQ(store.ints["Settings/SVG"], jpeg ? 0 : 1);
    EXPECT_EQ(settings.m_bSvg, !jpeg);
    EXPECT_EQ(settings.m_bJpeg, jpeg == 1);
    EXPECT_FALSE(settings.m_bPng);
  }
}

TEST(OpenCommand, CancelStoresNothingAndLeavesTheSettings) {
  RecordingStore store;
  RecordingMessages messenger;
  ProcessingSettings settings;
  settings.m_nChordPercent = 75;
  settings.m_bJpeg = settings.m_bPng = true;
  const auto result = RunOpenCommand(nullptr, store, settings, {}, [](QDialog& d) {
    SetEdit(d, "edit1005", "/changed");
    SetEdit(d, "edit1003", "7");
    d.findChild<QRadioButton*>("radio1008")->setChecked(true);
    d.reject();
    return d.result();
  });
  EXPECT_FALSE(result);
  EXPECT_TRUE(store.writes.empty());
  EXPECT_EQ(settings.m_nChordPercent, 75);
  EXPECT_TRUE(settings.m_bJpeg && settings.m_bPng);
  EXPECT_TRUE(settings.m_strOutputPath.empty());
  EXPECT_TRUE(messenger.messages().empty());
}

TEST(OpenCommand, OutputFolderThatCannotBeMadeIsRefusedTheDialogStaysAndTheChoicesStayStored) {
  TempFolder temp;
  std::ofstream(temp / "file") << "x";
  RecordingStore store;
  RecordingMessages messenger;
  ProcessingSettings settings;
  const std::string output = temp / "file/pages";
  std::vector<std::string> shown;
  const auto result = RunOpenCommand(nullptr, store, settings, {}, [&](QDialog& d) {
    shown.push_back(EditText(d, "edit1001"));
    if (shown.size() > 1) return int{QDialog::Rejected};
    SetEdit(d, "edit1001", output);
    return Confirm(d);
  });
  EXPECT_FALSE(result);
  // Back with the folder that failed, for another choice.
  ASSERT_EQ(shown.size(), 2U);
  EXPECT_EQ(shown[1], output);
  ASSERT_EQ(messenger.messages().size(), 1U);
  EXPECT_EQ(messenger.messages()[0].caption, "Invalid Destination Folder");
  EXPECT_EQ(messenger.messages()[0].text, "'" + output + "' cannot be created: Not a directory.");
  EXPECT_EQ(store.strings["Settings/OutputPath"], output);
  EXPECT_EQ(settings.m_strOutputPath, output);
}

TEST(OpenCommand, OutputFolderChecks) {
  TempFolder temp;
  RecordingMessages messenger;
  EXPECT_TRUE(CreateOutputFolder(temp.path()));  // already there
  EXPECT_TRUE(CreateOutputFolder(temp / "a/b/c/"));
  EXPECT_TRUE(std::filesystem::is_directory(temp / "a/b/c"));
  EXPECT_TRUE(messenger.messages().empty());
  EXPECT_FALSE(CreateOutputFolder(""));
  std::filesystem::create_directory(temp / "locked");
  std::filesystem::permissions(
      temp / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  // Root may write anywhere; the refusal only shows for other users.
  if (::geteuid() != 0) {
    EXPECT_FALSE(CreateOutputFolder(temp / "locked"));
    EXPECT_FALSE(CreateOutputFolder(temp / "locked/new"));
  }
  std::filesystem::permissions(temp / "locked", std::filesystem::perms::owner_all);
  EXPECT_EQ(messenger.messages().size(), ::geteuid() != 0 ? 3U : 1U);
}

TEST(OpenCommand, CommandLinePathUsesWhatTheDialogWouldProposeAndStoresNothing) {
  RecordingStore store;
  store.ints = {{"Settings/JPEG", 2}, {"Settings/FontSize", 16}};
  store.strings = {{"Settings/OutputPath", "/stored/out"}};
  ProcessingSettings settings;
  CopyProposedOpenSettings(store, settings);
  EXPECT_TRUE(store.writes.empty());
  EXPECT_FALSE(settings.m_bJpeg);  // only a stored 1 means JPEG
  EXPECT_TRUE(settings.m_bPng);
  EXPECT_EQ(settings.m_nChordPercent, 100);
  EXPECT_EQ(settings.m_nSort, 2);
  EXPECT_EQ(settings.m_nFontSize, 16);
  EXPECT_FALSE(settings.m_bBorder);
  EXPECT_EQ(settings.m_strOutputPath, "/stored/out");
  EXPECT_EQ(settings.m_strFontFile, DefaultFontSetting());
}

TEST(PathSettingsCommand, OkStoresDefaultPathThenFontFileAndCancelNothing) {
  RecordingStore store;
  store.strings = {{"Settings/DefaultPath", "/old/path"}, {"Settings/Fontfile", "/old.ttf"}};
  ProcessingSettings settings;
  std::string shown;
  RunPathSettingsCommand(nullptr, store, settings, [&](QDialog& d) {
    shown = EditText(d, "edit1005") + "|" + EditText(d, "edit1000");
    SetEdit(d, "edit1005", "/new/path");
    SetEdit(d, "edit1000", "/new.ttf");
    d.reject();
    return d.result();
  });
  EXPECT_EQ(shown, "/old/path|/old.ttf");
  EXPECT_TRUE(store.writes.empty());

  RunPathSettingsCommand(nullptr, store, settings, [&](QDialog& d) {
    SetEdit(d, "edit1005", "/new/path");
    SetEdit(d, "edit1000", "/new.ttf");
    return Confirm(d);
  });
  EXPECT_EQ(store.writes, (std::vector<std::string>{"DefaultPath=/new/path", "Fontfile=/new.ttf"}));
  EXPECT_EQ(settings.m_strDefaultPath, "/new/path");
  EXPECT_EQ(settings.m_strFontFile, "/new.ttf");
}

}  // namespace
}  // namespace strumlet
