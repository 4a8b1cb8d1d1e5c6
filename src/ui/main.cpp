// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumletviewer: the desktop program. Converts Strumlet chord databases into web pages and
// shows each in a window of its own.

#include <sys/resource.h>

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "MainFrame.h"
#include "PageScheme.h"
#include "strumlet/app/DebugTiming.h"
#include "strumlet/app/ProfileStore.h"
#include "strumlet/app/QtMessenger.h"
#include "strumlet/app/StrumletViewerApp.h"
#include "strumlet/app/ViewerCommandLineInfo.h"
#include "strumlet/core/StartDirectory.h"

namespace {

// Desktops often start programs with a soft limit of 1,024 open files under a far higher hard
// limit. The page renderer (started from here, so it inherits the limit) keeps a handle per piece
// of shared memory; the pages are served so as to need few, and this leaves room to spare.
void RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    (void)setrlimit(RLIMIT_NOFILE, &limit);
  }
}

}  // namespace

int main(int argc, char** argv) {
  strumlet::DebugTiming("start");
  // The start directory first: everything relative is found from it.
  strumlet::StartDirectory();

  std::vector<std::string> arguments(argv + 1, argv + argc);
  for (const std::string& argument : arguments) {
    // Answered before any window system is needed.
    if (argument == "--help" || argument == "-h") {
      std::fputs(strumlet::CommandLineUsage().c_str(), stdout);
      return 0;
    }
    if (argument == "--version" || argument == "-v") {
      std::puts("strumletviewer 1.0");
      return 0;
    }
  }

  RaiseOpenFileLimit();
  // The page view's browser hands its pages to screen readers on Linux only when asked to; it
  // then does so only while a screen reader listens. Without it a page is an empty document.
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
    qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
  }
  // The embedded browser needs this before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  strumlet::RegisterPageScheme();
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Quillory Software"));
  QCoreApplication::setApplicationName(QStringLiteral("StrumletViewer"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.strumletviewer.StrumletViewer"));

  strumlet::QtMessenger messenger;
  strumlet::ScopedMessenger useMessenger(messenger);
  strumlet::SettingsFileStore store;
  strumlet::CStrumletViewerApp app(store);

  const std::optional<int> early =
      app.InitInstance(arguments, [](strumlet::CStrumletViewerApp& theApp) {
        return std::unique_ptr<strumlet::MainFrameWindow>(new strumlet::CMainFrame(theApp));
      });
  if (early) {
    return *early;
  }
  QApplication::exec();
  return app.ExitInstance();
}
