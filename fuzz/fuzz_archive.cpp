// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// LoadArchivedCollection on arbitrary bytes, in every placement order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ArchiveReader.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static strumlet::SilentMessenger discard;
  static strumlet::ScopedMessenger scoped(discard);
  for (int order : {0, 1, 2, 3}) {
    strumlet::ChordDatabase db;
    strumlet::MemorySource source(std::span<const uint8_t>(data, size));
    try {
      strumlet::LoadArchivedCollection(source, order, db);
    } catch (const strumlet::ArchiveException&) {
      // Damaged archives end here; what was read must still be consistent.
    }
    for (const auto& chord : db.chords) {
      if (chord.entryCount > strumlet::ChordRecord::kMaxEntries) __builtin_trap();
      if (chord.name.size() > strumlet::ChordRecord::kMaxNameLength) __builtin_trap();
      (void)chord.RootNote();
      (void)db.categories.Lookup(chord.category);
    }
  }
  return 0;
}
