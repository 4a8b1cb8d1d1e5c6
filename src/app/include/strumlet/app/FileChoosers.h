// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "strumlet/convert/OutputFormats.h"

namespace strumlet {

// The file filters of the single-database chooser, in the order it offers them.
inline constexpr const char* kPdbFilter = "Palm Database Backup Files  (*.pdb)";
inline constexpr const char* kAllFilesFilter = "All Files (*.*)";

// The chooser behind "Select a single .PDB File...": starts at `startPath` (in the folder of a
// file, which it selects, or in a folder), lists .pdb files first and all files as the second
// choice, adds ".pdb" to a typed name without an extension, and accepts a file name that does
// not exist only in a folder that does.
std::unique_ptr<QFileDialog> MakePdbFileDialog(QWidget* parent, const std::string& startPath);
// Runs that chooser; the chosen file's full path, or PathListText of the files when several
// were chosen; none on Cancel.
std::optional<std::string> ChoosePdbFile(QWidget* parent, const std::string& startPath);

// Several paths as one text for the path box: each in double quotes, a blank between, as the
// file chooser's own name box writes them.
std::string PathListText(const std::vector<std::string>& paths);
// The paths of such a text; a text that is no such list is one path.
std::vector<std::string> PathsOfText(const std::string& text);

// The chooser for the chord font: an existing TrueType file, starting at `currentFile`.
std::unique_ptr<QFileDialog> MakeFontFileDialog(QWidget* parent, const std::string& currentFile);
std::optional<std::string> ChooseFontFile(QWidget* parent, const std::string& currentFile);

// The chooser behind File, Export: proposes `proposedFile`, asks before replacing a file, and
// adds the format's extension (".cho", ".musicxml", ".json") to a typed name without one, so
// that the programs that look for such files by their extension find it.
std::unique_ptr<QFileDialog> MakeExportFileDialog(QWidget* parent, const OutputFormat& format,
                                                  const std::string& proposedFile);
std::optional<std::string> ChooseExportFile(QWidget* parent, const OutputFormat& format,
                                            const std::string& proposedFile);
// The ChordPro one.
std::unique_ptr<QFileDialog> MakeChordProFileDialog(QWidget* parent,
                                                    const std::string& proposedFile);

}  // namespace strumlet
