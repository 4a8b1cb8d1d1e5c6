// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/QtMessenger.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace strumlet {

QtMessenger::QtMessenger(QObject* parent) : QObject(parent) {}

QWidget* DialogParent() {
  // A dialog waiting for its answer keeps its messages over it; else they stand over the main
  // window, never over a window that comes and goes, such as a conversion's progress.
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible()) {
    return modal;
  }
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible() && top->inherits("QMainWindow")) {
      return top;
    }
  }
  return QApplication::activeWindow();
}

void QtMessenger::ShowMessage(const std::string& caption, const std::string& text,
                              MessageIcon icon) {
  const QString qCaption =
      caption.empty() ? QStringLiteral("StrumletViewer") : QString::fromStdString(caption);
  const QString qText = QString::fromStdString(text);
  if (QThread::currentThread() == thread()) {
    ShowHere(qCaption, qText, icon);
    return;
  }
  QMetaObject::invokeMethod(
      this, [this, qCaption, qText, icon] { ShowHere(qCaption, qText, icon); },
      Qt::BlockingQueuedConnection);
}

void QtMessenger::ShowHere(const QString& caption, const QString& text, MessageIcon icon) {
  QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
  switch (icon) {
    case MessageIcon::Information:
      boxIcon = QMessageBox::Information;
      break;
    case MessageIcon::Exclamation:
      boxIcon = QMessageBox::Warning;
      break;
    case MessageIcon::Error:
      boxIcon = QMessageBox::Critical;
      break;
    case MessageIcon::None:
      break;
  }
  QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, DialogParent());
  box.setObjectName(QStringLiteral("messageBox"));
  // Texts name the user's files and folders; a name is never markup.
  box.setTextFormat(Qt::PlainText);
  // A box waiting for the user shows the ordinary pointer, also while a long job has put up the
  // wait cursor.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  box.exec();
  if (busy) {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace strumlet
