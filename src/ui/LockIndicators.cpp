// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LockIndicators.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace strumlet {
namespace {

// The keyboard sends no event when a lock changes while another program has the focus.
constexpr int kPollMs = 250;

QLabel* AddPane(QStatusBar* bar, const QString& name, const QString& text) {
  auto* label = new QLabel(text, bar);
  label->setObjectName(name);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 8);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  bar->addPermanentWidget(label);
  return label;
}

void ShowLock(QLabel* label, bool on) {
  // As on other desktops: the indicator's text shows only while its lock is on. The colour of
  // "off" comes from the status bar: the label's own palette already holds the last style.
  label->setStyleSheet(
      on ? QString()
         : QStringLiteral("color: %1")
               .arg(label->parentWidget()->palette().color(QPalette::Window).name()));
  label->setAccessibleName(label->text() +
                           (on ? CLockIndicators::tr(" on") : CLockIndicators::tr(" off")));
}

}  // namespace

CLockIndicators::CLockIndicators(QStatusBar* bar)
    : QObject(bar),
      caps_(AddPane(bar, QStringLiteral("indicatorCaps"), tr("CAP"))),
      num_(AddPane(bar, QStringLiteral("indicatorNum"), tr("NUM"))),
      scroll_(AddPane(bar, QStringLiteral("indicatorScrl"), tr("SCRL"))),
      poll_(new QTimer(this)) {
  connect(poll_, &QTimer::timeout, this, [this] { Show(ReadLockKeys()); });
  poll_->start(kPollMs);
  Show(ReadLockKeys());
}

void CLockIndicators::Show(const LockKeyState& state) {
  ShowLock(caps_, state.caps);
  ShowLock(num_, state.num);
  ShowLock(scroll_, state.scroll);
}

}  // namespace strumlet
