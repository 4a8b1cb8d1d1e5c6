// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "strumlet/pdb/ChordRecord.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {

// Fixed metrics of every diagram, in pixels.
inline constexpr int kMarkSize = 13;       // D: open circle and muted cross
inline constexpr int kFretSpacing = 14;    // F: vertical distance of fret lines
inline constexpr int kStringSpacing = 14;  // S: horizontal distance of strings
inline constexpr int kGlyphSize = 14;      // finger glyphs are pasted as 14 x 14 squares
inline constexpr int kGlyphCount = 6;      // glyphs 0 to 5

// The label tables; empty for values they do not cover.
std::string_view BaseFretLabel(int baseFret);
std::string_view BarreLabel(int barre);

// Measurements of the texts at the diagram's sizes (bounding-box width and height in pixels).
struct TextMetrics {
  int nameHeight = 0;   // Nh: "WyjpT" at the name size
  int labelHeight = 0;  // Lh: "10" at the label size
  int labelWidth = 0;   // Lw: "10" at the label size
  int nameWidth = 0;    // Nw: the chord name at the name size
};

struct LabelPlacement {
  std::string_view text;
  int x = 0;
  int y = 0;  // baseline
};

struct StringLine {
  int x = 0;
  int y1 = 0;
  int y2 = 0;  // y1 == y2 draws a single point
};

struct FretLine {
  int y = 0;
  int x1 = 0;
  int x2 = 0;
};

struct StringMark {
  enum class Kind { kOpen, kGlyph, kMuted };
  Kind kind = Kind::kOpen;
  int x = 0;      // string x; the centre of a circle or glyph
  int y = 0;      // centre y of a circle or glyph; top of a cross
  int glyph = 0;  // kGlyph: 0 to 5
};

// Everything Draw needs, computed from the record and the text metrics alone.
struct DiagramLayout {
  int width = 0;        // W
  int height = 0;       // H
  int rightOffset = 0;  // Q: from the right edge to the label column
  int nameX = 0;
  int nameY = 0;
  std::vector<LabelPlacement> labels;  // label-size texts, in drawing order
  std::vector<StringLine> strings;     // index 0 is the right-most string
  std::vector<FretLine> frets;         // top to bottom
  std::vector<StringMark> marks;       // in string order 1..n
  bool leftHanded = false;             // drawn as a left-handed player sees the neck
};

// Lays a diagram out for the strings and frets shown of the record's instrument. Values
// outside the tables give no label or glyph; entry counts outside 2..13 are clamped to what the
// arrays hold. Width and height are at least 1.
//
// Of the style only the hand counts here; the sizes and the font are in the metrics. Left-handed,
// the neck is seen from the other side: the grid, its lines and the string marks are mirrored
// (the highest-pitched string left-most) and the label column moves to the left of the grid.
// Texts are placed, never mirrored, and each mark keeps its own string.
DiagramLayout ComputeLayout(const ChordRecord& record, const TextMetrics& metrics,
                            const DiagramStyle& style);

}  // namespace strumlet
