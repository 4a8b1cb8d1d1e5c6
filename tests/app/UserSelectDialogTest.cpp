// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/UserSelectDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace strumlet {
namespace {

using Names = std::vector<std::string>;

void Click(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

TEST(UserSelectDialog, ClicksToggleAndOkGivesTheChosenInListOrder) {
  Names chosen{"stale"};
  CUserSelectDialog dialog({"ann", "Bob", "Cid"}, chosen);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(dialog.windowTitle(), "Install Strumlet");
  const auto labels = dialog.findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels[0]->text(),
            "Please select the user(s) that would like to have the Strumlet application "
            "installed to their Palm on the next HotSync:");
  dialog.show();
  auto* list = dialog.findChild<QListWidget*>("list1000");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  Click(list, 2);
  Click(list, 0);
  Click(list, 1);
  Click(list, 1);  // a second click takes Bob off again
  QTest::mouseClick(dialog.findChild<QPushButton*>("button1"), Qt::LeftButton);
  EXPECT_EQ(dialog.EndCode(), 1);
  EXPECT_EQ(chosen, (Names{"ann", "Cid"}));
}

TEST(UserSelectDialog, CancelChoosesNobody) {
  Names chosen;
  CUserSelectDialog dialog({"ann", "Bob"}, chosen);
  dialog.show();
  Click(dialog.findChild<QListWidget*>("list1000"), 0);
  QTest::mouseClick(dialog.findChild<QPushButton*>("button2"), Qt::LeftButton);
  EXPECT_EQ(dialog.EndCode(), 2);
  EXPECT_TRUE(chosen.empty());
}

TEST(UserSelectDialog, WithoutUsersSaysHowToAddOneAndOffersNoOk) {
  Names chosen;
  CUserSelectDialog dialog({}, chosen);
  auto* none = dialog.findChild<QLabel*>("labelNoUsers");
  ASSERT_NE(none, nullptr);
  EXPECT_TRUE(none->text().contains("strumlet-palm add-user")) << none->text().toStdString();
  EXPECT_FALSE(dialog.findChild<QPushButton*>("button1")->isEnabled());
  EXPECT_TRUE(dialog.findChild<QPushButton*>("button2")->isEnabled());
}

}  // namespace
}  // namespace strumlet
