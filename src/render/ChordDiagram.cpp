#include "render/ChordDiagram.h"

#include <gd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "render/AssetStore.h"
#include "render/DiagramLayout.h"
#include "render/GridStamp.h"
#include "render/TextStamp.h"

namespace strumlet {
namespace {

constexpr std::size_t kMaxFontPathLength = 255;
// Sizes beyond these make images of tens of megabytes; a setting that large is a typing slip.
constexpr double kMaxNameSize = 500.0;
constexpr double kMaxLabelSize = 500.0;

// "10" at the label size, shared by all diagrams: a failed measurement keeps the last good one.
std::atomic<int> labelWidth{0};
std::atomic<int> labelHeight{0};

double ClampSize(double size, double smallest, double fallback, double largest) {
  if (!(size >= smallest)) return fallback;  // also catches NaN
  return std::min(size, largest);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// An image encoded by libgd into memory, freed with libgd's own allocator.
struct EncodedImage {
  void* data = nullptr;
  int size = 0;
  EncodedImage(gdImagePtr image, ImageKind kind) {
    data = kind == ImageKind::kPng ? gdImagePngPtr(image, &size) : gdImageJpegPtr(image, &size, -1);
    if (!data) size = 0;
  }
  ~EncodedImage() {
    if (data) gdFree(data);
  }
  EncodedImage(const EncodedImage&) = delete;
  EncodedImage& operator=(const EncodedImage&) = delete;
};

}  // namespace

std::string ImageFileName(int32_t recordOffset, ImageKind kind) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", static_cast<uint32_t>(recordOffset));
  return std::string(buffer) + (kind == ImageKind::kPng ? ".png" : ".jpg");
}

struct ChordDiagram::Impl {
  ChordRecord record;
  std::string fontFile;
  double nameSize = 20.0;
  double labelSize = 7.0;
  DiagramLayout layout;
  std::shared_ptr<const TextStamp> nameStamp;
  gdImagePtr image = nullptr;
  int black = 0;
  std::string lastTextError;  // kept for debugging, never shown

  void DrawLabelText(std::string_view text, int x, int y) {
    auto stamp = GetTextStamp(fontFile, labelSize, std::string(text));
    if (!stamp->ok()) {
      lastTextError = stamp->error;
      return;
    }
    DrawTextStamp(image, *stamp, x, y);
  }
};

ChordDiagram::ChordDiagram(const ChordRecord& record, double nameSize, double labelSize,
                           const std::string& fontFile)
    : impl_(std::make_unique<Impl>()) {
  Impl& d = *impl_;
  d.record = record;
  d.fontFile = fontFile.substr(0, std::min(fontFile.size(), kMaxFontPathLength));
  d.nameSize = ClampSize(nameSize, 6.0, 20.0, kMaxNameSize);
  d.labelSize = ClampSize(labelSize, 4.0, 7.0, kMaxLabelSize);

  // The assets are needed by every diagram; a missing one ends the process before any work.
  const DiagramAssets& assets = GetDiagramAssets();

  TextMetrics metrics;
  auto probe = GetTextStamp(d.fontFile, d.nameSize, "WyjpT");
  if (probe->ok()) {
    metrics.nameHeight = probe->height();
  } else {
    d.lastTextError = probe->error;
  }
  auto label = GetTextStamp(d.fontFile, d.labelSize, "10");
  if (label->ok()) {
    metrics.labelWidth = label->width();
    metrics.labelHeight = label->height();
    labelWidth = metrics.labelWidth;
    labelHeight = metrics.labelHeight;
  } else {
    d.lastTextError = label->error;
    metrics.labelWidth = labelWidth;
    metrics.labelHeight = labelHeight;
  }
  const std::string name = NameToDrawableText(d.record.name);
  if (!name.empty()) {
    d.nameStamp = GetTextStamp(d.fontFile, d.nameSize, name);
    if (d.nameStamp->ok()) {
      metrics.nameWidth = d.nameStamp->width();
    } else {
      d.lastTextError = d.nameStamp->error;
    }
  }
  d.layout = ComputeLayout(d.record, metrics);

  d.image = gdImageCreate(d.layout.width, d.layout.height);
  if (!d.image) return;
  gdImageColorAllocate(d.image, 255, 255, 255);  // colour 0: the background
  d.black = gdImageColorAllocate(d.image, 0, 0, 0);
  gdImageSetBrush(d.image, assets.brush);
}

ChordDiagram::~ChordDiagram() {
  if (impl_ && impl_->image) gdImageDestroy(impl_->image);
}

int ChordDiagram::Draw() {
  Impl& d = *impl_;
  if (!d.image) return 0;
  const DiagramLayout& l = d.layout;
  const DiagramAssets& assets = GetDiagramAssets();

  if (d.nameStamp && d.nameStamp->ok()) DrawTextStamp(d.image, *d.nameStamp, l.nameX, l.nameY);
  for (const auto& label : l.labels) d.DrawLabelText(label.text, label.x, label.y);

  DrawPixelStamp(d.image, *GetGridStamp(l, assets.brush), 0, 0);

  constexpr int half = kGlyphSize / 2;
  for (const auto& m : l.marks) {
    switch (m.kind) {
      case StringMark::Kind::kOpen:
        gdImageArc(d.image, m.x, m.y, kMarkSize, kMarkSize, 0, 360, d.black);
        break;
      case StringMark::Kind::kGlyph: {
        gdImagePtr glyph = assets.glyphs[m.glyph];
        gdImageCopy(d.image, glyph, m.x - half, m.y - half, 0, 0,
                    std::min(kGlyphSize, gdImageSX(glyph)), std::min(kGlyphSize, gdImageSY(glyph)));
        break;
      }
      case StringMark::Kind::kMuted: {
        const int x1 = m.x - kStringSpacing / 2, y1 = m.y;
        const int x2 = x1 + kMarkSize, y2 = y1 + kMarkSize;
        gdImageLine(d.image, x1, y1, x2, y2, d.black);
        gdImageLine(d.image, x2, y1, x1, y2, d.black);
        break;
      }
    }
  }
  return 0;
}

std::vector<unsigned char> ChordDiagram::EncodeImage(ImageKind kind) const {
  std::vector<unsigned char> bytes;
  if (!impl_->image) return bytes;
  EncodedImage buffer(impl_->image, kind);
  if (buffer.size > 0) {
    const auto* begin = static_cast<const unsigned char*>(buffer.data);
    bytes.assign(begin, begin + buffer.size);
  }
  return bytes;
}

std::string ChordDiagram::WriteImage(ImageKind kind, const std::string& folder,
                                     std::string* error) {
  auto fail = [&](std::string text) {
    if (error) *error = std::move(text);
    return std::string();
  };
  if (!impl_->image) return fail("The chord diagram has no image.");
  const std::string name = ImageFileName(impl_->record.recordOffset, kind);
  const std::string path = JoinPath(folder, name);

  EncodedImage buffer(impl_->image, kind);
  if (buffer.size <= 0) return fail("Could not encode the image " + path + ".");

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail("Could not create " + path + ": " + std::strerror(errno));
  const std::size_t written = std::fwrite(buffer.data, 1, buffer.size, file);
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  const int closeErrno = errno;
  if (written != static_cast<std::size_t>(buffer.size) || !closed) {
    // A partial image is worse than none: the page would show a broken picture.
    std::remove(path.c_str());
    return fail(
        "Could not write " + path + ": " +
        std::strerror(written != static_cast<std::size_t>(buffer.size) ? writeErrno : closeErrno));
  }
  return name;
}

int16_t ChordDiagram::GetWidth() const { return static_cast<int16_t>(impl_->layout.width); }
int16_t ChordDiagram::GetHeight() const { return static_cast<int16_t>(impl_->layout.height); }
const gdImageStruct* ChordDiagram::Image() const { return impl_->image; }
double ChordDiagram::NameSize() const { return impl_->nameSize; }
double ChordDiagram::LabelSize() const { return impl_->labelSize; }

}  // namespace strumlet
