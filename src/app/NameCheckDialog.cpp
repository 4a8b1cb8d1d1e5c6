// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/NameCheckDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace strumlet {

CNameCheckDialog::CNameCheckDialog(const std::string& report, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
  setWindowTitle(tr("Check Chord Names"));
  text_->setObjectName(QStringLiteral("textNameCheck"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setPlainText(QString::fromStdString(report));
  text_->setAccessibleName(tr("Chords whose notes are not the chord their name says"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  copy->setObjectName(QStringLiteral("buttonCopy"));
  connect(copy, &QPushButton::clicked, this, &CNameCheckDialog::Copy);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
  resize(640, 360);
}

void CNameCheckDialog::Copy() { QApplication::clipboard()->setText(text_->toPlainText()); }

}  // namespace strumlet
