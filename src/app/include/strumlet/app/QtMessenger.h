// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include "strumlet/core/Messenger.h"

class QWidget;

namespace strumlet {

// Shows the lower layers' messages as modal message boxes. A message from another thread (a
// conversion running in the background) is shown on the thread of this object, and the caller
// waits until the user has closed the box.
class QtMessenger final : public QObject, public Messenger {
  Q_OBJECT
 public:
  explicit QtMessenger(QObject* parent = nullptr);
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;

 private:
  void ShowHere(const QString& caption, const QString& text, MessageIcon icon);
};

// The window a message box or dialog should sit on: the active one, else the main one.
QWidget* DialogParent();

}  // namespace strumlet
