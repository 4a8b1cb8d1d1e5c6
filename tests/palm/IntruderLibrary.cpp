// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What another local user would put in place of one of our Palm Desktop libraries: once loaded,
// it leaves a file where $STRUMLET_TEST_INTRUDED says, made with the rights of whoever loaded it.

#include <cstdio>
#include <cstdlib>

__attribute__((constructor)) static void LeaveMark() {
  if (const char* mark = std::getenv("STRUMLET_TEST_INTRUDED")) {
    if (std::FILE* file = std::fopen(mark, "w")) std::fclose(file);
  }
}
