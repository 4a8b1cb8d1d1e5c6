// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <memory>

#include <gd.h>

#include "AssetStore.h"
#include "PixelStamp.h"
#include "strumlet/render/DiagramLayout.h"

namespace strumlet {

// Draws the string and fret lines of `layout` with the image's brush (gdBrushed lines).
void DrawGridLines(gdImagePtr image, const DiagramLayout& layout);

// The pixels DrawGridLines sets on a W x H image with `brush`, recorded once per grid geometry
// and kept in a bounded process-wide cache (thread-safe). Most diagrams of a database share one
// geometry, and stamping the recorded pixels is far cheaper than stamping the brush along every
// line again.
std::shared_ptr<const PixelStamp> GetGridStamp(const DiagramLayout& layout, gdImagePtr brush);

// Records a grid stamp without the cache.
std::shared_ptr<const PixelStamp> RenderGridStamp(const DiagramLayout& layout, gdImagePtr brush);

// The string marks, each recorded once as the pixels its libgd drawing sets around the mark's
// point: an open circle (gdImageArc), a muted cross (two gdImageLine) and each finger glyph
// (gdImageCopy of the asset). Stamped, a mark sets the same pixels in the same colours.
struct MarkStamps {
  PixelStamp open;
  PixelStamp muted;
  std::array<PixelStamp, kGlyphCount> glyphs;
};

// Draws a mark the way its stamp records it (for the stamps, and for the tests that hold the
// stamps to it).
void DrawOpenMark(gdImagePtr image, int x, int y, int colour);
void DrawMutedMark(gdImagePtr image, int x, int y, int colour);
void DrawGlyphMark(gdImagePtr image, gdImagePtr glyph, int x, int y);

// The stamps of `assets`, recorded on first use (thread-safe). The assets never change once
// loaded.
const MarkStamps& GetMarkStamps(const DiagramAssets& assets);

}  // namespace strumlet
