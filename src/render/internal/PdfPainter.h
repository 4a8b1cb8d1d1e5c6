// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cairo.h>

#include <string>

#include "strumlet/render/DiagramLayout.h"

namespace strumlet {

// What the PDF painter writes beside the layout's own lines and marks.
struct PdfDiagramText {
  std::string name;        // the chord name, UTF-8; empty draws none
  double nameSize = 20.0;  // points, as the TrueType call takes them
  double labelSize = 7.0;
};

// Draws diagrams on a cairo context (a PDF surface's), from the layout the libgd and SVG
// painters draw from, at the same pixel coordinates: the caller's user space is the diagram's
// pixels. The texts are real text in the context's font face, so that a reader finds them.
// Each diagram is a few paths (the grid, the circles, the discs, the crosses) rather than a
// shape per mark, so that the compressed page takes the repetition. (A shape recorded once and
// placed where it recurs would be smaller, but cairo lists such a form in a page's resources
// once per use, which readers report as a damaged dictionary.) One painter per document and
// thread.
class PdfDiagramPainter {
 public:
  // `face` is the font of every text, the finger digits among them; kept referenced.
  explicit PdfDiagramPainter(cairo_font_face_t* face);
  ~PdfDiagramPainter();
  PdfDiagramPainter(const PdfDiagramPainter&) = delete;
  PdfDiagramPainter& operator=(const PdfDiagramPainter&) = delete;

  void Paint(cairo_t* cr, const DiagramLayout& layout, const PdfDiagramText& text);

 private:
  void Grid(cairo_t* cr, const DiagramLayout& layout);
  void Marks(cairo_t* cr, const DiagramLayout& layout);
  // The digits' extents at the digit size, measured once.
  const cairo_text_extents_t& DigitExtents(cairo_t* cr, int digit);

  cairo_font_face_t* face_;
  cairo_text_extents_t digits_[kGlyphCount] = {};
  bool digitsMeasured_ = false;
};

}  // namespace strumlet
