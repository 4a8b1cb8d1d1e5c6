// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The layout and drawing of the chords of a database built from arbitrary bytes: every record
// value the reader lets through reaches ComputeLayout (with text measurements taken from the
// input too) and a drawn, encoded diagram.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramLayout.h"

namespace {

// Diagrams drawn per input: enough to reach every record shape, few enough to keep it fast.
constexpr std::size_t kMaxDiagrams = 4;

int Byte(const uint8_t* data, std::size_t size, std::size_t from_end) {
  return size > from_end ? data[size - 1 - from_end] : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static strumlet::SilentMessenger discard;
  static strumlet::ScopedMessenger scoped(discard);
  static const std::string font = [] {
    const strumlet::Result<void> loaded = strumlet::LoadDiagramAssets();
    if (!loaded) {
      std::fprintf(stderr, "%s\n", strumlet::MissingAssetMessage(loaded.error().path).c_str());
      std::abort();
    }
    return strumlet::DefaultFontFile();
  }();

  strumlet::ChordDatabase db;
  strumlet::MemorySource source(std::span<const uint8_t>(data, size));
  if (strumlet::ParseDatabase(source, strumlet::kSortByPosition, db) != 0) return 0;

  // Measurements the fonts never give (negative, huge) must not break the layout either.
  strumlet::TextMetrics metrics;
  metrics.nameHeight = static_cast<int8_t>(Byte(data, size, 0)) * 9;
  metrics.labelHeight = static_cast<int8_t>(Byte(data, size, 1));
  metrics.labelWidth = static_cast<int8_t>(Byte(data, size, 2));
  metrics.nameWidth = static_cast<int8_t>(Byte(data, size, 3)) * 40;

  strumlet::DiagramStyle style;
  style.fontFile = font;
  std::size_t drawn = 0;
  for (const strumlet::ChordRecord& chord : db.chords) {
    const strumlet::DiagramLayout layout = strumlet::ComputeLayout(chord, metrics, style);
    if (layout.width < 1 || layout.height < 1 || layout.width > 32767 || layout.height > 32767)
      __builtin_trap();
    if (layout.strings.size() >= strumlet::ChordRecord::kMaxEntries) __builtin_trap();
    for (const auto& mark : layout.marks) {
      if (mark.kind == strumlet::StringMark::Kind::kGlyph &&
          (mark.glyph < 0 || mark.glyph >= strumlet::kGlyphCount))
        __builtin_trap();
    }
    if (drawn++ < kMaxDiagrams) {
      style.nameSize = 6.0 + Byte(data, size, 4) % 64;
      strumlet::ChordDiagram diagram(chord, style);
      diagram.Draw();
      if (drawn == 1) (void)diagram.EncodeImage(strumlet::ImageKind::kPng);
    }
  }
  return 0;
}
