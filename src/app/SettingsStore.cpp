// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/SettingsStore.h"

#include "strumlet/core/StartDirectory.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

constexpr const char* kJpeg = "JPEG";
constexpr const char* kPng = "PNG";
constexpr const char* kSvg = "SVG";
constexpr const char* kChordPercent = "ChordPercent";
constexpr const char* kBorder = "Border";
constexpr const char* kSort = "Sort";
constexpr const char* kFontFile = "Fontfile";
constexpr const char* kDefaultPath = "DefaultPath";
constexpr const char* kFontSize = "FontSize";
constexpr const char* kOutputPath = "OutputPath";
constexpr const char* kLeftHanded = "LeftHanded";
constexpr const char* kAltText = "AltText";

int ReadInt(ProfileStore& store, const char* name, int defaultValue) {
  return store.GetProfileInt(kSettingsSection, name, defaultValue);
}

std::string ReadString(ProfileStore& store, const char* name, const std::string& defaultValue) {
  return store.GetProfileString(kSettingsSection, name, defaultValue);
}

void WriteInt(ProfileStore& store, const char* name, int value) {
  store.WriteProfileInt(kSettingsSection, name, value);
}

void WriteString(ProfileStore& store, const char* name, const std::string& value) {
  store.WriteProfileString(kSettingsSection, name, value);
}

std::optional<int> ScaleOf(int command) {
  switch (command) {
    case ID_SCALE_25:
      return 25;
    case ID_SCALE_50:
      return 50;
    case ID_SCALE_63:
      return 63;
    case ID_SCALE_75:
      return 75;
    case ID_SCALE_88:
      return 88;
    case ID_SCALE_100:
      return 100;
    case ID_SCALE_200:
      return 200;
    default:
      return std::nullopt;
  }
}

std::optional<int> SortOf(int command) {
  switch (command) {
    case ID_SORT_CATEGORY:
      return 0;
    case ID_SORT_NAME:
      return 1;
    case ID_SORT_POSITION:
      return 2;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string DefaultFontSetting() { return DefaultFontFile(); }

std::string DefaultPathSetting() {
  // Nothing: a proposed home folder took one Enter to convert every database in it.
  return {};
}

std::string DefaultOutputSetting() { return JoinPath(StartDirectory(), "StrumletOutput/"); }

void LoadStartupSettings(ProfileStore& store, ProcessingSettings& settings) {
  // Read as the Open command reads them, so that the Options menu shows what it will propose.
  CopyOpenCommandChoices(ReadOpenCommandValues(store), settings);
  settings.m_bAltText = FlagIsOn(ReadInt(store, kAltText, 0));
}

OpenCommandValues ReadOpenCommandValues(ProfileStore& store) {
  OpenCommandValues values;
  values.jpeg = ReadInt(store, kJpeg, 1);
  values.svg = ReadInt(store, kSvg, 0);
  values.sort = ReadInt(store, kSort, 2);
  values.chordPercent = ReadInt(store, kChordPercent, 100);
  values.fontSize = ReadInt(store, kFontSize, 12);
  values.border = ReadInt(store, kBorder, 0);
  values.leftHanded = ReadInt(store, kLeftHanded, 0);
  values.fontFile = ReadString(store, kFontFile, DefaultFontSetting());
  values.outputPath = ReadString(store, kOutputPath, DefaultOutputSetting());
  values.defaultPath = ReadString(store, kDefaultPath, DefaultPathSetting());
  return values;
}

void StoreOpenCommandChoices(ProfileStore& store, const OpenCommandValues& choices,
                             ProcessingSettings& settings) {
  const bool jpeg = FlagIsOn(choices.jpeg);
  const bool border = FlagIsOn(choices.border);
  WriteString(store, kDefaultPath, choices.defaultPath);
  WriteString(store, kOutputPath, choices.outputPath);
  WriteString(store, kFontFile, choices.fontFile);
  WriteInt(store, kJpeg, jpeg ? 1 : 0);
  WriteInt(store, kSvg, !jpeg && FlagIsOn(choices.svg) ? 1 : 0);
  WriteInt(store, kSort, choices.sort);
  WriteInt(store, kChordPercent, choices.chordPercent);
  WriteInt(store, kFontSize, choices.fontSize);
  WriteInt(store, kBorder, border ? 1 : 0);
  WriteInt(store, kLeftHanded, FlagIsOn(choices.leftHanded) ? 1 : 0);
  CopyOpenCommandChoices(choices, settings);
}

void CopyOpenCommandChoices(const OpenCommandValues& choices, ProcessingSettings& settings) {
  const bool jpeg = FlagIsOn(choices.jpeg);
  const bool border = FlagIsOn(choices.border);
  const bool svg = !jpeg && FlagIsOn(choices.svg);
  settings.m_bJpeg = jpeg;
  settings.m_bPng = !jpeg && !svg;
  settings.m_bSvg = svg;
  settings.m_nChordPercent = choices.chordPercent;
  settings.m_bBorder = border;
  settings.m_bLeftHanded = FlagIsOn(choices.leftHanded);
  settings.m_nSort = choices.sort;
  settings.m_strFontFile = choices.fontFile;
  settings.m_nFontSize = choices.fontSize;
  settings.m_strDefaultPath = choices.defaultPath;
  settings.m_strOutputPath = choices.outputPath;
}

void StorePathSettings(ProfileStore& store, const std::string& defaultPath,
                       const std::string& fontFile, ProcessingSettings& settings) {
  settings.m_strDefaultPath = defaultPath;
  WriteString(store, kDefaultPath, defaultPath);
  settings.m_strFontFile = fontFile;
  WriteString(store, kFontFile, fontFile);
}

bool RunSettingCommand(int command, ProfileStore& store, ProcessingSettings& settings) {
  switch (command) {
    case ID_TOGGLE_PNG:
    case ID_TOGGLE_JPEG:
    case ID_TOGGLE_SVG:
      // One image type at a time, stored the way the Open command reads it back ("PNG" too,
      // for the versions that read it).
      settings.m_bJpeg = command == ID_TOGGLE_JPEG;
      settings.m_bPng = command == ID_TOGGLE_PNG;
      settings.m_bSvg = command == ID_TOGGLE_SVG;
      WriteInt(store, kJpeg, settings.m_bJpeg ? 1 : 0);
      WriteInt(store, kPng, settings.m_bPng ? 1 : 0);
      WriteInt(store, kSvg, settings.m_bSvg ? 1 : 0);
      return true;
    case ID_TOGGLE_BORDER:
      settings.m_bBorder = !settings.m_bBorder;
      WriteInt(store, kBorder, settings.m_bBorder ? 1 : 0);
      return true;
    case ID_TOGGLE_LEFT_HANDED:
      settings.m_bLeftHanded = !settings.m_bLeftHanded;
      WriteInt(store, kLeftHanded, settings.m_bLeftHanded ? 1 : 0);
      return true;
    case ID_TOGGLE_ALT_TEXT:
      settings.m_bAltText = !settings.m_bAltText;
      WriteInt(store, kAltText, settings.m_bAltText ? 1 : 0);
      return true;
    default:
      break;
  }
  if (const std::optional<int> scale = ScaleOf(command)) {
    settings.m_nChordPercent = *scale;
    WriteInt(store, kChordPercent, *scale);
    return true;
  }
  if (const std::optional<int> sort = SortOf(command)) {
    settings.m_nSort = *sort;
    WriteInt(store, kSort, *sort);
    return true;
  }
  return false;
}

std::optional<bool> SettingCommandChecked(int command, const ProcessingSettings& settings) {
  switch (command) {
    case ID_TOGGLE_PNG:
      return settings.m_bPng;
    case ID_TOGGLE_JPEG:
      return settings.m_bJpeg;
    case ID_TOGGLE_SVG:
      return settings.m_bSvg;
    case ID_TOGGLE_BORDER:
      return settings.m_bBorder;
    case ID_TOGGLE_LEFT_HANDED:
      return settings.m_bLeftHanded;
    case ID_TOGGLE_ALT_TEXT:
      return settings.m_bAltText;
    default:
      break;
  }
  if (const std::optional<int> scale = ScaleOf(command)) {
    return settings.m_nChordPercent == *scale;
  }
  if (const std::optional<int> sort = SortOf(command)) {
    return settings.m_nSort == *sort;
  }
  return std::nullopt;
}

}  // namespace strumlet
