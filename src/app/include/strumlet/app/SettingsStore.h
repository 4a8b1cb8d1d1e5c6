// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "strumlet/app/ProfileStore.h"
#include "strumlet/app/SettingCommands.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/pdb/Tuning.h"

namespace strumlet {

inline constexpr const char* kSettingsSection = "Settings";

// The values the Open command proposes in its dialog, and the choices it stores on OK.
struct OpenCommandValues {
  int jpeg = 1;  // 1 JPEG images, otherwise PNG or SVG
  int svg = 0;   // 1 SVG images, unless JPEG
  int sort = 2;
  int chordPercent = 100;
  int fontSize = 12;
  int border = 0;      // 1 frames the images
  int leftHanded = 0;  // 1 draws left-handed diagrams
  int modernPage = 0;  // 1 writes the pages for today's browsers
  std::string fontFile;
  std::string outputPath;
  std::string defaultPath;
};

// A stored flag is on only when it is exactly 1.
inline bool FlagIsOn(int stored) { return stored == 1; }

// The font file proposed when none is stored.
std::string DefaultFontSetting();
// The file or folder proposed when none is stored: none (the Open dialog waits for one).
std::string DefaultPathSetting();
// The output folder proposed when none is stored: the start directory + "/StrumletOutput/".
std::string DefaultOutputSetting();

// Start-up: fills `settings` from the store with the values the Open command would propose
// (exactly one image type), the alt-text flag and whether clicked diagrams play (on when not
// stored).
void LoadStartupSettings(ProfileStore& store, ProcessingSettings& settings);

// The Open command's dialog values, read from the store each time.
OpenCommandValues ReadOpenCommandValues(ProfileStore& store);

// The Open command's OK: stores the choices, then makes them the processing settings.
void StoreOpenCommandChoices(ProfileStore& store, const OpenCommandValues& choices,
                             ProcessingSettings& settings);

// The choices made the processing settings, without storing them (exactly one image type on:
// JPEG when `jpeg` is on, else SVG when `svg` is on, else PNG).
void CopyOpenCommandChoices(const OpenCommandValues& choices, ProcessingSettings& settings);

// The path settings dialog's OK.
void StorePathSettings(ProfileStore& store, const std::string& defaultPath,
                       const std::string& fontFile, ProcessingSettings& settings);

// Where a single-setting command stands in the Options menu: each section is a block of its
// own, and every section but the flags is one choice of several (a group of radio items).
enum class SettingSection { ImageType, Flag, Scale, Sort };

constexpr bool SectionIsOneChoice(SettingSection section) {
  return section != SettingSection::Flag;
}

// One single-setting command of the Options menu: its menu item, the processing option it
// changes and the value it stores at once. A flag turns over; a number is set to `value` and is
// checked while it holds it; an image type turns on and the other types of its section off.
struct SettingToggle {
  int id;
  SettingSection section;
  const char* text;  // untranslated: the window translates the menu text and the tip
  const char* tip;
  const char* key;  // the stored value's name in kSettingsSection
  bool ProcessingSettings::*flag = nullptr;
  int ProcessingSettings::*number = nullptr;
  int value = 0;
};

// Every single-setting command, in the order of the Options menu.
std::span<const SettingToggle> SettingToggles();

// Runs one single-setting command; false for an identifier that is not one of them
// (ID_PATH_SETTINGS runs a dialog and is not handled here).
bool RunSettingCommand(int command, ProfileStore& store, ProcessingSettings& settings);

// Whether the command's menu item shows a check mark; none for commands without a rule.
// The commands are never disabled.
std::optional<bool> SettingCommandChecked(int command, const ProcessingSettings& settings);

// The instruments' tunings as the store keeps them, one value per code ("Tuning2": a common
// tuning's key or the pitches typed). A code without a value, or with one that no longer reads,
// has its usual tuning.
std::vector<Tuning> ReadTunings(ProfileStore& store);
void StoreTunings(ProfileStore& store, std::span<const Tuning> tunings);

}  // namespace strumlet
