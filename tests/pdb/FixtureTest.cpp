// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The description language itself: errors must name their line.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Fixture.h"

namespace strumlet {
namespace {

std::string ErrorOf(const char* text) {
  try {
    fixture::BuildDatabase(text);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "no error";
}

TEST(FixtureDescription, MalformedLinesAreNamed) {
  EXPECT_EQ(ErrorOf("\n\nbogus 1\n"), "line 3: unknown line \"bogus\"");
  EXPECT_EQ(ErrorOf("{define: C frets x 3 2 0 1 0 fingers 1 2}"),
            "line 1: fingers list has 2 values, frets has 6");
  EXPECT_EQ(ErrorOf("barre 2"), "line 1: \"barre\" belongs after a define line");
  EXPECT_EQ(ErrorOf("{define: C frets q}"), "line 1: number expected, found \"q\"");
  EXPECT_EQ(ErrorOf("database \"open"), "line 1: unterminated quoted text");
  EXPECT_EQ(ErrorOf("\ncategory 16 Extra"),
            "line 2: category slot 16 does not exist in a database (0..15)");
  EXPECT_EQ(ErrorOf("{define: C frets 0 # comment\n"), "line 1: missing \"}\"");
}

TEST(FixtureDescription, SharpNamesAreNotComments) {
  auto plain = fixture::BuildDatabase("{define: C# frets x 4 6 6 6 4} # C sharp");
  auto quoted = fixture::BuildDatabase("{define: \"C#\" frets x 4 6 6 6 4}");
  EXPECT_EQ(plain, quoted);
}

}  // namespace
}  // namespace strumlet
