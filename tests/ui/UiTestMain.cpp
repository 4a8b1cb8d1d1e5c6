// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>

#include "PageScheme.h"

int main(int argc, char** argv) {
  if (::geteuid() == 0) {
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  }
  // Also when CTest lists the tests, without the environment it runs them with.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  strumlet::RegisterPageScheme();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
