// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/AboutBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "strumlet/app/AppIcon.h"

namespace strumlet {

QUrl LicenceTextUrl(const QString& systemCopy) {
  if (QFileInfo(systemCopy).isFile()) {
    return QUrl::fromLocalFile(systemCopy);
  }
  return QUrl(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"));
}

void ShowAboutBox(QWidget* parent) {
  QDialog box(parent);
  box.setObjectName(QStringLiteral("aboutBox"));
  box.setWindowTitle(QCoreApplication::translate("CAboutBox", "About StrumletViewer"));
  auto* picture = new QLabel(&box);
  picture->setPixmap(ApplicationIcon().pixmap(48, 48));
  picture->setAccessibleName(QCoreApplication::translate("CAboutBox", "StrumletViewer"));
  auto* version =
      new QLabel(QCoreApplication::translate("CAboutBox", "StrumletViewer Version 1.0"), &box);
  auto* purpose =
      new QLabel(QCoreApplication::translate(
                     "CAboutBox", "For viewing chords in a Palm OS Strumlet backup database."),
                 &box);
  auto* licence = new QLabel(
      QCoreApplication::translate(
          "CAboutBox",
          "Copyright 2026 The StrumletViewer developers.\nFree software under the GNU General "
          "Public License, version 3 or any later version. It comes with no warranty."),
      &box);
  licence->setObjectName(QStringLiteral("licence"));
  licence->setWordWrap(true);
  // The text's location is shown as well as linked, so it can be read where no browser or file
  // viewer opens the link. The link is reached with Tab and opened with Enter.
  const QUrl url = LicenceTextUrl();
  const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
  auto* where = new QLabel(
      QCoreApplication::translate("CAboutBox", "Read the licence: %1")
          .arg(QStringLiteral("<a href=\"%1\">%2</a>")
                   .arg(QString::fromUtf8(url.toEncoded()).toHtmlEscaped(), shown.toHtmlEscaped())),
      &box);
  where->setObjectName(QStringLiteral("licenceText"));
  where->setTextFormat(Qt::RichText);
  where->setTextInteractionFlags(Qt::TextBrowserInteraction);
  where->setOpenExternalLinks(true);
  where->setAccessibleName(QCoreApplication::translate("CAboutBox", "Read the licence"));
  where->setAccessibleDescription(shown);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* texts = new QVBoxLayout;
  texts->addWidget(version);
  texts->addWidget(purpose);
  texts->addWidget(licence);
  texts->addWidget(where);
  auto* row = new QHBoxLayout;
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addWidget(buttons);
  // OK keeps the focus, so Enter still closes the box; Tab reaches the link.
  buttons->button(QDialogButtonBox::Ok)->setFocus();
  box.exec();
}

}  // namespace strumlet
