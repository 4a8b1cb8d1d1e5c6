// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gd.h>

#include "PixelStamp.h"

namespace strumlet {

// Chord names are bytes in the handheld's code page (Windows-1252). Returns the UTF-8 text for
// the TrueType call, with "&" written as "&#38;" because the text call reads "&#...;" as a
// character reference. The bytes are decoded as everywhere else (CodePageToUtf8).
std::string NameToDrawableText(std::string_view bytes);

// Sets up the text library's font cache once per process, before any thread draws text.
void EnsureFontCache();

// One text rendered once at one font and size, black on white, with the bounding box the
// TrueType call reports. Stamping it onto a white palette image gives the same pixels as drawing
// the text there with the TrueType call, at a fraction of the cost.
struct TextStamp {
  std::string error;  // non-empty when the text could not be rendered; nothing is drawn then
  int brect[8] = {};  // relative to the text origin, as the TrueType call reports it
  PixelStamp ink;

  bool ok() const { return error.empty(); }
  int width() const { return brect[2] - brect[0]; }
  int height() const { return brect[1] - brect[7]; }
};

// The stamp of `utf8Text` in `fontFile` at `size` points; rendered on first use and kept in a
// bounded process-wide cache (thread-safe). Failures are not kept, so a font that appears later
// is picked up.
std::shared_ptr<const TextStamp> GetTextStamp(const std::string& fontFile, double size,
                                              const std::string& utf8Text);

// Renders a stamp without the cache; the cache and the tests use it.
std::shared_ptr<const TextStamp> RenderTextStamp(const std::string& fontFile, double size,
                                                 const std::string& utf8Text);

// Puts `stamp` onto a palette image with its origin at (x, y), clipped to the image.
void DrawTextStamp(gdImagePtr image, const TextStamp& stamp, int x, int y);

}  // namespace strumlet
