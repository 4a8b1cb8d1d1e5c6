// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <iterator>

#include "strumlet/app/SettingCommands.h"

namespace strumlet {

// The window's own commands by their resource identifiers; each QAction is named "command" + id,
// the Options menu's setting commands included. Only the setting commands reach the application
// by number; the window's own run through named actions, and their numbers only name them.
enum WindowCommand : int {
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_CLOSE = 57602,
  ID_FILE_SAVE = 57603,
  ID_FILE_PRINT_SETUP = 57606,
  ID_FILE_PRINT = 57607,
  ID_EDIT_COPY = 57634,
  ID_EDIT_CUT = 57635,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_UNDO = 57643,
  ID_WINDOW_CASCADE = 57650,
  ID_WINDOW_TILE_HORZ = 57651,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_NEXT_PANE = 57680,
  ID_PREV_PANE = 57681,
  ID_INSTALL_CONDUIT = 32772,
  ID_REMOVE_CONDUIT = 32782,
  ID_INSTALL_PALM_APP = 32787,
  // Our own from here on.
  ID_EXPORT_CHORDPRO = 32790,
  ID_EDIT_FIND = 32791,
  ID_EDIT_FIND_NEXT = 32792,
  ID_EDIT_FIND_PREVIOUS = 32793,
  ID_VIEW_ZOOM_IN = 32794,
  ID_VIEW_ZOOM_OUT = 32795,
  ID_VIEW_ZOOM_ACTUAL = 32796,
  ID_EXPORT_MUSICXML = 32797,
  ID_EXPORT_JSON = 32798,
  // The Export commands of further output formats follow, one each.
  ID_EXPORT_FURTHER = 32799,
  ID_TUNINGS = 32840,
  ID_CHECK_NAMES = 32841,
};

// The command of the `listed`th Export menu entry (in the output format table's order): the
// first three keep the numbers they always had.
constexpr int ExportCommandId(std::size_t listed) {
  constexpr int kFirst[] = {ID_EXPORT_CHORDPRO, ID_EXPORT_MUSICXML, ID_EXPORT_JSON};
  return listed < std::size(kFirst)
             ? kFirst[listed]
             : ID_EXPORT_FURTHER + static_cast<int>(listed - std::size(kFirst));
}

}  // namespace strumlet
