// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "strumlet/app/ProfileStore.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/convert/ProcessingSettings.h"

class QDialog;
class QWidget;

namespace strumlet {

class CProcessOptionsDialog;
class CPathSettingsDialog;

// Runs a dialog modally and returns its QDialog::DialogCode. Tests drive the dialog instead.
using DialogRunner = std::function<int(QDialog&)>;

// The Open command up to the point where the path is opened: reads the stored values, runs the
// processing options dialog (a non-empty `proposedPath`, such as a dropped file, stands in the
// path box instead of the stored one), and on OK stores the choices and copies them into
// `settings`, then creates the output folder with its parents. Returns the paths to open (more
// than one when several files were chosen at once, each for a window of its own); none
// when the user cancels (nothing more is stored then). An output folder that cannot be created
// or written gets the "Invalid Destination Folder" message, and the dialog is run again with
// the choices in it (they stay stored).
std::optional<std::vector<std::string>> RunOpenCommand(QWidget* parent, ProfileStore& store,
                                                       ProcessingSettings& settings,
                                                       const std::string& proposedPath = {},
                                                       const DialogRunner& run = {});

// The path settings command: runs the path settings dialog on the stored default path and font
// file and stores both on OK.
void RunPathSettingsCommand(QWidget* parent, ProfileStore& store, ProcessingSettings& settings,
                            const DialogRunner& run = {});

// The values the Open command would propose, copied into `settings` as if its dialog were
// confirmed unchanged, without storing anything: for a path given on the program's command line.
// The caller then creates `settings.m_strOutputPath` with CreateOutputFolder before opening.
void CopyProposedOpenSettings(ProfileStore& store, ProcessingSettings& settings);

// Makes sure `folder` exists, creating it with its parents. A folder that is not there and
// cannot be created, or cannot be written, gets the "Invalid Destination Folder" message and
// false.
bool CreateOutputFolder(const std::string& folder);

// The dialog the Open command shows for `values` (a non-empty `proposedPath` replaces the stored
// path), for callers that run it themselves.
std::unique_ptr<CProcessOptionsDialog> MakeProcessOptionsDialog(QWidget* parent,
                                                                const OpenCommandValues& values,
                                                                const std::string& proposedPath);

// The dialog's choices after OK, as the Open command stores them.
OpenCommandValues ChoicesOf(const CProcessOptionsDialog& dialog);

}  // namespace strumlet
