// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The instrument table: every layer indexes it by code and reads a row's tuning per string.
#include <gtest/gtest.h>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {
namespace {

TEST(Instrument, EachRowIsFoundByItsCodeAndHoldsTogether) {
  for (const Instrument& row : Instruments()) {
    SCOPED_TRACE(static_cast<int>(row.code));
    EXPECT_EQ(&InstrumentFor(row.code), &row);
    // An exporter reads one open note per string, or knows none.
    EXPECT_TRUE(row.tuning.empty() || static_cast<int>(row.tuning.size()) == row.strings);
    EXPECT_EQ(row.tuning.empty(), row.name.empty());
    EXPECT_GE(row.shortString.string, 0);
    EXPECT_LE(row.shortString.string, row.strings);
    EXPECT_EQ(row.shortString.string == 0, row.shortString.firstFret == 0);
  }
  // Codes past the table are guitars, as a record without a code is.
  EXPECT_EQ(InstrumentFor(255).code, kGuitarCode);
  EXPECT_EQ(InstrumentFor(5).name, "Guitar");
  EXPECT_EQ(InstrumentFor(kBanjoCode).shortString.firstFret, 5);
}

}  // namespace
}  // namespace strumlet
