// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SvgPainter.h"

#include <fontconfig/fontconfig.h>
// After fontconfig.h, which it builds on.
#include <fontconfig/fcfreetype.h>

#include <charconv>
#include <cmath>
#include <map>
#include <mutex>

#include "strumlet/core/MarkupText.h"

namespace strumlet {
namespace {

// The TrueType call takes points at 96 dots per inch; SVG lengths are pixels.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

// The finger glyphs (res/0.png .. 5.png) are a black disc of 121 pixels (13 across) centred on
// the glyph's centre pixel: a disc of the same area has a radius of 6.2. Inside it the finger's
// digit, 7 pixels high, in white.
constexpr double kGlyphRadius = 6.2;
constexpr double kDigitHeight = 7.0;
// A sans-serif digit is about 0.73 em high.
constexpr double kDigitSize = kDigitHeight / 0.73;
// The open circle has a radius of 6 pixels (kMarkSize / 2). libgd draws it one pixel wide, but
// as a ring of pixels touching at their corners, which is about a quarter thicker on the
// diagonals than a one-pixel pen.
constexpr double kCircleRadius = kMarkSize / 2;
constexpr double kCircleStroke = 1.25;
// The grid brush (res/width3black.png) is a 3 x 3 black square stamped centred on every pixel
// of a line, so a line is 3 pixels wide and reaches one pixel past its ends: a square cap.
constexpr int kBrushWidth = 3;

// A length with at most two decimals, written the same in every locale.
std::string Number(double value) {
  value = std::round(value * 100.0) / 100.0;
  if (value == 0.0) value = 0.0;  // no "-0"
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// The centre of pixel `p`: the libgd painters address whole pixels.
std::string Centre(int p) { return Number(p + 0.5); }

// A family name as a quoted CSS string.
std::string CssString(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

// The length of the UTF-8 sequence `lead` starts, 0 for a byte no sequence starts with.
void AppendText(std::string& svg, int x, int y, double points, std::string_view utf8) {
  svg += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" font-size=\"" +
         Number(points * kPixelsPerPoint) + "\" xml:space=\"preserve\">" + EscapeXml(utf8) +
         "</text>\n";
}

}  // namespace

SvgFontFace FontFaceOf(const std::string& fontFile) {
  static std::mutex mutex;
  static std::map<std::string, SvgFontFace> faces;
  std::lock_guard lock(mutex);
  if (const auto found = faces.find(fontFile); found != faces.end()) return found->second;
  SvgFontFace face;
  int count = 0;
  FcPattern* pattern =
      fontFile.empty()
          ? nullptr
          : FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(fontFile.c_str()), 0, nullptr, &count);
  if (pattern) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch && family) {
      face.family = reinterpret_cast<const char*>(family);
    }
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(pattern, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
    face.bold = weight >= FC_WEIGHT_BOLD;
    face.italic = slant != FC_SLANT_ROMAN;
    FcPatternDestroy(pattern);
  }
  // A handful of font files per process at most: the settings name one.
  if (faces.size() > 64) faces.clear();
  faces.emplace(fontFile, face);
  return face;
}

std::string PaintSvg(const DiagramLayout& layout, const SvgDiagramText& text) {
  const std::string width = std::to_string(layout.width);
  const std::string height = std::to_string(layout.height);
  std::string svg;
  svg.reserve(2048);
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height +
         "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
  svg += "<title>" + EscapeXml(text.title) + "</title>\n";
  svg += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"#fff\"/>\n";

  // Texts first, as the libgd painter draws them: the grid and marks go over them.
  std::string family = text.face.family.empty() ? "" : CssString(text.face.family) + ", ";
  family += "serif";
  svg += "<g font-family=\"" + EscapeXml(family) + "\"";
  if (text.face.bold) svg += " font-weight=\"bold\"";
  if (text.face.italic) svg += " font-style=\"italic\"";
  svg += ">\n";
  if (!text.name.empty()) AppendText(svg, layout.nameX, layout.nameY, text.nameSize, text.name);
  for (const LabelPlacement& label : layout.labels) {
    AppendText(svg, label.x, label.y, text.labelSize, label.text);
  }
  svg += "</g>\n";

  // The grid: brushed lines, and a lone brush stamp for a string that is a single point.
  std::string lines, points;
  for (const StringLine& s : layout.strings) {
    if (s.y1 == s.y2) {
      const int half = kBrushWidth / 2;
      points += "<rect x=\"" + std::to_string(s.x - half) + "\" y=\"" +
                std::to_string(s.y1 - half) + "\" width=\"" + std::to_string(kBrushWidth) +
                "\" height=\"" + std::to_string(kBrushWidth) + "\"/>\n";
    } else {
      lines += "M" + Centre(s.x) + " " + Centre(s.y1) + "V" + Centre(s.y2);
    }
  }
  for (const FretLine& f : layout.frets) {
    lines += "M" + Centre(f.x1) + " " + Centre(f.y) + "H" + Centre(f.x2);
  }
  if (!lines.empty()) {
    svg += "<path d=\"" + lines + "\" fill=\"none\" stroke=\"#000\" stroke-width=\"" +
           std::to_string(kBrushWidth) + "\" stroke-linecap=\"square\"/>\n";
  }
  svg += points;

  // The string marks.
  for (const StringMark& m : layout.marks) {
    switch (m.kind) {
      case StringMark::Kind::kOpen:
        svg += "<circle cx=\"" + Centre(m.x) + "\" cy=\"" + Centre(m.y) + "\" r=\"" +
               Number(kCircleRadius) + "\" fill=\"none\" stroke=\"#000\" stroke-width=\"" +
               Number(kCircleStroke) + "\"/>\n";
        break;
      case StringMark::Kind::kGlyph:
        svg += "<circle cx=\"" + Centre(m.x) + "\" cy=\"" + Centre(m.y) + "\" r=\"" +
               Number(kGlyphRadius) + "\"/>\n";
        if (m.glyph > 0) {
          svg += "<text x=\"" + Centre(m.x) + "\" y=\"" + Number(m.y + 0.5 + kDigitHeight / 2) +
                 "\" font-family=\"sans-serif\" font-size=\"" + Number(kDigitSize) +
                 "\" text-anchor=\"middle\" fill=\"#fff\">" + std::to_string(m.glyph) + "</text>\n";
        }
        break;
      case StringMark::Kind::kMuted: {
        // Two one-pixel lines from corner pixel to corner pixel, both end pixels inked.
        const int x1 = m.x - kStringSpacing / 2, y1 = m.y;
        const int x2 = x1 + kMarkSize, y2 = y1 + kMarkSize;
        svg += "<path d=\"M" + Centre(x1) + " " + Centre(y1) + "L" + Centre(x2) + " " + Centre(y2) +
               "M" + Centre(x2) + " " + Centre(y1) + "L" + Centre(x1) + " " + Centre(y2) +
               "\" stroke=\"#000\" stroke-linecap=\"square\"/>\n";
        break;
      }
    }
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace strumlet
