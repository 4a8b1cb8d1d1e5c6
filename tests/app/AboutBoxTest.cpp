// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/AboutBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace strumlet {
namespace {

TEST(AboutBox, TheLicenceIsReadFromTheSystemsCopyElseFromTheWeb) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString copy = dir.filePath(QStringLiteral("GPL-3"));
  const QUrl web(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"));
  EXPECT_EQ(LicenceTextUrl(copy), web);
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("GPL-3")));
  EXPECT_EQ(LicenceTextUrl(copy), web) << "a folder is no licence text";
  ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("GPL-3")));
  QFile file(copy);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(LicenceTextUrl(copy), QUrl::fromLocalFile(copy));
}

// What a user of a screen reader or of the keyboard alone meets: the licence named, a link to
// its text that Tab reaches, and Enter closing the box.
TEST(AboutBox, NamesTheLicenceAndLinksItsTextForKeyboardAndScreenReader) {
  QString licence, link, linkName;
  Qt::TextInteractionFlags flags;
  bool everyLabelSaysSomething = true;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    // Closes the box whatever happens below, so a fault fails the test instead of hanging it.
    QTimer::singleShot(5000, box, &QDialog::reject);
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("licence"))) licence = label->text();
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("licenceText"))) {
      link = label->text();
      linkName = label->accessibleName();
      flags = label->textInteractionFlags();
    }
    for (auto* label : box->findChildren<QLabel*>()) {
      if (label->text().isEmpty() && label->accessibleName().isEmpty()) {
        everyLabelSaysSomething = false;
      }
    }
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box,
                    Qt::Key_Return);
  });
  QElapsedTimer timer;
  timer.start();
  ShowAboutBox(nullptr);
  EXPECT_LT(timer.elapsed(), 4000) << "Enter did not close the box";
  EXPECT_TRUE(
      licence.contains(QStringLiteral("GNU General Public License, version 3 or any "
                                      "later version")))
      << licence.toStdString();
  EXPECT_TRUE(link.contains(
      QStringLiteral("href=\"%1\"").arg(QString::fromUtf8(LicenceTextUrl().toEncoded()))))
      << link.toStdString();
  EXPECT_FALSE(linkName.isEmpty());
  EXPECT_TRUE(flags.testFlag(Qt::LinksAccessibleByKeyboard));
  EXPECT_TRUE(everyLabelSaysSomething);
}

}  // namespace
}  // namespace strumlet
