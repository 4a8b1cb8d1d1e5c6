// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/DiagramLayout.h"

#include <algorithm>
#include <array>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {
namespace {

constexpr std::array<std::string_view, 30> kBaseFretLabels = {
    "bs", " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10", "11", "12", "13", "14",
    "15", "16", "17", "18", "19", "",   "",   "",   "",   "",   "",   "",   "",   "",   ""};

constexpr std::array<std::string_view, 30> kBarreLabels = {
    "c!", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9", "10", "11", "12", "13", "14",
    "15", "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29"};

// The largest image side a signed 16-bit size can report.
constexpr int kMaxSide = 32767;

}  // namespace

std::string_view BaseFretLabel(int baseFret) {
  return baseFret >= 0 && baseFret < static_cast<int>(kBaseFretLabels.size())
             ? kBaseFretLabels[baseFret]
             : std::string_view();
}

std::string_view BarreLabel(int barre) {
  return barre >= 0 && barre < static_cast<int>(kBarreLabels.size()) ? kBarreLabels[barre]
                                                                     : std::string_view();
}

namespace {

// Turns a right-handed layout into the left-handed one. Pixel column x goes to W - 1 - x, so
// the grid is an exact mirror; a text's box of width w at x goes to W - x - w, so the label
// column (Lw wide) and the name land where the mirror puts them, reading left to right.
void MirrorLayout(DiagramLayout& layout, const TextMetrics& metrics) {
  const int w = layout.width;
  auto mirror = [w](int x) { return w - 1 - x; };
  for (StringLine& line : layout.strings) line.x = mirror(line.x);
  for (FretLine& line : layout.frets) {
    const int x1 = mirror(line.x2), x2 = mirror(line.x1);
    line.x1 = x1;
    line.x2 = x2;
  }
  for (StringMark& mark : layout.marks) mark.x = mirror(mark.x);
  for (LabelPlacement& label : layout.labels) label.x = w - label.x - metrics.labelWidth;
  layout.nameX = std::max(w - layout.nameX - metrics.nameWidth, 1);
  layout.leftHanded = true;
}

}  // namespace

DiagramLayout ComputeLayout(const ChordRecord& record, const TextMetrics& metrics,
                            const DiagramStyle& style) {
  constexpr int D = kMarkSize, F = kFretSpacing, S = kStringSpacing;
  DiagramLayout layout;
  const Instrument& instrument = InstrumentFor(record.instrumentCode);
  const int R = instrument.fretsShown;
  const ShortString& shortString = instrument.shortString;
  const bool barre = (record.flags & ChordRecord::kBarre) != 0;
  const bool perStringBarres = (record.flags & ChordRecord::kPerStringBarres) != 0;
  const int b = record.frets[0];
  const int barre0 = record.barres[0];

  // A record never has more strings than its arrays hold.
  const int n =
      std::clamp(static_cast<int>(record.entryCount) - 1, 0, ChordRecord::kMaxEntries - 1);

  int W, H, Q;
  H = (R + 1) * F + metrics.nameHeight + 4;
  Q = metrics.labelWidth + 1;
  // The instrument sets the width, unless the record has more strings than it: then the image
  // grows to the record's grid, so that the lowest strings are not cut off.
  W = Q + S * std::max(instrument.strings, n);
  if (W < metrics.nameWidth) {
    Q += (metrics.nameWidth - W) / 2;
    W = metrics.nameWidth;
  }
  layout.width = std::clamp(W, 1, kMaxSide);
  layout.height = std::clamp(H, 1, kMaxSide);
  layout.rightOffset = Q;

  // Texts. The label column sits Q pixels from the right edge.
  layout.nameX = std::max((W - metrics.nameWidth - Q) / 2, 1);
  layout.nameY = H - metrics.nameHeight / 3 + 1;
  const int labelColumn = W - Q;
  // The barre label always goes into the label column. Placing it at the name's x when there is
  // no base fret would put it inside the grid, where the lines drawn afterwards cross it out.
  const int barreX = labelColumn;
  if (b != 0) {
    if (!barre || barre0 + 1 < b) {
      auto text = BaseFretLabel(b);
      if (!text.empty()) layout.labels.push_back({text, labelColumn, S + metrics.labelHeight});
    }
  }
  if (barre) {
    const int y = S + 2 * metrics.labelHeight + 5;
    if (perStringBarres) {
      // Per-string barres are how a chord leaves a short string out of its barre: no label.
      if (shortString.string == 0) layout.labels.push_back({"c!", barreX, y});
    } else if (barre0 > 9) {
      layout.labels.push_back({"c", barreX, y});
      auto text = BarreLabel(barre0);
      if (!text.empty()) layout.labels.push_back({text, barreX, y + metrics.labelHeight + 5});
    } else {
      auto text = BarreLabel(barre0);
      if (!text.empty()) layout.labels.push_back({text, barreX, y});
    }
  }

  // Grid.
  const int yTop = F;
  const int yBottom = yTop + R * F;
  auto stringX = [&](int i) { return W - Q - D + S / 2 - S * i - 1; };
  // A short string shows only below the fret it starts at; up the neck past it, it is whole.
  const int shortFrom = shortString.firstFret;
  const bool shortShown = shortString.string != 0 && b <= shortFrom;
  for (int i = 0; i < n; ++i) {
    StringLine line{stringX(i), yTop, yBottom};
    if (shortShown && i == shortString.string - 1) {
      const int y1 = yTop + F * (shortFrom + 1 - b);
      line.y1 = y1 < yBottom ? y1 : yBottom;
    }
    layout.strings.push_back(line);
  }
  if (n > 0) {
    const int xLeft = stringX(n - 1);
    const int xRight = stringX(0);
    for (int j = 1; j <= R + 1; ++j) {
      FretLine line{F * j, xLeft, xRight};
      // The frets above the short string's start stop at the next string.
      if (shortShown && !(shortFrom + 1 - j < b && b > 2)) line.x1 = xLeft + S;
      layout.frets.push_back(line);
    }
  }

  // String marks.
  for (int r = 1; r <= n; ++r) {
    const int v = record.frets[r];
    const int x = stringX(r - 1);
    const bool open = v <= 0 || (barre && perStringBarres && v <= record.barres[r]) ||
                      (barre && !perStringBarres && v <= barre0);
    if (open) {
      layout.marks.push_back({StringMark::Kind::kOpen, x, F / 2, 0});
      continue;
    }
    if (v <= 99) {
      const int c = b != 0 ? (v - b + 1) * F : (v - barre0) * F;
      const int glyph =
          (record.flags & ChordRecord::kFingers) ? record.fingers[r] : record.fingers[0];
      if (glyph >= 0 && glyph < kGlyphCount) {
        layout.marks.push_back({StringMark::Kind::kGlyph, x, c + F / 2, glyph});
      }
    } else if (v == 100) {
      layout.marks.push_back({StringMark::Kind::kMuted, x, (F - D) / 2, 0});
    }
  }
  if (style.leftHanded) MirrorLayout(layout, metrics);
  return layout;
}

}  // namespace strumlet
