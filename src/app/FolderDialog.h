// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileDialog>
#include <QString>
#include <optional>
#include <string>

namespace strumlet {

// A chooser for a folder, not a file. It opens in the folder that holds the initial path (the
// path up to its last "/"; a path without "/" is taken whole), shows the caption word on its
// accept button and, followed by " Folder", in its title, and labels its name box
// "Folder name:". Its result is the folder being browsed, or the folder selected in the list
// when one is; a selected file leaves the browsed folder. A folder typed into the name box (a
// full path, or a name below the browsed folder) is taken as well; other typed text is not.
// The process's current directory is never changed.
class CFolderDialog : public QFileDialog {
  Q_OBJECT

 public:
  CFolderDialog(QWidget* parent, const std::string& initialPath, const std::string& captionWord);

  // The folder the dialog starts in, as cut from an initial path.
  static std::string InitialFolder(const std::string& initialPath);

  // The chosen folder: the initial folder until the user browses, the result after OK.
  const std::string& folder() const { return folder_; }

  // Runs the dialog; the chosen folder after OK, none after Cancel.
  std::optional<std::string> Choose();

  // Accepts the browsed or selected folder at once, without looking at the name box.
  void accept() override;

 private:
  std::string CurrentChoice() const;

  std::string folder_;
  bool browsed_ = false;
  // The name box holds what the user typed (not the folder shown there, nor a selected name).
  bool typed_ = false;
};

// Runs a CFolderDialog on `initialPath` with `captionWord`; the chosen folder, none on Cancel.
std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& initialPath,
                                        const std::string& captionWord);

}  // namespace strumlet
