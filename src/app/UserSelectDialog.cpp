// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/UserSelectDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace strumlet {

CUserSelectDialog::CUserSelectDialog(const std::vector<std::string>& users,
                                     std::vector<std::string>& chosen, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), chosen_(chosen) {
  setWindowTitle(tr("Install Strumlet"));
  auto* text = new QLabel(tr("Please select the user(s) that would like to have the Strumlet "
                             "application installed to their Palm on the next HotSync:"),
                          this);
  text->setWordWrap(true);
  list_->setObjectName("list1000");
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text->setBuddy(list_);
  chosen_.clear();
  for (const auto& user : users) {
    // The name's bytes are kept as they came, whatever text they make on screen.
    auto* item = new QListWidgetItem(QString::fromStdString(user), list_);
    item->setData(Qt::UserRole, QByteArray::fromStdString(user));
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("button1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("button2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(list_, 1);
  if (users.empty()) {
    // An empty list and an OK that does nothing leave the user guessing.
    auto* none = new QLabel(tr("There are no Palm users yet. Add one with the command\n"
                               "    strumlet-palm add-user NAME\n"
                               "then choose this command again."),
                            this);
    none->setObjectName("labelNoUsers");
    none->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(none);
    list_->setAccessibleDescription(none->text());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
  }
  layout->addWidget(buttons);
  resize(300, 320);
}

void CUserSelectDialog::accept() {
  chosen_.clear();
  for (int row = 0; row < list_->count(); ++row) {
    const QListWidgetItem* item = list_->item(row);
    if (item->isSelected()) chosen_.push_back(item->data(Qt::UserRole).toByteArray().toStdString());
  }
  QDialog::accept();
}

int DialogUserChooser::ChooseUsers(const std::vector<std::string>& users,
                                   std::vector<std::string>& chosen) {
  CUserSelectDialog dialog(users, chosen, parent_);
  dialog.exec();
  return dialog.EndCode();
}

}  // namespace strumlet
