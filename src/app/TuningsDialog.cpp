// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/TuningsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {
namespace {

// The item that lets the user type pitches; its data is empty, a common tuning's is its key.
constexpr int kKeyRole = Qt::UserRole;

QString ItemText(const CommonTuning& common) {
  const QString label =
      QString::fromUtf8(common.label.data(), static_cast<int>(common.label.size()));
  if (common.pitches.empty()) return label;
  return QStringLiteral("%1 (%2)").arg(
      label, QString::fromUtf8(common.pitches.data(), static_cast<int>(common.pitches.size())));
}

QString Pitches(const Tuning& tuning) {
  QStringList names;
  for (const int note : tuning.notes) names << QString::fromStdString(PitchName(note));
  return names.join(' ');
}

}  // namespace

CTuningsDialog::CTuningsDialog(const std::vector<Tuning>& current, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Tunings"));
  auto* form = new QFormLayout;
  for (const Instrument& instrument : Instruments()) {
    Row row;
    row.code = instrument.code;
    row.label = new QLabel(this);
    row.combo = new QComboBox(this);
    row.combo->setObjectName(QStringLiteral("comboTuning%1").arg(instrument.code));
    row.combo->setEditable(true);
    row.combo->setInsertPolicy(QComboBox::NoInsert);
    row.combo->setMinimumContentsLength(32);
    row.label->setBuddy(row.combo);
    for (const CommonTuning& common : CommonTunings(instrument.code)) {
      row.combo->addItem(ItemText(common),
                         QString::fromUtf8(common.key.data(), static_cast<int>(common.key.size())));
    }
    row.combo->addItem(tr("Custom (type a pitch per string)"), QString());
    row.combo->lineEdit()->setPlaceholderText(tr("a pitch per string, lowest first: E2 A2 D3 ..."));
    // The tuning in use: a common one's item, or its pitches in the edit field.
    for (const Tuning& tuning : current) {
      if (tuning.code != instrument.code) continue;
      const int index = tuning.key.empty()
                            ? -1
                            : row.combo->findData(QString::fromStdString(tuning.key), kKeyRole);
      if (index >= 0) {
        row.combo->setCurrentIndex(index);
      } else {
        row.combo->setCurrentIndex(row.combo->count() - 1);
        row.combo->setEditText(Pitches(tuning));
      }
    }
    QComboBox* combo = row.combo;
    connect(row.combo, &QComboBox::activated, this, [combo](int index) {
      if (combo->itemData(index, kKeyRole).toString().isEmpty()) {
        // Custom: an empty field to type the pitches into.
        combo->setEditText(QString());
        combo->lineEdit()->setFocus();
      }
    });
    const std::size_t at = rows_.size();
    connect(row.combo, &QComboBox::currentTextChanged, this, [this, at] { Relabel(rows_[at]); });
    rows_.push_back(row);
    Relabel(row);
    form->addRow(row.label, row.combo);
  }

  auto* note = new QLabel(tr("Pitches run left to right as a diagram shows the strings; the "
                             "exports, the sound and the words for each diagram follow them."),
                          this);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("button1"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("button2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

void CTuningsDialog::Relabel(const Row& row) {
  const Instrument& instrument = InstrumentFor(row.code);
  QString name =
      QString::fromUtf8(instrument.name.data(), static_cast<int>(instrument.name.size()));
  if (instrument.code == 2 || instrument.code == 3) {
    // Unnamed by the database format: called what the tuning chosen says it is.
    const QString key = row.combo->currentData(kKeyRole).toString();
    name = tr("Code %1").arg(instrument.code);
    for (const CommonTuning& common : CommonTunings(row.code)) {
      if (!common.instrument.empty() && row.combo->currentText() == ItemText(common) &&
          key == QString::fromUtf8(common.key.data(), static_cast<int>(common.key.size()))) {
        name = tr("Code %1, %2")
                   .arg(instrument.code)
                   .arg(QString::fromUtf8(common.instrument.data(),
                                          static_cast<int>(common.instrument.size())));
      }
    }
  }
  row.label->setText(tr("%1 (%2 strings):").arg(name).arg(instrument.strings));
}

void CTuningsDialog::accept() {
  std::vector<Tuning> chosen;
  for (const Row& row : rows_) {
    const int index = row.combo->findText(row.combo->currentText());
    const QString key = index >= 0 ? row.combo->itemData(index, kKeyRole).toString() : QString();
    const std::string text = (key.isEmpty() ? row.combo->currentText() : key).toStdString();
    Result<Tuning> tuning = ReadTuning(row.code, text);
    if (!tuning) {
      QMessageBox::warning(this, tr("Tunings"), QString::fromStdString(tuning.error().reason));
      row.combo->setFocus();
      row.combo->lineEdit()->selectAll();
      return;
    }
    chosen.push_back(std::move(*tuning));
  }
  chosen_ = std::move(chosen);
  QDialog::accept();
}

}  // namespace strumlet
