// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "GridStamp.h"

#include "GdImage.h"
#include "strumlet/core/Handles.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>

namespace strumlet {
namespace {

constexpr std::size_t kMaxCachedGrids = 1024;

struct GridCache {
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const PixelStamp>> grids;
};

GridCache& Cache() {
  static GridCache cache;
  return cache;
}

std::string Key(const DiagramLayout& layout, gdImagePtr brush) {
  std::string key;
  auto put = [&key](long value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
  };
  put(reinterpret_cast<long>(brush));
  put(layout.width);
  put(layout.height);
  put(static_cast<long>(layout.strings.size()));
  for (const auto& s : layout.strings) put(s.x), put(s.y1), put(s.y2);
  for (const auto& f : layout.frets) put(f.y), put(f.x1), put(f.x2);
  return key;
}

}  // namespace

void DrawGridLines(gdImagePtr image, const DiagramLayout& layout) {
  for (const auto& s : layout.strings) gdImageLine(image, s.x, s.y1, s.x, s.y2, gdBrushed);
  for (const auto& f : layout.frets) gdImageLine(image, f.x1, f.y, f.x2, f.y, gdBrushed);
}

std::shared_ptr<const PixelStamp> RenderGridStamp(const DiagramLayout& layout, gdImagePtr brush) {
  auto stamp = std::make_shared<PixelStamp>();
  GdImageHandle handle(gdImageCreate(layout.width, layout.height));
  if (!handle) return stamp;
  gdImagePtr scratch = handle.get();
  // A half-transparent white no brush colour will match marks the untouched background.
  const int background = gdImageColorAllocateAlpha(scratch, 255, 255, 255, 127);
  gdImageSetBrush(scratch, brush);
  DrawGridLines(scratch, layout);
  stamp->Record(scratch, background, 0, 0);
  return stamp;
}

void DrawOpenMark(gdImagePtr image, int x, int y, int colour) {
  gdImageArc(image, x, y, kMarkSize, kMarkSize, 0, 360, colour);
}

void DrawMutedMark(gdImagePtr image, int x, int y, int colour) {
  const int x1 = x - kStringSpacing / 2, y1 = y;
  const int x2 = x1 + kMarkSize, y2 = y1 + kMarkSize;
  gdImageLine(image, x1, y1, x2, y2, colour);
  gdImageLine(image, x2, y1, x1, y2, colour);
}

void DrawGlyphMark(gdImagePtr image, gdImagePtr glyph, int x, int y) {
  constexpr int half = kGlyphSize / 2;
  gdImageCopy(image, glyph, x - half, y - half, 0, 0, std::min(kGlyphSize, gdImageSX(glyph)),
              std::min(kGlyphSize, gdImageSY(glyph)));
}

const MarkStamps& GetMarkStamps(const DiagramAssets& assets) {
  static const MarkStamps* stamps = [&assets] {
    auto* made = new MarkStamps;
    // Drawn at the middle of a scratch image large enough for every mark, on a half-transparent
    // white that no drawn pixel has: what differs from it is what the drawing set.
    constexpr int side = 4 * kGlyphSize, centre = side / 2;
    const auto record = [](PixelStamp& stamp, const auto& draw) {
      GdImageHandle scratch(gdImageCreate(side, side));
      if (!scratch) return;
      const int background = gdImageColorAllocateAlpha(scratch.get(), 255, 255, 255, 127);
      draw(scratch.get());
      stamp.Record(scratch.get(), background, centre, centre);
    };
    record(made->open, [](gdImagePtr scratch) {
      DrawOpenMark(scratch, centre, centre, gdImageColorAllocate(scratch, 0, 0, 0));
    });
    record(made->muted, [](gdImagePtr scratch) {
      DrawMutedMark(scratch, centre, centre, gdImageColorAllocate(scratch, 0, 0, 0));
    });
    for (int k = 0; k < kGlyphCount; ++k) {
      record(made->glyphs[k],
             [&](gdImagePtr scratch) { DrawGlyphMark(scratch, assets.glyphs[k], centre, centre); });
    }
    return made;
  }();
  return *stamps;
}

std::shared_ptr<const PixelStamp> GetGridStamp(const DiagramLayout& layout, gdImagePtr brush) {
  std::string key = Key(layout, brush);
  GridCache& cache = Cache();
  {
    std::lock_guard lock(cache.mutex);
    auto it = cache.grids.find(key);
    if (it != cache.grids.end()) return it->second;
  }
  auto stamp = RenderGridStamp(layout, brush);
  std::lock_guard lock(cache.mutex);
  if (cache.grids.size() >= kMaxCachedGrids) cache.grids.clear();
  cache.grids.emplace(std::move(key), stamp);
  return stamp;
}

}  // namespace strumlet
