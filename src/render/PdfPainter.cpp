// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PdfPainter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace strumlet {
namespace {

// The TrueType call takes points at 96 dots per inch; the painter's unit is the pixel.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

// The shapes of the libgd painter's stamps, as the SVG painter draws them too: a 3 x 3 brush
// (a line 3 pixels wide reaching one pixel past its ends), an open circle of radius 6 about a
// quarter thicker than one pixel, a finger disc of the area of the glyph's 121 pixels with its
// digit 7 pixels high in white, and a cross of one-pixel lines from corner pixel to corner
// pixel.
constexpr int kBrushWidth = 3;
constexpr double kCircleRadius = kMarkSize / 2;
constexpr double kCircleStroke = 1.25;
constexpr double kGlyphRadius = 6.2;
constexpr double kDigitHeight = 7.0;
constexpr double kDigitSize = kDigitHeight / 0.73;  // a digit is about 0.73 em high

// The centre of pixel `p`: the libgd painters address whole pixels.
double Centre(int p) { return p + 0.5; }

// The centre of a mark's pixel.
double MarkX(const StringMark& mark) { return Centre(mark.x); }
double MarkY(const StringMark& mark) { return Centre(mark.y); }

}  // namespace

PdfDiagramPainter::PdfDiagramPainter(cairo_font_face_t* face)
    : face_(cairo_font_face_reference(face)) {}

PdfDiagramPainter::~PdfDiagramPainter() { cairo_font_face_destroy(face_); }

void PdfDiagramPainter::Grid(cairo_t* cr, const DiagramLayout& layout) {
  for (const StringLine& s : layout.strings) {
    if (s.y1 == s.y2) {
      const int half = kBrushWidth / 2;
      cairo_rectangle(cr, s.x - half, s.y1 - half, kBrushWidth, kBrushWidth);
      cairo_fill(cr);
    }
  }
  for (const StringLine& s : layout.strings) {
    if (s.y1 == s.y2) continue;
    cairo_move_to(cr, Centre(s.x), Centre(s.y1));
    cairo_line_to(cr, Centre(s.x), Centre(s.y2));
  }
  for (const FretLine& f : layout.frets) {
    cairo_move_to(cr, Centre(f.x1), Centre(f.y));
    cairo_line_to(cr, Centre(f.x2), Centre(f.y));
  }
  cairo_set_line_width(cr, kBrushWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_stroke(cr);
}

void PdfDiagramPainter::Marks(cairo_t* cr, const DiagramLayout& layout) {
  // One path per kind of shape: the open circles stroked, the discs filled, the crosses
  // stroked thin; then the digits in white over the discs.
  for (const StringMark& m : layout.marks) {
    if (m.kind != StringMark::Kind::kOpen) continue;
    cairo_new_sub_path(cr);
    cairo_arc(cr, MarkX(m), MarkY(m), kCircleRadius, 0, 2 * M_PI);
  }
  cairo_set_line_width(cr, kCircleStroke);
  cairo_stroke(cr);
  for (const StringMark& m : layout.marks) {
    if (m.kind != StringMark::Kind::kGlyph) continue;
    cairo_new_sub_path(cr);
    cairo_arc(cr, MarkX(m), MarkY(m), kGlyphRadius, 0, 2 * M_PI);
  }
  cairo_fill(cr);
  for (const StringMark& m : layout.marks) {
    if (m.kind != StringMark::Kind::kMuted) continue;
    // Two one-pixel lines from corner pixel to corner pixel, both end pixels inked.
    const int x1 = m.x - kStringSpacing / 2, y1 = m.y;
    const int x2 = x1 + kMarkSize, y2 = y1 + kMarkSize;
    cairo_move_to(cr, Centre(x1), Centre(y1));
    cairo_line_to(cr, Centre(x2), Centre(y2));
    cairo_move_to(cr, Centre(x2), Centre(y1));
    cairo_line_to(cr, Centre(x1), Centre(y2));
  }
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_stroke(cr);

  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_font_size(cr, kDigitSize);
  for (const StringMark& m : layout.marks) {
    if (m.kind != StringMark::Kind::kGlyph || m.glyph <= 0) continue;
    const char digit[2] = {static_cast<char>('0' + m.glyph), 0};
    const cairo_text_extents_t& extents = DigitExtents(cr, m.glyph);
    cairo_move_to(cr, MarkX(m) - extents.x_bearing - extents.width / 2,
                  MarkY(m) - extents.y_bearing - extents.height / 2);
    cairo_show_text(cr, digit);
  }
}

const cairo_text_extents_t& PdfDiagramPainter::DigitExtents(cairo_t* cr, int digit) {
  if (!digitsMeasured_) {
    for (int d = 0; d < kGlyphCount; ++d) {
      const char text[2] = {static_cast<char>('0' + d), 0};
      cairo_text_extents(cr, text, &digits_[d]);
    }
    digitsMeasured_ = true;
  }
  return digits_[digit];
}

void PdfDiagramPainter::Paint(cairo_t* cr, const DiagramLayout& layout,
                              const PdfDiagramText& text) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_font_face(cr, face_);
  // Texts first, as the libgd painter draws them: the grid and marks go over them.
  if (!text.name.empty()) {
    cairo_set_font_size(cr, text.nameSize * kPixelsPerPoint);
    cairo_move_to(cr, layout.nameX, layout.nameY);
    cairo_show_text(cr, text.name.c_str());
  }
  cairo_set_font_size(cr, text.labelSize * kPixelsPerPoint);
  for (const LabelPlacement& label : layout.labels) {
    const std::string words(label.text);
    cairo_move_to(cr, label.x, label.y);
    cairo_show_text(cr, words.c_str());
  }
  Grid(cr, layout);
  Marks(cr, layout);
  cairo_restore(cr);
}

}  // namespace strumlet
