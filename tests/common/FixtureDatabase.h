// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet::testing {

// The database `text` describes (in the fixture writer's words), read in `sortOrder` with its
// messages unheard; a database that does not read fails the test.
inline ChordDatabase ReadFixtureDatabase(const std::string& text, int sortOrder = kSortByPosition) {
  const auto bytes = fixture::BuildDatabase(text);
  MemorySource source(bytes);
  SilentMessenger silent;
  ScopedMessenger scoped(silent);
  ChordDatabase db;
  EXPECT_EQ(ParseDatabase(source, sortOrder, db), 0);
  return db;
}

}  // namespace strumlet::testing
