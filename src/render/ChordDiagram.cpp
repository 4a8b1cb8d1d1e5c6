// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/ChordDiagram.h"

#include <gd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <unordered_map>

#include "AssetStore.h"
#include "GdImage.h"
#include "GridStamp.h"
#include "PngEncoder.h"
#include "SvgPainter.h"
#include "TextStamp.h"
#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
#include "strumlet/render/DiagramLayout.h"
#include "strumlet/render/DiagramText.h"

namespace strumlet {
namespace {

// Sizes beyond these make images of tens of megabytes; a setting that large is a typing slip.
constexpr double kMaxNameSize = 500.0;
constexpr double kMaxLabelSize = 500.0;

double ClampSize(double size, double smallest, double fallback, double largest) {
  if (!(size >= smallest)) return fallback;  // also catches NaN
  return std::min(size, largest);
}

// The zlib level of the PNG diagrams libgd encodes (those EncodePalettePng does not take).
// Level 1 takes about a third of the default's (6) time; a diagram stays far below a disk block.
constexpr int kPngLevel = 1;

const char* Extension(ImageKind kind) {
  switch (kind) {
    case ImageKind::kPng:
      return ".png";
    case ImageKind::kJpeg:
      return ".jpg";
    case ImageKind::kSvg:
      return ".svg";
  }
  return "";
}

// Encodes the libgd image into `out`: PNG diagrams through our own palette encoder where it takes
// the image, everything else through libgd.
bool EncodeInto(gdImagePtr image, ImageKind kind, std::string& out) {
  if (kind == ImageKind::kPng && EncodePalettePng(*image, out)) return true;
  int size = 0;
  void* data = kind == ImageKind::kPng ? gdImagePngPtrEx(image, &size, kPngLevel)
                                       : gdImageJpegPtr(image, &size, -1);
  out.clear();
  if (!data) return false;
  if (size > 0) out.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
  gdFree(data);
  return !out.empty();
}

}  // namespace

std::string ImageFileName(int32_t recordOffset, ImageKind kind) {
  return ImageStem(recordOffset) + Extension(kind);
}

std::vector<std::string> DiagramFileNames(const std::vector<int32_t>& recordOffsets, ImageKind kind,
                                          bool leftHanded) {
  std::vector<std::string> names;
  names.reserve(recordOffsets.size());
  std::unordered_map<int32_t, int> seen;
  seen.reserve(recordOffsets.size());
  const char* extension = Extension(kind);
  const char* hand = leftHanded ? "-left" : "";
  for (const int32_t offset : recordOffsets) {
    const int count = ++seen[offset];
    if (count == 1 && !leftHanded) {
      names.push_back(ImageFileName(offset, kind));
      continue;
    }
    // "-" is no hexadecimal digit, so these names cannot meet another chord's.
    std::string name = ImageStem(offset) + hand;
    if (count > 1) name += "-" + std::to_string(count);
    names.push_back(name + extension);
  }
  return names;
}

struct ChordDiagram::Impl {
  ChordRecord record;
  std::string fontFile;
  double nameSize = 20.0;
  double labelSize = 7.0;
  bool notes = false;  // the words name the notes too
  DiagramLayout layout;
  std::shared_ptr<const TextStamp> nameStamp;
  bool labelsDrawable = false;  // the label size of the font could be used
  GdImageHandle image;
  std::string lastTextError;  // kept for debugging, never shown

  void DrawLabelText(std::string_view text, int x, int y) {
    auto stamp = GetTextStamp(fontFile, labelSize, std::string(text));
    if (!stamp->ok()) {
      lastTextError = stamp->error;
      return;
    }
    DrawTextStamp(image.get(), *stamp, x, y);
  }

  // The SVG of the diagram, with the texts the libgd painter could draw: a text the font cannot
  // give there is left out here too rather than drawn at a place measured without it.
  std::string Svg() const {
    SvgDiagramText text;
    if (nameStamp && nameStamp->ok()) text.name = CodePageToUtf8(record.name);
    text.title = DescribeDiagram(record, notes);
    text.face = FontFaceOf(fontFile);
    text.nameSize = nameSize;
    text.labelSize = labelSize;
    if (labelsDrawable) return PaintSvg(layout, text);
    DiagramLayout withoutLabels = layout;
    withoutLabels.labels.clear();
    return PaintSvg(withoutLabels, text);
  }

  bool Encode(ImageKind kind, std::string& out) const {
    if (kind != ImageKind::kSvg) return EncodeInto(image.get(), kind, out);
    out = Svg();
    return true;
  }
};

ChordDiagram::ChordDiagram(const ChordRecord& record, const DiagramStyle& style)
    : impl_(std::make_unique<Impl>()) {
  Impl& d = *impl_;
  d.record = record;
  d.fontFile = style.fontFile;
  d.notes = style.altText;
  d.nameSize = ClampSize(style.nameSize, 6.0, 20.0, kMaxNameSize);
  d.labelSize = ClampSize(style.labelSize, 4.0, 7.0, kMaxLabelSize);

  // Without the assets there is no picture to draw; the caller has learnt why from
  // LoadDiagramAssets before drawing.
  const DiagramAssets* assets = GetDiagramAssets();

  TextMetrics metrics;
  auto probe = GetTextStamp(d.fontFile, d.nameSize, "WyjpT");
  if (probe->ok()) {
    metrics.nameHeight = probe->height();
  } else {
    d.lastTextError = probe->error;
  }
  // Every measurement belongs to this diagram's font and size (the stamps are cached by both):
  // one that fails counts as nothing, never as another diagram's value.
  auto label = GetTextStamp(d.fontFile, d.labelSize, "10");
  if (label->ok()) {
    metrics.labelWidth = label->width();
    metrics.labelHeight = label->height();
    d.labelsDrawable = true;
  } else {
    d.lastTextError = label->error;
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
  d.layout = ComputeLayout(d.record, metrics, style);

  if (!assets) return;
  d.image.reset(gdImageCreate(d.layout.width, d.layout.height));
  if (!d.image) return;
  gdImageColorAllocate(d.image.get(), 255, 255, 255);  // colour 0: the background
  gdImageColorAllocate(d.image.get(), 0, 0, 0);        // colour 1: black
  gdImageSetBrush(d.image.get(), assets->brush);
}

ChordDiagram::~ChordDiagram() = default;

int ChordDiagram::Draw() {
  Impl& d = *impl_;
  const DiagramAssets* assets = GetDiagramAssets();
  if (!d.image || !assets) return 0;
  gdImagePtr image = d.image.get();
  const DiagramLayout& l = d.layout;

  if (d.nameStamp && d.nameStamp->ok()) DrawTextStamp(image, *d.nameStamp, l.nameX, l.nameY);
  for (const auto& label : l.labels) d.DrawLabelText(label.text, label.x, label.y);

  DrawPixelStamp(image, *GetGridStamp(l, assets->brush), 0, 0);

  // The marks are stamped: drawing each again (an arc of 360 steps, a copy resolving every
  // pixel's colour) took a third of a diagram's drawing.
  const MarkStamps& stamps = GetMarkStamps(*assets);
  for (const auto& m : l.marks) {
    switch (m.kind) {
      case StringMark::Kind::kOpen:
        DrawPixelStamp(image, stamps.open, m.x, m.y);
        break;
      case StringMark::Kind::kGlyph:
        DrawPixelStamp(image, stamps.glyphs[m.glyph], m.x, m.y);
        break;
      case StringMark::Kind::kMuted:
        DrawPixelStamp(image, stamps.muted, m.x, m.y);
        break;
    }
  }
  return 0;
}

std::vector<unsigned char> ChordDiagram::EncodeImage(ImageKind kind) const {
  std::vector<unsigned char> bytes;
  if (!impl_->image) return bytes;
  std::string encoded;
  if (impl_->Encode(kind, encoded)) bytes.assign(encoded.begin(), encoded.end());
  return bytes;
}

Result<std::string> ChordDiagram::WriteImage(ImageKind kind, const std::string& folder) {
  return WriteImage(kind, folder, ImageFileName(impl_->record.recordOffset, kind));
}

Result<std::string> ChordDiagram::WriteImage(ImageKind kind, const std::string& folder,
                                             const std::string& name) {
  if (!impl_->image) return Error{Error::Kind::kUnavailable, {}, {}, 0};
  const std::string path = JoinPath(folder, name);

  thread_local std::string encoded;
  if (!impl_->Encode(kind, encoded)) {
    return Error{Error::Kind::kRefused, path, {}, 0};
  }

  // Written whole under a temporary name and renamed: a page never shows half a picture, and a
  // link planted at the name is replaced rather than written through. Not synced: thousands of
  // them would cost more than redrawing the few a crash could lose.
  AtomicFile::Options options;
  options.sync = false;
  const Result<void> written = WriteFileAtomically(path, encoded, options);
  if (!written) return written.error();
  return name;
}

std::string ImageErrorText(const Error& error) {
  switch (error.kind) {
    case Error::Kind::kUnavailable:
      return "The chord diagram has no image.";
    case Error::Kind::kRefused:
      return "Could not encode the image " + error.path + ".";
    default:
      return "Could not write " + error.path + ": " + ErrorText(error.code);
  }
}

int16_t ChordDiagram::GetWidth() const { return static_cast<int16_t>(impl_->layout.width); }
int16_t ChordDiagram::GetHeight() const { return static_cast<int16_t>(impl_->layout.height); }
const gdImageStruct* ChordDiagram::Image() const { return impl_->image.get(); }
const DiagramLayout& ChordDiagram::Layout() const { return impl_->layout; }
double ChordDiagram::NameSize() const { return impl_->nameSize; }
double ChordDiagram::LabelSize() const { return impl_->labelSize; }

}  // namespace strumlet
