// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTreeView>

namespace strumlet {

// The left pane of a document window: a tree that stays empty. While the splitter keeps it
// closed it takes no focus, so that Tab and a window's activation never land where nothing shows.
class CLeftView final : public QTreeView {
  Q_OBJECT
 public:
  explicit CLeftView(QWidget* parent = nullptr);

  // True while it has a width on screen.
  bool isOpen() const { return !isHidden() && width() > 0; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateFocusPolicy();
};

}  // namespace strumlet
