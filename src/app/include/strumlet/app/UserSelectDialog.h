// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "strumlet/palm/PalmInstaller.h"

class QListWidget;

namespace strumlet {

// "Install Strumlet": the Palm users in a sorted list where each click toggles a user, with OK
// and Cancel. The chosen names come back in the list's order. Object names for tests: the list
// is "list1000", the buttons "button1" (OK) and "button2" (Cancel).
class CUserSelectDialog : public QDialog {
  Q_OBJECT

 public:
  // `users` are shown in the order given (the installer hands them over sorted); `chosen` is
  // emptied now and filled on OK.
  CUserSelectDialog(const std::vector<std::string>& users, std::vector<std::string>& chosen,
                    QWidget* parent = nullptr);

  // 1 when the dialog ended with OK, 2 with Cancel (or closed), as the installer expects.
  int EndCode() const { return result() == QDialog::Accepted ? kChoiceOk : kChoiceCancel; }

 public slots:
  void accept() override;

 private:
  QListWidget* list_;
  std::vector<std::string>& chosen_;
};

// The window's UserChooser: runs CUserSelectDialog modally over `parent`.
class DialogUserChooser final : public UserChooser {
 public:
  explicit DialogUserChooser(QWidget* parent = nullptr) : parent_(parent) {}
  int ChooseUsers(const std::vector<std::string>& users, std::vector<std::string>& chosen) override;

 private:
  QWidget* parent_;
};

}  // namespace strumlet
