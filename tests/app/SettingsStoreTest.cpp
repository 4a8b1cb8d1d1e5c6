// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QSettings>
#include <map>
#include <type_traits>
#include <vector>

#include "RecordingStore.h"
#include "strumlet/app/PageZoom.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

using testing::RecordingStore;

TEST(SettingsStore, StartUpHoldsWhatTheOpenCommandProposes) {
  RecordingStore store;
  ProcessingSettings settings;
  LoadStartupSettings(store, settings);
  // The Options menu shows these: one image type, and the Open dialog's scale.
  EXPECT_TRUE(settings.m_bJpeg);
  EXPECT_FALSE(settings.m_bPng);
  EXPECT_FALSE(settings.m_bSvg);
  EXPECT_EQ(settings.m_nChordPercent, 100);
  EXPECT_EQ(settings.m_nSort, 2);
  EXPECT_FALSE(settings.m_bBorder);
  EXPECT_EQ(settings.m_strFontFile, DefaultFontFile());
  EXPECT_EQ(settings.m_strDefaultPath, "");
  EXPECT_EQ(settings.m_nFontSize, 12);
  EXPECT_EQ(settings.m_strOutputPath, DefaultOutputSetting());
  // Settings files from before left-handed diagrams and alt texts draw as they always did.
  EXPECT_FALSE(settings.m_bLeftHanded);
  EXPECT_FALSE(settings.m_bAltText);
  // A clicked diagram plays until the user says otherwise.
  EXPECT_TRUE(settings.m_bPlaySound);
  EXPECT_TRUE(store.writes.empty());
}

TEST(SettingsStore, FlagsAreOnOnlyWhenExactlyOneAndOneImageTypeIsOn) {
  RecordingStore store;
  store.ints = {{"Settings/JPEG", 0}, {"Settings/PNG", 0}, {"Settings/Border", 2}};
  ProcessingSettings settings;
  LoadStartupSettings(store, settings);
  EXPECT_FALSE(settings.m_bJpeg);
  EXPECT_TRUE(settings.m_bPng);  // as the Open command proposes it
  EXPECT_FALSE(settings.m_bBorder);
  EXPECT_TRUE(store.writes.empty());  // the store keeps 0 and 0

  store.ints = {{"Settings/JPEG", 2}, {"Settings/PNG", 1}, {"Settings/Border", 1}};
  LoadStartupSettings(store, settings);
  EXPECT_FALSE(settings.m_bJpeg);
  EXPECT_TRUE(settings.m_bPng);
  EXPECT_TRUE(settings.m_bBorder);

  store.ints = {{"Settings/JPEG", -1}, {"Settings/PNG", 1}};
  LoadStartupSettings(store, settings);
  EXPECT_FALSE(settings.m_bJpeg);

  // SVG alone is an image type: JPEG does not stand in for it.
  store.ints = {{"Settings/JPEG", 0}, {"Settings/PNG", 0}, {"Settings/SVG", 1}};
  LoadStartupSettings(store, settings);
  EXPECT_FALSE(settings.m_bJpeg);
  EXPECT_TRUE(settings.m_bSvg);
  store.ints = {{"Settings/JPEG", 0}, {"Settings/PNG", 0}, {"Settings/SVG", 2}};
  LoadStartupSettings(store, settings);
  EXPECT_TRUE(settings.m_bPng);
  EXPECT_FALSE(settings.m_bSvg);
}

TEST(SettingsStore, OutOfRangeValuesPassUnchanged) {
  RecordingStore store;
  store.ints = {{"Settings/ChordPercent", 900}, {"Settings/Sort", 7}, {"Settings/FontSize", 99}};
  ProcessingSettings settings;
  LoadStartupSettings(store, settings);
  EXPECT_EQ(settings.m_nChordPercent, 900);
  EXPECT_EQ(settings.m_nSort, 7);
  EXPECT_EQ(ReadOpenCommandValues(store).fontSize, 99);
}

TEST(SettingsStore, OpenCommandProposesItsOwnDefaults) {
  RecordingStore store;
  const OpenCommandValues values = ReadOpenCommandValues(store);
  EXPECT_EQ(values.jpeg, 1);
  EXPECT_EQ(values.svg, 0);
  EXPECT_EQ(values.sort, 2);
  EXPECT_EQ(values.chordPercent, 100);
  EXPECT_EQ(values.fontSize, 12);
  EXPECT_EQ(values.border, 0);
  EXPECT_EQ(values.fontFile, DefaultFontFile());
  EXPECT_EQ(values.outputPath, StartDirectory().native() + "/StrumletOutput/");
  EXPECT_EQ(values.defaultPath, "");  // nothing to convert until the user names it
  EXPECT_EQ(store.reads, (std::vector<std::string>{"JPEG", "SVG", "Sort", "ChordPercent",
                                                   "FontSize", "Border", "LeftHanded", "ModernPage",
                                                   "Fontfile", "OutputPath", "DefaultPath"}));
}

TEST(SettingsStore, OpenCommandReadsTheStoreNotTheMemory) {
  RecordingStore store;
  ProcessingSettings settings;
  LoadStartupSettings(store, settings);
  RunSettingCommand(ID_TOGGLE_PNG, store, settings);
  RunSettingCommand(ID_SCALE_50, store, settings);
  const OpenCommandValues values = ReadOpenCommandValues(store);
  EXPECT_EQ(values.chordPercent, 50);
  EXPECT_EQ(values.jpeg, 0);
  EXPECT_EQ(values.svg, 0);
}

TEST(SettingsStore, ConfirmedOpenWritesInOrderAndSetsExactlyOneFormat) {
  RecordingStore store;
  OpenCommandValues choices;
  choices.defaultPath = "/music/chords";
  choices.outputPath = "/tmp/pages/";
  choices.fontFile = "/fonts/serif.ttf";
  choices.jpeg = 0;
  choices.sort = 1;
  choices.chordPercent = 150;
  choices.fontSize = 24;
  choices.border = 2;  // only exactly 1 frames
  ProcessingSettings settings;
  settings.m_bJpeg = settings.m_bPng = true;
  StoreOpenCommandChoices(store, choices, settings);
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"DefaultPath=/music/chords", "OutputPath=/tmp/pages/",
                                      "Fontfile=/fonts/serif.ttf", "JPEG=0", "SVG=0", "Sort=1",
                                      "ChordPercent=150", "FontSize=24", "Border=0", "LeftHanded=0",
                                      "ModernPage=0"}));
  EXPECT_FALSE(settings.m_bJpeg);
  EXPECT_TRUE(settings.m_bPng);
  EXPECT_FALSE(settings.m_bSvg);
  EXPECT_FALSE(settings.m_bBorder);
  EXPECT_EQ(settings.m_nSort, 1);
  EXPECT_EQ(settings.m_nChordPercent, 150);
  EXPECT_EQ(settings.m_nFontSize, 24);
  EXPECT_EQ(settings.m_strOutputPath, "/tmp/pages/");
  EXPECT_EQ(settings.m_strDefaultPath, "/music/chords");
  EXPECT_EQ(settings.m_strFontFile, "/fonts/serif.ttf");

  // The SVG button; the JPEG button wins over a stray SVG choice.
  choices.svg = 1;
  store.writes.clear();
  StoreOpenCommandChoices(store, choices, settings);
  EXPECT_EQ(store.writes[3] + " " + store.writes[4], "JPEG=0 SVG=1");
  EXPECT_TRUE(!settings.m_bJpeg && !settings.m_bPng && settings.m_bSvg);
  choices.jpeg = 1;
  store.writes.clear();
  StoreOpenCommandChoices(store, choices, settings);
  EXPECT_EQ(store.writes[3] + " " + store.writes[4], "JPEG=1 SVG=0");
  EXPECT_TRUE(settings.m_bJpeg && !settings.m_bPng && !settings.m_bSvg);

  // After the dialog stored 150, no scale command is checked.
  for (int command : {ID_SCALE_25, ID_SCALE_50, ID_SCALE_63, ID_SCALE_75, ID_SCALE_88, ID_SCALE_100,
                      ID_SCALE_200}) {
    EXPECT_EQ(SettingCommandChecked(command, settings), false) << command;
  }
}

TEST(SettingsStore, TogglesFlipThenWriteAndKeepTheirCheckMark) {
  RecordingStore store;
  ProcessingSettings settings;
  settings.m_bJpeg = true;
  // The image types are one choice: each turns the others off, as the Open command reads them.
  EXPECT_TRUE(RunSettingCommand(32788, store, settings));  // ID_TOGGLE_SVG
  EXPECT_EQ(store.writes, (std::vector<std::string>{"JPEG=0", "PNG=0", "SVG=1"}));
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_JPEG, settings), false);
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_SVG, settings), true);
  EXPECT_TRUE(RunSettingCommand(32771, store, settings));  // ID_TOGGLE_PNG
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_PNG, settings), true);
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_SVG, settings), false);
  EXPECT_TRUE(RunSettingCommand(32780, store, settings));  // ID_TOGGLE_JPEG
  EXPECT_EQ(ReadOpenCommandValues(store).jpeg, 1);
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_PNG, settings), false);

  RunSettingCommand(32773, store, settings);  // ID_TOGGLE_BORDER
  EXPECT_EQ(store.writes.back(), "Border=1");
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_BORDER, settings), true);

  RunSettingCommand(ID_TOGGLE_LEFT_HANDED, store, settings);
  RunSettingCommand(ID_TOGGLE_ALT_TEXT, store, settings);
  EXPECT_EQ(store.writes[store.writes.size() - 2], "LeftHanded=1");
  EXPECT_EQ(store.writes.back(), "AltText=1");
  EXPECT_TRUE(settings.m_bLeftHanded && settings.m_bAltText);
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_ALT_TEXT, settings), true);

  // The page style is stored under a name of its own, read back at start-up and by the Open
  // command, and leaves the classic pages the default.
  EXPECT_FALSE(settings.m_bModernPage);
  RunSettingCommand(ID_TOGGLE_MODERN_PAGE, store, settings);
  EXPECT_EQ(store.writes.back(), "ModernPage=1");
  EXPECT_EQ(ReadOpenCommandValues(store).modernPage, 1);
  ProcessingSettings restarted;
  LoadStartupSettings(store, restarted);
  EXPECT_TRUE(restarted.m_bModernPage);
  EXPECT_EQ(SettingCommandChecked(ID_TOGGLE_MODERN_PAGE, restarted), true);
}

TEST(SettingsStore, ScaleAndSortCommandsByTheirIdentifierValues) {
  RecordingStore store;
  ProcessingSettings settings;
  const std::vector<std::pair<int, int>> scales = {
      {32779, 25}, {32778, 50}, {32777, 63}, {32776, 75}, {32775, 88}, {32774, 100}, {32781, 200}};
  for (const auto& [command, percent] : scales) {
    ASSERT_TRUE(RunSettingCommand(command, store, settings));
    EXPECT_EQ(settings.m_nChordPercent, percent);
    EXPECT_EQ(store.writes.back(), "ChordPercent=" + std::to_string(percent));
    for (const auto& [other, otherPercent] : scales) {
      EXPECT_EQ(SettingCommandChecked(other, settings), other == command) << other;
    }
  }
  const std::vector<std::pair<int, int>> sorts = {{32784, 0}, {32786, 1}, {32785, 2}};
  for (const auto& [command, sort] : sorts) {
    ASSERT_TRUE(RunSettingCommand(command, store, settings));
    EXPECT_EQ(settings.m_nSort, sort);
    EXPECT_EQ(store.writes.back(), "Sort=" + std::to_string(sort));
    for (const auto& [other, otherSort] : sorts) {
      EXPECT_EQ(SettingCommandChecked(other, settings), other == command) << other;
    }
  }
  const std::size_t written = store.writes.size();
  EXPECT_FALSE(RunSettingCommand(ID_PATH_SETTINGS, store, settings));
  EXPECT_FALSE(RunSettingCommand(12345, store, settings));
  EXPECT_EQ(store.writes.size(), written);
  EXPECT_EQ(SettingCommandChecked(ID_PATH_SETTINGS, settings), std::nullopt);
}

TEST(SettingsStore, EveryToggleRowIsWhatTheNextStartReadsBack) {
  // A row whose stored name or option the start-up does not read back would lose the choice.
  for (const SettingToggle& row : SettingToggles()) {
    RecordingStore store;
    ProcessingSettings settings;
    LoadStartupSettings(store, settings);
    const std::optional<bool> before = SettingCommandChecked(row.id, settings);
    ASSERT_TRUE(RunSettingCommand(row.id, store, settings)) << row.id;
    // A flag turns over (playing clicked chords starts on); any other row is the one chosen.
    EXPECT_EQ(SettingCommandChecked(row.id, settings),
              SectionIsOneChoice(row.section) || !before.value_or(false))
        << row.id;
    ProcessingSettings restarted;
    LoadStartupSettings(store, restarted);
    EXPECT_EQ(restarted, settings) << row.id;
  }
}

TEST(SettingsStore, PathSettingsWriteDefaultPathThenFont) {
  RecordingStore store;
  ProcessingSettings settings;
  StorePathSettings(store, "/data/x.pdb", "/fonts/a.ttf", settings);
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"DefaultPath=/data/x.pdb", "Fontfile=/fonts/a.ttf"}));
  EXPECT_EQ(settings.m_strDefaultPath, "/data/x.pdb");
  EXPECT_EQ(settings.m_strFontFile, "/fonts/a.ttf");
}

TEST(SettingsFileStore, KeepsValuesUnderTheCompanyAndApplicationAcrossInstances) {
  {
    SettingsFileStore store;
    ProcessingSettings settings;
    OpenCommandValues choices = ReadOpenCommandValues(store);
    choices.chordPercent = 63;
    choices.defaultPath = "/songs/My Chords.pdb";
    StoreOpenCommandChoices(store, choices, settings);
  }
  SettingsFileStore again;
  EXPECT_EQ(again.GetProfileInt("Settings", "ChordPercent", 0), 63);
  EXPECT_EQ(again.GetProfileString("Settings", "DefaultPath", ""), "/songs/My Chords.pdb");
  EXPECT_EQ(again.GetProfileInt("Settings", "Missing", 17), 17);
  EXPECT_EQ(again.GetProfileString("Settings", "Missing", "dflt"), "dflt");

  QSettings raw(QStringLiteral("Quillory Software"), QStringLiteral("StrumletViewer"));
  EXPECT_TRUE(raw.fileName().startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))))
      << raw.fileName().toStdString();
  EXPECT_EQ(raw.value("Settings/ChordPercent").toInt(), 63);

  // An integer value that is not a number gives the caller's default.
  raw.setValue("Settings/Sort", "two");
  raw.sync();
  SettingsFileStore third;
  EXPECT_EQ(third.GetProfileInt("Settings", "Sort", 2), 2);
  ProcessingSettings settings;
  LoadStartupSettings(third, settings);
  EXPECT_EQ(settings.m_nSort, 2);
  EXPECT_EQ(settings.m_nChordPercent, 63);
}

TEST(PageZoom, ReadsBackWhatWasStoredAndActualSizeForAnythingElse) {
  SettingsFileStore store;
  EXPECT_EQ(ReadPageZoom(store), 100);
  StorePageZoom(store, 175);
  EXPECT_EQ(SettingsFileStore().GetProfileInt("Settings", "PageZoom", 0), 175);
  EXPECT_EQ(ReadPageZoom(store), 175);
  StorePageZoom(store, 9000);
  EXPECT_EQ(ReadPageZoom(store), 500);

  QSettings raw(QStringLiteral("Quillory Software"), QStringLiteral("StrumletViewer"));
  for (const char* stored : {"big", "", "150%", "24", "501", "-100", "99999999999"}) {
    raw.setValue("Settings/PageZoom", stored);
    raw.sync();
    SettingsFileStore again;
    EXPECT_EQ(ReadPageZoom(again), 100) << stored;
  }
  raw.remove("Settings/PageZoom");
}

TEST(SettingsFileStore, CannotBeCopiedSoItsStateIsNeverFreedTwice) {
  EXPECT_FALSE(std::is_copy_constructible_v<SettingsFileStore>);
  EXPECT_FALSE(std::is_copy_assignable_v<SettingsFileStore>);
}

}  // namespace
}  // namespace strumlet
