// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

#include "strumlet/render/DiagramLayout.h"

namespace strumlet {

// The face an SVG names for its texts, taken from a TrueType file, so that the picture is drawn
// with the same font the PNG and JPEG diagrams are without the file travelling with the page.
struct SvgFontFace {
  std::string family;  // empty when the file could not be read: the generic family alone
  bool bold = false;
  bool italic = false;
};

// The face of `fontFile` as fontconfig reads it; kept per file for the process (thread-safe).
SvgFontFace FontFaceOf(const std::string& fontFile);

// What the SVG painter writes beside the layout's own texts.
struct SvgDiagramText {
  std::string name;   // the chord name, UTF-8
  std::string title;  // the diagram's words, UTF-8
  SvgFontFace face;
  double nameSize = 20.0;  // points, as the TrueType call takes them
  double labelSize = 7.0;
};

// The diagram as an SVG document of the layout's size: the same texts, grid and string marks as
// the libgd painter draws, at the same pixel coordinates, as vector shapes and text. Reads the
// positions from `layout` alone.
std::string PaintSvg(const DiagramLayout& layout, const SvgDiagramText& text);

}  // namespace strumlet
