// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace strumlet {

// The Options menu's commands that change one processing option and store it at once, and its
// path settings command, by their resource identifiers. The window's own commands are numbered
// beside them in the window layer.
enum SettingCommand : int {
  ID_TOGGLE_PNG = 32771,
  ID_TOGGLE_BORDER = 32773,
  ID_SCALE_100 = 32774,
  ID_SCALE_88 = 32775,
  ID_SCALE_75 = 32776,
  ID_SCALE_63 = 32777,
  ID_SCALE_50 = 32778,
  ID_SCALE_25 = 32779,
  ID_TOGGLE_JPEG = 32780,
  ID_SCALE_200 = 32781,
  ID_PATH_SETTINGS = 32783,
  ID_SORT_CATEGORY = 32784,
  ID_SORT_POSITION = 32785,
  ID_SORT_NAME = 32786,
  ID_TOGGLE_SVG = 32788,
  ID_TOGGLE_LEFT_HANDED = 32810,
  ID_TOGGLE_ALT_TEXT = 32811,
  ID_TOGGLE_MODERN_PAGE = 32815,
  ID_TOGGLE_PLAY_SOUND = 32830,
};

}  // namespace strumlet
