// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ChildFrame.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "FindBar.h"
#include "LeftView.h"
#include "PageScheme.h"
#include "StrumletViewerView.h"

namespace strumlet {
namespace {

// Tells a screen reader only of the panes the user can see: the tree pane while the splitter
// keeps it closed, and the find bar while it is hidden, are left out.
class ShownPanesAccessible final : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;

  int childCount() const override { return static_cast<int>(Shown().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child == nullptr ? -1 : static_cast<int>(Shown().indexOf(child->object()));
  }

 private:
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QObject* object : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(object);
      if (w != nullptr && !w->isWindow() && !w->isHidden() && w->width() > 0) shown << w;
    }
    return shown;
  }
};

QAccessibleInterface* PaneAccessible(const QString& key, QObject* object) {
  // Asked also of widgets being made or taken down: nothing here may call a virtual function of
  // `object` (qobject_cast would), and the class comes from `key`.
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  const QString name = w->objectName();
  if (key == QLatin1String("QSplitter") && name == QLatin1String("splitter")) {
    return new ShownPanesAccessible(w, QAccessible::Splitter);
  }
  if (key == QLatin1String("QWidget") && name == QLatin1String("pagePane")) {
    return new ShownPanesAccessible(w, QAccessible::Pane);
  }
  // A frame reads as a window to a screen reader; the find bar is a tool bar.
  if (key == QLatin1String(CFindBar::staticMetaObject.className())) {
    return new QAccessibleWidget(w, QAccessible::ToolBar, w->accessibleName());
  }
  return nullptr;
}

}  // namespace

CChildFrame::CChildFrame(CStrumletViewerDoc& document, std::function<void()> closed,
                         QWidget* parent)
    : QMdiSubWindow(parent),
      document_(&document),
      closed_(std::move(closed)),
      splitter_(new QSplitter(Qt::Horizontal)),
      leftView_(new CLeftView(splitter_)),
      htmlView_(new CStrumletViewerView),
      findBar_(new CFindBar(htmlView_)) {
  static const bool factoryInstalled = (QAccessible::installFactory(PaneAccessible), true);
  Q_UNUSED(factoryInstalled);
  setObjectName(QStringLiteral("childFrame"));
  setAttribute(Qt::WA_DeleteOnClose);
  splitter_->setObjectName(QStringLiteral("splitter"));
  splitter_->addWidget(leftView_);
  // The right pane: the page, and under it the find bar while it is open.
  auto* pagePane = new QWidget(splitter_);
  pagePane->setObjectName(QStringLiteral("pagePane"));
  auto* pageLayout = new QVBoxLayout(pagePane);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->setSpacing(0);
  pageLayout->addWidget(htmlView_, 1);
  pageLayout->addWidget(findBar_);
  splitter_->addWidget(pagePane);
  splitter_->setChildrenCollapsible(true);
  splitter_->setStretchFactor(1, 1);
  // The tree starts closed; dragging the bar from the left edge opens it.
  splitter_->setSizes({0, 100});
  setWidget(splitter_);
  setWindowTitle(QString::fromStdString(document.GetTitle()));
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (QWidget* w = now; w != nullptr; w = w->parentWidget()) {
      if (w == leftView_ || w == htmlView_) {
        lastPane_ = w;
        return;
      }
    }
  });
  // Activated by the Window menu, Ctrl+F6 or a click on its frame, a window gives the keyboard
  // to its page (or to the tree pane, when the user opened it and went there last).
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates before, Qt::WindowStates now) {
            if ((now & Qt::WindowActive) && !(before & Qt::WindowActive) && !isMinimized()) {
              QWidget* pane = lastPane_ == leftView_ && leftView_->isOpen()
                                  ? static_cast<QWidget*>(leftView_)
                                  : htmlView_;
              pane->setFocus(Qt::ActiveWindowFocusReason);
            }
          });
}

CChildFrame::~CChildFrame() { NotifyClosed(); }

void CChildFrame::NotifyClosed() {
  if (closed_) {
    // The manager drops the document; nothing here reads it afterwards.
    auto closed = std::move(closed_);
    closed_ = nullptr;
    document_ = nullptr;
    closed();
  }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  if (event->isAccepted()) {
    NotifyClosed();
  }
}

void CChildFrame::Activate() {
  // A minimised window comes back; a maximised one (and the area's maximised mode) stays.
  if (isMinimized()) {
    showNormal();
  }
  if (QMdiArea* area = mdiArea()) {
    area->setActiveSubWindow(this);
  }
  htmlView_->setFocus();
}

void CChildFrame::InitialUpdate() {
  setWindowTitle(QString::fromStdString(document_->GetTitle()));
  for (const auto& [page, words] : document_->PageWords()) {
    SetPageWords(page, words);
  }
  for (const auto& [page, strums] : document_->PageStrums()) {
    SetPageStrums(page, strums);
  }
  const bool instructions = htmlView_->OnInitialUpdate(document_->PagePath);
  if (instructions) {
    showMaximized();
  } else {
    FitToArea();
    show();
  }
  htmlView_->setFocus();
  lastPane_ = htmlView_;
  emit initialUpdateDone();
}

void CChildFrame::Reload() {
  for (const auto& [page, words] : document_->PageWords()) {
    SetPageWords(page, words);
  }
  for (const auto& [page, strums] : document_->PageStrums()) {
    SetPageStrums(page, strums);
  }
  // Images made again keep their names: the browser must not show the ones it holds.
  if (htmlView_->url() == PageSchemeUrl(document_->PagePath)) {
    htmlView_->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
  } else {
    htmlView_->OnInitialUpdate(document_->PagePath);
  }
  Activate();
}

void CChildFrame::FitToArea() {
  // A page wants room: most of the client area, below and right of the window before it.
  QMdiArea* area = mdiArea();
  if (area == nullptr || isMaximized()) {
    return;
  }
  const QSize room = area->viewport()->size();
  resize(std::max(room.width() * 6 / 7, 320), std::max(room.height() * 6 / 7, 240));
}

void CChildFrame::Discard() {
  closed_ = nullptr;
  document_ = nullptr;
  if (QMdiArea* area = mdiArea()) {
    area->removeSubWindow(this);
  }
  deleteLater();
}

QWidget* CChildFrame::activePane() const { return lastPane_ != nullptr ? lastPane_ : htmlView_; }

void CChildFrame::MoveToPane(bool next) {
  // Two panes: next and previous both go to the other one.
  Q_UNUSED(next);
  QWidget* target = activePane() == htmlView_ ? static_cast<QWidget*>(leftView_) : htmlView_;
  if (target == leftView_ && splitter_->sizes().value(0) == 0) {
    // A closed pane cannot take the focus; open it a little so the user sees where it went.
    const int total = splitter_->width();
    splitter_->setSizes({total / 4, total - total / 4});
    leftView_->setFocusPolicy(Qt::StrongFocus);
  }
  target->setFocus(Qt::OtherFocusReason);
  lastPane_ = target;
}

}  // namespace strumlet
