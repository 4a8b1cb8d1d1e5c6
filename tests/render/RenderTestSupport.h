// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gd.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "TestCommon.h"
#include "strumlet/pdb/ChordRecord.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet::test {

using testing::TempFolder;

// A record with `frets` given high string first (frets[1] is the right-most string), as many
// strings as listed.
ChordRecord MakeChord(const std::string& name, int baseFret, std::initializer_list<int> frets,
                      uint8_t instrumentCode = 0);

// The font the tests draw with: the fontconfig default.
const std::string& TestFont();

// A diagram style in the test font; the tests' usual sizes unless given.
DiagramStyle TestStyle(double nameSize = 20.0, double labelSize = 14.0, bool leftHanded = false);
// The same in another font.
DiagramStyle StyleInFont(const std::string& fontFile, double nameSize = 20.0);

// True when running in CI (CI=true), where a missing font must fail the text and pixel tests
// instead of skipping them.
bool InCi();

// In SetUp or a test body: skips (locally) or fails (in CI) when there is no font to draw with.
#define STRUMLET_REQUIRE_FONT()                                                  \
  do {                                                                           \
    if (::strumlet::test::TestFont().empty()) {                                  \
      if (::strumlet::test::InCi()) FAIL() << "no TrueType font installed (CI)"; \
      GTEST_SKIP() << "no TrueType font installed";                              \
    }                                                                            \
  } while (false)

// True when the pixel is dark (in the image and darker than mid grey).
bool IsDark(const gdImageStruct* image, int x, int y);
// Dark pixels in [x1, x2] x [y1, y2], clipped to the image.
int CountDark(const gdImageStruct* image, int x1, int y1, int x2, int y2);

// The test executable's own path, for running it as a child process.
std::string SelfPath();

}  // namespace strumlet::test
