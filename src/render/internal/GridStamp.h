// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

#include <gd.h>

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

}  // namespace strumlet
