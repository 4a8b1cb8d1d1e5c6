// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTreeView>

namespace strumlet {

// The left pane of a document window: a tree that stays empty. Printing from it gives a blank
// page.
class CLeftView final : public QTreeView {
  Q_OBJECT
 public:
  explicit CLeftView(QWidget* parent = nullptr);
};

}  // namespace strumlet
