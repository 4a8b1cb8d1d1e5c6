// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TextStamp.h"

#include "GdImage.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/core/Handles.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <mutex>
#include <unordered_map>

namespace strumlet {
namespace {

// Enough stamps for every label and the names of many databases; the cache starts over when
// full so memory stays bounded on odd input (huge font sizes make huge stamps).
constexpr std::size_t kMaxCachedStamps = 16384;
constexpr std::size_t kMaxCachedPixels = 4 << 20;

// Texts larger than this are not rendered: only a broken size setting makes them.
constexpr int kMaxScratchSide = 32000;
constexpr long kMaxScratchArea = 32L << 20;

struct StampCache {
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const TextStamp>> stamps;
  std::size_t pixels = 0;
};

StampCache& Cache() {
  static StampCache cache;
  return cache;
}

}  // namespace

std::string NameToDrawableText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t amp = std::min(bytes.find('&', start), bytes.size());
    out += CodePageToUtf8(bytes.substr(start, amp - start));
    if (amp < bytes.size()) out += "&#38;";
    start = amp + 1;
  }
  return out;
}

void EnsureFontCache() {
  static std::once_flag once;
  std::call_once(once, [] { gdFontCacheSetup(); });
}

std::shared_ptr<const TextStamp> RenderTextStamp(const std::string& fontFile, double size,
                                                 const std::string& utf8Text) {
  EnsureFontCache();
  auto stamp = std::make_shared<TextStamp>();
  int box[8] = {};
  if (const char* error =
          gdImageStringTTF(nullptr, box, 0, fontFile.c_str(), size, 0.0, 0, 0, utf8Text.c_str())) {
    stamp->error = error;
    return stamp;
  }
  int minX = box[0], maxX = box[0], minY = box[1], maxY = box[1];
  for (int k = 2; k < 8; k += 2) {
    minX = std::min(minX, box[k]);
    maxX = std::max(maxX, box[k]);
    minY = std::min(minY, box[k + 1]);
    maxY = std::max(maxY, box[k + 1]);
  }
  // Antialiased edges may reach a little past the reported box.
  const int margin = 4 + static_cast<int>(size / 4);
  const int width = maxX - minX + 2 * margin;
  const int height = maxY - minY + 2 * margin;
  if (width > kMaxScratchSide || height > kMaxScratchSide || width <= 0 || height <= 0 ||
      static_cast<long>(width) * height > kMaxScratchArea) {
    stamp->error = "text too large";
    return stamp;
  }
  GdImageHandle handle(gdImageCreate(width, height));
  gdImagePtr scratch = handle.get();
  if (!scratch) {
    stamp->error = "out of memory";
    return stamp;
  }
  gdImageColorAllocate(scratch, 255, 255, 255);
  const int black = gdImageColorAllocate(scratch, 0, 0, 0);
  const int ox = margin - minX, oy = margin - minY;
  int drawn[8] = {};
  if (const char* error = gdImageStringTTF(scratch, drawn, black, fontFile.c_str(), size, 0.0, ox,
                                           oy, utf8Text.c_str())) {
    stamp->error = error;
    return stamp;
  }
  // The box of the measuring call at (0, 0) is the one the layout relies on; the box of a drawing
  // call elsewhere can differ by a pixel of rounding.
  std::copy(std::begin(box), std::end(box), std::begin(stamp->brect));
  stamp->ink.Record(scratch, 0, ox, oy);
  return stamp;
}

std::shared_ptr<const TextStamp> GetTextStamp(const std::string& fontFile, double size,
                                              const std::string& utf8Text) {
  std::string key;
  key.reserve(fontFile.size() + utf8Text.size() + 10);
  key += fontFile;
  key += '\0';
  const auto bits = std::bit_cast<uint64_t>(size);
  key.append(reinterpret_cast<const char*>(&bits), sizeof bits);
  key += utf8Text;

  StampCache& cache = Cache();
  {
    std::lock_guard lock(cache.mutex);
    auto it = cache.stamps.find(key);
    if (it != cache.stamps.end()) return it->second;
  }
  auto stamp = RenderTextStamp(fontFile, size, utf8Text);
  if (stamp->ok()) {
    std::lock_guard lock(cache.mutex);
    if (cache.stamps.size() >= kMaxCachedStamps || cache.pixels >= kMaxCachedPixels) {
      cache.stamps.clear();
      cache.pixels = 0;
    }
    if (cache.stamps.emplace(std::move(key), stamp).second)
      cache.pixels += stamp->ink.pixels.size();
  }
  return stamp;
}

void DrawTextStamp(gdImagePtr image, const TextStamp& stamp, int x, int y) {
  if (stamp.ok()) DrawPixelStamp(image, stamp.ink, x, y);
}

}  // namespace strumlet
