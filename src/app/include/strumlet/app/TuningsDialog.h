// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <vector>

#include "strumlet/pdb/Tuning.h"

class QComboBox;
class QLabel;

namespace strumlet {

// Options, Tunings: a tuning per instrument, one of the common ones or pitches typed. OK keeps
// the dialog open, naming the instrument, while a typed tuning does not read.
class CTuningsDialog final : public QDialog {
  Q_OBJECT

 public:
  CTuningsDialog(const std::vector<Tuning>& current, QWidget* parent = nullptr);

  // What OK accepted, a tuning per instrument code.
  const std::vector<Tuning>& Chosen() const { return chosen_; }

  void accept() override;

 private:
  struct Row {
    uint8_t code = 0;
    QLabel* label = nullptr;
    QComboBox* combo = nullptr;
  };
  void Relabel(const Row& row);

  std::vector<Row> rows_;
  std::vector<Tuning> chosen_;
};

}  // namespace strumlet
