// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/SettingsStore.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "strumlet/core/StartDirectory.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/pdb/Instrument.h"
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
constexpr const char* kTuning = "Tuning";  // and the instrument code
constexpr const char* kPlaySound = "PlaySound";
constexpr const char* kModernPage = "ModernPage";

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

// The rows' shapes. A flag turns over; the image types are one choice of several flags; a
// scale or an order is one number of several.
constexpr SettingToggle Flag(int id, const char* text, const char* tip, const char* key,
                             bool ProcessingSettings::*flag) {
  return {id, SettingSection::Flag, text, tip, key, flag, nullptr, 0};
}

constexpr SettingToggle ImageType(int id, const char* text, const char* tip, const char* key,
                                  bool ProcessingSettings::*flag) {
  return {id, SettingSection::ImageType, text, tip, key, flag, nullptr, 0};
}

constexpr SettingToggle Scale(int id, int percent, const char* text, const char* tip) {
  return {id,
          SettingSection::Scale,
          text,
          tip,
          kChordPercent,
          nullptr,
          &ProcessingSettings::m_nChordPercent,
          percent};
}

constexpr SettingToggle Sort(int id, int order, const char* text, const char* tip) {
  return {id, SettingSection::Sort, text, tip, kSort, nullptr, &ProcessingSettings::m_nSort, order};
}

constexpr SettingToggle kToggles[] = {
    ImageType(ID_TOGGLE_PNG, "&PNG Images", "Write the chord images as PNG files", kPng,
              &ProcessingSettings::m_bPng),
    ImageType(ID_TOGGLE_JPEG, "&JPEG Images", "Write the chord images as JPEG files", kJpeg,
              &ProcessingSettings::m_bJpeg),
    ImageType(ID_TOGGLE_SVG, "&SVG Images",
              "Write the chord images as SVG files, sharp at every size", kSvg,
              &ProcessingSettings::m_bSvg),
    Flag(ID_TOGGLE_BORDER, "&Frame Images", "Draw a frame around each chord image", kBorder,
         &ProcessingSettings::m_bBorder),
    Flag(ID_TOGGLE_LEFT_HANDED, "&Left-Handed Diagrams",
         "Draw the diagrams as a left-handed player sees the neck", kLeftHanded,
         &ProcessingSettings::m_bLeftHanded),
    Flag(ID_TOGGLE_ALT_TEXT, "&Describe diagrams for screen readers",
         "Give every diagram on the pages a description in words", kAltText,
         &ProcessingSettings::m_bAltText),
    Flag(ID_TOGGLE_MODERN_PAGE, "Pages for Today's &Browsers",
         "Write HTML5 pages that fit phones, follow dark mode and print cleanly", kModernPage,
         &ProcessingSettings::m_bModernPage),
    Flag(ID_TOGGLE_PLAY_SOUND, "Play Chords on &Click",
         "Play a chord, strummed, when its diagram is clicked", kPlaySound,
         &ProcessingSettings::m_bPlaySound),
    Scale(ID_SCALE_25, 25, "Scale &25%", "Show the chord images at 25 percent"),
    Scale(ID_SCALE_50, 50, "Scale &50%", "Show the chord images at 50 percent"),
    Scale(ID_SCALE_63, 63, "Scale &63%", "Show the chord images at 63 percent"),
    Scale(ID_SCALE_75, 75, "Scale &75%", "Show the chord images at 75 percent"),
    Scale(ID_SCALE_88, 88, "Scale &88%", "Show the chord images at 88 percent"),
    Scale(ID_SCALE_100, 100, "Scale &100%", "Show the chord images at full size"),
    Scale(ID_SCALE_200, 200, "Scale 2&00%", "Show the chord images at double size"),
    Sort(ID_SORT_CATEGORY, 0, "Sort by &Category", "Order the chords by category"),
    Sort(ID_SORT_NAME, 1, "Sort by &Name", "Order the chords by name"),
    Sort(ID_SORT_POSITION, 2, "Sort by P&osition",
         "Keep the chords in their order on the handheld"),
};

// A row the rules cannot run, or a second row for one command, is a fault of the table; the
// window shows a section's rows together, so they must stand together.
constexpr bool TableHolds() {
  const std::size_t rows = std::size(kToggles);
  for (std::size_t i = 0; i < rows; ++i) {
    const SettingToggle& row = kToggles[i];
    const bool number = row.number != nullptr;
    if (number == (row.flag != nullptr) || (number && !SectionIsOneChoice(row.section))) {
      return false;
    }
    for (std::size_t j = i + 1; j < rows; ++j) {
      if (kToggles[j].id == row.id ||
          (kToggles[j].section == row.section && kToggles[j - 1].section != row.section)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(TableHolds());

const SettingToggle* FindToggle(int command) {
  const auto row =
      std::find_if(std::begin(kToggles), std::end(kToggles),
                   [command](const SettingToggle& toggle) { return toggle.id == command; });
  return row == std::end(kToggles) ? nullptr : row;
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
  // On until turned off.
  settings.m_bPlaySound = FlagIsOn(ReadInt(store, kPlaySound, 1));
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
  values.modernPage = ReadInt(store, kModernPage, 0);
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
  WriteInt(store, kModernPage, FlagIsOn(choices.modernPage) ? 1 : 0);
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
  settings.m_bModernPage = FlagIsOn(choices.modernPage);
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

std::span<const SettingToggle> SettingToggles() { return kToggles; }

bool RunSettingCommand(int command, ProfileStore& store, ProcessingSettings& settings) {
  const SettingToggle* toggle = FindToggle(command);
  if (toggle == nullptr) {
    return false;
  }
  if (toggle->number != nullptr) {
    settings.*toggle->number = toggle->value;
    WriteInt(store, toggle->key, toggle->value);
  } else if (!SectionIsOneChoice(toggle->section)) {
    bool& flag = settings.*toggle->flag;
    flag = !flag;
    WriteInt(store, toggle->key, flag ? 1 : 0);
  } else {
    // One flag of several: every one of them is stored, so that the Open command reads back the
    // one chosen ("PNG" too, for the versions that read it), in the order of their names as they
    // have always been written.
    std::vector<const SettingToggle*> choices;
    for (const SettingToggle& row : kToggles) {
      if (row.section == toggle->section) {
        settings.*row.flag = &row == toggle;
        choices.push_back(&row);
      }
    }
    std::sort(choices.begin(), choices.end(), [](const SettingToggle* a, const SettingToggle* b) {
      return std::string_view(a->key) < std::string_view(b->key);
    });
    for (const SettingToggle* choice : choices) {
      WriteInt(store, choice->key, settings.*choice->flag ? 1 : 0);
    }
  }
  return true;
}

std::optional<bool> SettingCommandChecked(int command, const ProcessingSettings& settings) {
  const SettingToggle* toggle = FindToggle(command);
  if (toggle == nullptr) {
    return std::nullopt;
  }
  if (toggle->number != nullptr) {
    return settings.*toggle->number == toggle->value;
  }
  return settings.*toggle->flag;
}

std::vector<Tuning> ReadTunings(ProfileStore& store) {
  std::vector<Tuning> tunings;
  for (const Instrument& row : Instruments()) {
    const std::string key = kTuning + std::to_string(row.code);
    const std::string stored = ReadString(store, key.c_str(), "");
    if (stored.empty()) continue;
    if (Result<Tuning> tuning = ReadTuning(row.code, stored)) tunings.push_back(std::move(*tuning));
  }
  return tunings;
}

void StoreTunings(ProfileStore& store, std::span<const Tuning> tunings) {
  for (const Tuning& tuning : tunings) {
    const std::string key = kTuning + std::to_string(tuning.code);
    WriteString(store, key.c_str(), TuningText(tuning));
  }
}

}  // namespace strumlet
