#include "strumlet/app/AboutBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "strumlet/app/AppIcon.h"

namespace strumlet {

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
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* texts = new QVBoxLayout;
  texts->addWidget(version);
  texts->addWidget(purpose);
  auto* row = new QHBoxLayout;
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addWidget(buttons);
  box.exec();
}

}  // namespace strumlet
