// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gd.h>

#include <string>

namespace strumlet {

// Encodes a palette image as PNG into `out` (replacing what is there) and returns true; returns
// false, leaving `out` empty, for an image this encoder does not take (true colour, a transparent
// or translucent colour, an interlaced image, freed palette entries), which libgd then encodes.
//
// A diagram is a few kilobytes of pixels, so libgd's encoder spends most of its time setting up
// and tearing down libpng and zlib for each one. This keeps one compressor per thread and packs
// the rows itself; the pixels, palette and resolution written are the ones libgd would write.
bool EncodePalettePng(const gdImageStruct& image, std::string& out);

}  // namespace strumlet
