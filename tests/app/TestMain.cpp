// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

// The settings tests write a real store: point it at a throw-away configuration folder before Qt
// reads the environment, so the user's own settings are never touched. The dialog tests run on
// the offscreen platform unless another one is asked for.
int main(int argc, char** argv) {
  std::string config =
      (std::filesystem::temp_directory_path() / "strumlet-app-test-XXXXXX").string();
  if (::mkdtemp(config.data()) == nullptr) {
    return 1;
  }
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  // Nor the user's Palm Desktop users: the dialogs see an empty Palm Desktop.
  ::setenv("STRUMLET_PALM_HOME", (config + "/palm").c_str(), 1);
  ::setenv("JPILOT_HOME", config.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(config, ignored);
  return result;
}
