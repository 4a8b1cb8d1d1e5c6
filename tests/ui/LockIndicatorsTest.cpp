// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The status bar's lock-key panes: their order, what a screen reader hears of them, and that a
// pane's word is hidden while its lock is off.

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

#include "LockIndicators.h"

namespace strumlet {
namespace {

struct Pane {
  QString text;
  QString accessibleName;
  bool readable;
};

Pane Read(QStatusBar& bar, const char* name) {
  auto* label = bar.findChild<QLabel*>(QString::fromLatin1(name));
  if (label == nullptr) {
    return {QStringLiteral("<missing>"), {}, false};
  }
  label->ensurePolished();
  // Readable when the word is drawn in another colour than the pane's background.
  const QPalette palette = label->palette();
  return {label->text(), label->accessibleName(),
          palette.color(label->foregroundRole()) != palette.color(label->backgroundRole())};
}

TEST(LockIndicators, AScreenReaderHearsEachLocksState) {
  QStatusBar bar;
  auto* indicators = new CLockIndicators(&bar);

  indicators->Show({.caps = true, .num = false, .scroll = true});
  EXPECT_EQ(Read(bar, "indicatorCaps").text, "CAP");
  EXPECT_EQ(Read(bar, "indicatorNum").text, "NUM");
  EXPECT_EQ(Read(bar, "indicatorScrl").text, "SCRL");
  EXPECT_EQ(Read(bar, "indicatorCaps").accessibleName, "CAP on");
  EXPECT_EQ(Read(bar, "indicatorNum").accessibleName, "NUM off");
  EXPECT_EQ(Read(bar, "indicatorScrl").accessibleName, "SCRL on");

  indicators->Show({.caps = false, .num = true, .scroll = false});
  EXPECT_EQ(Read(bar, "indicatorCaps").accessibleName, "CAP off");
  EXPECT_EQ(Read(bar, "indicatorNum").accessibleName, "NUM on");
  EXPECT_EQ(Read(bar, "indicatorScrl").accessibleName, "SCRL off");
}

TEST(LockIndicators, TheWordOfALockThatIsOffIsHidden) {
  QStatusBar bar;
  auto* indicators = new CLockIndicators(&bar);
  indicators->Show({});
  EXPECT_FALSE(Read(bar, "indicatorCaps").readable);
  EXPECT_FALSE(Read(bar, "indicatorNum").readable);
  EXPECT_FALSE(Read(bar, "indicatorScrl").readable);
}

// The style sheet of an earlier "off" must not decide the colour of "on".
TEST(LockIndicators, ALockSwitchedOnShowsItsWordAgain) {
  QStatusBar bar;
  auto* indicators = new CLockIndicators(&bar);
  indicators->Show({});
  indicators->Show({.caps = true, .num = true, .scroll = true});
  EXPECT_TRUE(Read(bar, "indicatorCaps").readable);
  EXPECT_TRUE(Read(bar, "indicatorNum").readable);
  EXPECT_TRUE(Read(bar, "indicatorScrl").readable);
}

TEST(LockIndicators, ThePanesSitAtTheRightInTheirUsualOrder) {
  QStatusBar bar;
  bar.showMessage(QStringLiteral("Ready"));
  new CLockIndicators(&bar);
  bar.resize(600, 24);
  bar.show();
  const auto left = [&bar](const char* name) {
    return bar.findChild<QLabel*>(QString::fromLatin1(name))->geometry().left();
  };
  EXPECT_LT(left("indicatorCaps"), left("indicatorNum"));
  EXPECT_LT(left("indicatorNum"), left("indicatorScrl"));
  EXPECT_GT(left("indicatorCaps"), bar.width() / 2);
}

}  // namespace
}  // namespace strumlet
