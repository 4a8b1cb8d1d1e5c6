// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LeftView.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QStandardItemModel>

namespace strumlet {

CLeftView::CLeftView(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("leftView"));
  setModel(new QStandardItemModel(this));
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAccessibleName(tr("Tree pane"));
  UpdateFocusPolicy();
}

void CLeftView::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  UpdateFocusPolicy();
}

void CLeftView::UpdateFocusPolicy() { setFocusPolicy(isOpen() ? Qt::StrongFocus : Qt::NoFocus); }

}  // namespace strumlet
