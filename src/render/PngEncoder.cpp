// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PngEncoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace strumlet {
namespace {

// Level 1: a diagram compresses to a few hundred bytes either way, far below a disk block, and
// the higher levels cost more time for bytes no disk saves.
constexpr int kLevel = 1;

// One compressor per thread: allocating one clears its tables, which takes longer than
// compressing a diagram. libdeflate compresses these few kilobytes of rows in about half of
// zlib's time, and a whole buffer at once is all a diagram needs.
class Deflater {
 public:
  Deflater() : compressor_(libdeflate_alloc_compressor(kLevel)) {}
  ~Deflater() {
    if (compressor_) libdeflate_free_compressor(compressor_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // Appends the zlib stream of `raw` to `out`.
  bool Compress(const std::vector<unsigned char>& raw, std::string& out) {
    if (!compressor_) return false;
    const std::size_t start = out.size();
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor_, raw.size());
    out.resize(start + bound);
    const std::size_t written =
        libdeflate_zlib_compress(compressor_, raw.data(), raw.size(), out.data() + start, bound);
    out.resize(start + written);
    return written != 0;
  }

 private:
  libdeflate_compressor* compressor_;
};

void PutU32(std::string& out, uint32_t value) {
  const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 8), static_cast<char>(value)};
  out.append(bytes, 4);
}

// Starts a chunk: its length is filled in by EndChunk.
std::size_t BeginChunk(std::string& out, const char* type) {
  const std::size_t start = out.size();
  PutU32(out, 0);
  out.append(type, 4);
  return start;
}

void EndChunk(std::string& out, std::size_t start) {
  const std::size_t length = out.size() - start - 8;
  for (int i = 0; i < 4; ++i) out[start + i] = static_cast<char>(length >> (24 - 8 * i));
  PutU32(out, libdeflate_crc32(0, out.data() + start + 4, length + 4));
}

// Packs one row of palette indexes at `depth` bits each, the leftmost pixel in the high bits,
// and returns the largest index met.
template <int depth>
unsigned PackRow(const unsigned char* pixels, int width, unsigned char* row) {
  constexpr int perByte = 8 / depth;
  unsigned largest = 0;
  int x = 0;
  for (; x + perByte <= width; x += perByte) {
    unsigned value = 0;
    for (int i = 0; i < perByte; ++i) {
      largest = std::max<unsigned>(largest, pixels[x + i]);
      value = (value << depth) | pixels[x + i];
    }
    *row++ = static_cast<unsigned char>(value);
  }
  if (x < width) {
    unsigned value = 0;
    for (int i = 0; i < perByte; ++i) {
      const unsigned pixel = x + i < width ? pixels[x + i] : 0u;
      largest = std::max(largest, pixel);
      value = (value << depth) | pixel;
    }
    *row = static_cast<unsigned char>(value);
  }
  return largest;
}

uint32_t DotsPerMetre(unsigned int dotsPerInch) {
  return static_cast<uint32_t>(dotsPerInch / 0.0254 + 0.5);
}

}  // namespace

bool EncodePalettePng(const gdImageStruct& image, std::string& out) {
  out.clear();
  const int width = image.sx, height = image.sy, colours = image.colorsTotal;
  if (image.trueColor || image.interlace || image.transparent >= 0 || width <= 0 || height <= 0 ||
      colours <= 0 || colours > 256 || !image.pixels) {
    return false;
  }
  for (int i = 0; i < colours; ++i) {
    if (image.open[i] || image.alpha[i] != gdAlphaOpaque) return false;
  }
  const int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * depth + 7) / 8;

  // The rows, each after its filter byte (0: none, as for every palette image).
  thread_local std::vector<unsigned char> raw;
  raw.resize((rowBytes + 1) * static_cast<std::size_t>(height));
  unsigned largest = 0;
  for (int y = 0; y < height; ++y) {
    unsigned char* row = raw.data() + (rowBytes + 1) * static_cast<std::size_t>(y);
    *row++ = 0;
    switch (depth) {
      case 1:
        largest = std::max(largest, PackRow<1>(image.pixels[y], width, row));
        break;
      case 2:
        largest = std::max(largest, PackRow<2>(image.pixels[y], width, row));
        break;
      case 4:
        largest = std::max(largest, PackRow<4>(image.pixels[y], width, row));
        break;
      default:
        largest = std::max(largest, PackRow<8>(image.pixels[y], width, row));
        break;
    }
  }
  // An index past the palette would make a file that readers refuse.
  if (largest >= static_cast<unsigned>(colours)) return false;

  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  out.reserve(raw.size() / 4 + 128);
  out.append(reinterpret_cast<const char*>(kSignature), sizeof kSignature);

  std::size_t chunk = BeginChunk(out, "IHDR");
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  const char header[5] = {static_cast<char>(depth), 3, 0, 0, 0};  // palette, no interlace
  out.append(header, 5);
  EndChunk(out, chunk);

  chunk = BeginChunk(out, "PLTE");
  for (int i = 0; i < colours; ++i) {
    const char rgb[3] = {static_cast<char>(image.red[i]), static_cast<char>(image.green[i]),
                         static_cast<char>(image.blue[i])};
    out.append(rgb, 3);
  }
  EndChunk(out, chunk);

  chunk = BeginChunk(out, "pHYs");
  PutU32(out, DotsPerMetre(image.res_x));
  PutU32(out, DotsPerMetre(image.res_y));
  out.push_back(1);  // the unit is the metre
  EndChunk(out, chunk);

  thread_local Deflater deflater;
  chunk = BeginChunk(out, "IDAT");
  if (!deflater.Compress(raw, out)) {
    out.clear();
    return false;
  }
  EndChunk(out, chunk);

  EndChunk(out, BeginChunk(out, "IEND"));
  return true;
}

}  // namespace strumlet
