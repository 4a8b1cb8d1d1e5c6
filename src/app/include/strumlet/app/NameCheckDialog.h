// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace strumlet {

// Tools, Check Chord Names: what the check of a database found, to read and to copy.
class CNameCheckDialog final : public QDialog {
  Q_OBJECT

 public:
  CNameCheckDialog(const std::string& report, QWidget* parent = nullptr);

  // Puts the whole report on the clipboard.
  void Copy();

 private:
  QPlainTextEdit* text_;
};

}  // namespace strumlet
