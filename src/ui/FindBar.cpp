// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FindBar.h"

#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "PageScheme.h"

namespace strumlet {
namespace {

QToolButton* NewButton(QWidget* parent, const QString& name, const QString& accessibleName,
                       const QString& toolTip, const QIcon& icon) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAccessibleName(accessibleName);
  button->setToolTip(toolTip);
  button->setIcon(icon);
  button->setAutoRaise(true);
  // Reached with Tab from the field, as well as by mouse.
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

CFindBar::CFindBar(QWebEngineView* view, QWidget* parent)
    : QFrame(parent), view_(view), field_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("findBar"));
  setAccessibleName(tr("Find bar"));
  setFrameShape(QFrame::StyledPanel);
  QStyle* s = style();

  auto* caption = new QLabel(tr("Find:"), this);
  caption->setBuddy(field_);
  field_->setObjectName(QStringLiteral("findField"));
  field_->setAccessibleName(tr("Find in page"));
  field_->setPlaceholderText(tr("Find in page"));
  field_->setClearButtonEnabled(true);
  field_->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
  field_->installEventFilter(this);

  previous_ = NewButton(
      this, QStringLiteral("findPrevious"), tr("Previous match"), tr("Previous match (Shift+F3)"),
      QIcon::fromTheme(QStringLiteral("go-up"), s->standardIcon(QStyle::SP_ArrowUp)));
  next_ =
      NewButton(this, QStringLiteral("findNext"), tr("Next match"), tr("Next match (F3)"),
                QIcon::fromTheme(QStringLiteral("go-down"), s->standardIcon(QStyle::SP_ArrowDown)));
  close_ = NewButton(this, QStringLiteral("findClose"), tr("Close find bar"),
                     tr("Close the find bar (Escape)"),
                     QIcon::fromTheme(QStringLiteral("window-close"),
                                      s->standardIcon(QStyle::SP_TitleBarCloseButton)));

  // Without a name of its own the label is read out by what it says.
  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("findResult"));
  result_->setAccessibleDescription(tr("Matches found in the page"));
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->addWidget(caption);
  layout->addWidget(field_);
  layout->addWidget(previous_);
  layout->addWidget(next_);
  layout->addSpacing(6);
  layout->addWidget(result_);
  layout->addStretch(1);
  layout->addWidget(close_);
  setTabOrder(field_, previous_);
  setTabOrder(previous_, next_);
  setTabOrder(next_, close_);

  connect(field_, &QLineEdit::textEdited, this, [this] { Find({}); });
  connect(previous_, &QToolButton::clicked, this, &CFindBar::FindPrevious);
  connect(next_, &QToolButton::clicked, this, &CFindBar::FindNext);
  connect(close_, &QToolButton::clicked, this, &CFindBar::Close);
  // A new page starts without a selection or highlight: the open bar finds its text there.
  connect(view_, &QWebEngineView::loadFinished, this, [this] {
    if (isVisible() && !field_->text().isEmpty()) {
      Find({});
    }
  });
  hide();
}

void CFindBar::Open() {
  const bool wasOpen = isVisible();
  ShowWithFocus();
  if (!wasOpen && !field_->text().isEmpty()) {
    Find({});
  }
}

void CFindBar::FindNext() {
  if (!isVisible()) {
    ShowWithFocus();
  }
  Find({});
}

void CFindBar::FindPrevious() {
  if (!isVisible()) {
    ShowWithFocus();
  }
  Find(QWebEnginePage::FindBackward);
}

void CFindBar::ShowWithFocus() {
  show();
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

void CFindBar::Close() {
  ++search_;
  view_->findText(QString());
  ShowResult(-1, 0);
  MarkDiagram(QString(), 0);
  view_->setFocus(Qt::OtherFocusReason);
  hide();
}

void CFindBar::Find(QWebEnginePage::FindFlags flags) {
  const int search = ++search_;
  const QString text = field_->text();
  if (text.isEmpty()) {
    view_->findText(QString());
    ShowResult(-1, 0);
    MarkDiagram(QString(), 0);
    return;
  }
  // The same text again goes on from the selected match; a changed text starts over.
  QPointer<CFindBar> self(this);
  view_->findText(text, flags, [self, search, text](const QWebEngineFindTextResult& result) {
    if (self && self->search_ == search) {
      self->ShowResult(result.numberOfMatches(), result.activeMatch());
      self->MarkDiagram(text, result.numberOfMatches() > 0 ? result.activeMatch() : 0);
    }
  });
}

void CFindBar::MarkDiagram(const QString& text, int active) {
  // The browser highlights a match in a diagram's words, which take no room beside it: the
  // diagram itself gets an outline and is scrolled into view. The page's search is not open to
  // scripts, so the same search of the page's text (window.find, which moves the selection)
  // is run to the active match, in the view's own script world; the page on disk is unchanged.
  const QString quoted =
      QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
  view_->page()->runJavaScript(
      QStringLiteral(R"((() => {
  const [text] = %1, active = %2, marked = 'data-strumlet-found';
  for (const old of document.querySelectorAll('img[' + marked + ']')) {
    old.removeAttribute(marked);
    old.style.outline = old.style.outlineOffset = '';
  }
  if (active < 1 || !text) return '';
  const selection = getSelection();
  selection.removeAllRanges();
  selection.collapse(document.body, 0);
  for (let k = 0; k < active; k++) if (!window.find(text, false, false, false)) return '';
  const node = selection.anchorNode;
  selection.removeAllRanges();
  const words = node && (node.nodeType === 1 ? node : node.parentElement)?.closest('.%3');
  const image = words && words.previousElementSibling;
  if (!image || image.tagName !== 'IMG') return '';
  image.setAttribute(marked, '');
  image.style.outline = '3px solid Highlight';
  image.style.outlineOffset = '2px';
  image.scrollIntoView({block: 'nearest', inline: 'nearest'});
  return image.getAttribute('src') || image.getAttribute('%4') || '';
})())")
          .arg(quoted, QString::number(active), QLatin1String(kFindWordsClass),
               QLatin1String(kDeferredSourceAttribute)),
      QWebEngineScript::ApplicationWorld, [self = QPointer<CFindBar>(this)](const QVariant& v) {
        if (self) emit self->diagramMarked(v.toString());
      });
}

void CFindBar::ShowResult(int matches, int active) {
  const bool notFound = matches == 0;
  if (matches < 0) {
    result_->clear();
  } else if (notFound) {
    result_->setText(tr("Not found"));
  } else {
    result_->setText(tr("%1 of %2").arg(active).arg(matches));
  }
  if (notFound) {
    // Tinted towards red from the colours the field inherits, so its text stays readable in a
    // light or a dark theme.
    QPalette tinted;
    const QColor base = palette().color(QPalette::Base);
    tinted.setColor(QPalette::Base, QColor((base.red() * 7 + 255 * 3) / 10, base.green() * 7 / 10,
                                           base.blue() * 7 / 10));
    field_->setPalette(tinted);
  } else {
    // Back to the colours the field inherits.
    field_->setPalette(QPalette());
  }
  field_->setProperty("notFound", notFound);
}

bool CFindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (key->modifiers() & Qt::ShiftModifier) {
        FindPrevious();
      } else {
        FindNext();
      }
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

void CFindBar::keyPressEvent(QKeyEvent* event) {
  // Escape reaches the bar from the field and the buttons, which do not use it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Close();
    return;
  }
  QFrame::keyPressEvent(event);
}

}  // namespace strumlet
