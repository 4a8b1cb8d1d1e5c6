// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include "LockKeys.h"

class QLabel;
class QStatusBar;
class QTimer;

namespace strumlet {

// The CAP, NUM and SCRL panes at the right of a status bar, kept up to date with the keyboard.
class CLockIndicators final : public QObject {
  Q_OBJECT
 public:
  // Adds the three panes to `bar` and starts watching the keyboard.
  explicit CLockIndicators(QStatusBar* bar);

  // Shows `state`; the keyboard is read again on the next tick.
  void Show(const LockKeyState& state);

 private:
  QLabel* caps_;
  QLabel* num_;
  QLabel* scroll_;
  QTimer* poll_;
};

}  // namespace strumlet
