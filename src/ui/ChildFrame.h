// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMdiSubWindow>
#include <functional>

#include "strumlet/app/DocManager.h"

class QSplitter;

namespace strumlet {

class CFindBar;
class CLeftView;
class CStrumletViewerView;

// One document's window: the empty tree pane (closed at first, opened by dragging the splitter)
// beside the page view, with the page's find bar under it.
class CChildFrame final : public QMdiSubWindow, public DocumentWindow {
  Q_OBJECT
 public:
  CChildFrame(CStrumletViewerDoc& document, std::function<void()> closed,
              QWidget* parent = nullptr);
  ~CChildFrame() override;

  void Activate() override;
  void InitialUpdate() override;
  void Discard() override;
  void Reload() override;

  // The document shown; nullptr once the window is closing.
  CStrumletViewerDoc* document() const { return document_; }
  CLeftView* leftView() const { return leftView_; }
  CStrumletViewerView* htmlView() const { return htmlView_; }
  CFindBar* findBar() const { return findBar_; }
  QSplitter* splitter() const { return splitter_; }
  // The pane that has (or last had) the focus, for F6.
  QWidget* activePane() const;
  // F6 and Shift+F6.
  void MoveToPane(bool next);
  // Gives a page's window most of the client area, unless it is maximised.
  void FitToArea();

 signals:
  void initialUpdateDone();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void NotifyClosed();

  CStrumletViewerDoc* document_;
  std::function<void()> closed_;
  QSplitter* splitter_;
  CLeftView* leftView_;
  CStrumletViewerView* htmlView_;
  CFindBar* findBar_;
  QWidget* lastPane_ = nullptr;
};

}  // namespace strumlet
