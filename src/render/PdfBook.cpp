// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/PdfBook.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "PdfDiagramFile.h"
#include "PdfPainter.h"
#include "TextStamp.h"
#include "strumlet/core/CodePage.h"
#include "strumlet/render/BookLayout.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramBatch.h"
#include "strumlet/render/DiagramLayout.h"
#include "strumlet/render/DiagramText.h"

namespace strumlet {
namespace {

// A diagram pixel is a CSS pixel: 1/96 inch, as a browser prints the pages.
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr double kTitleSize = 24.0;
constexpr double kHeadingSize = 15.0;
constexpr double kFooterSize = 9.0;
constexpr double kFooterRoom = 18.0;  // between the box of diagrams and the footer's baseline
constexpr double kWordsSize = 6.5;
constexpr double kWordsLine = 8.0;
constexpr double kWordsAbove = 2.0;
constexpr double kWordsWidth = 100.0;  // the narrowest column the words are set in

// FreeType's library is shared by every book; opening and closing faces takes turns.
std::mutex& FaceMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library FreeType() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) made = nullptr;
    return made;
  }();
  return library;
}

const cairo_user_data_key_t kFaceKey{};

void CloseFace(void* face) {
  std::lock_guard lock(FaceMutex());
  FT_Done_Face(static_cast<FT_Face>(face));
}

// The font face of `fontFile` for cairo, which closes the FreeType face when it lets it go
// (it may keep it cached after the book is done). Null when the file cannot be read.
cairo_font_face_t* OpenFontFace(const std::string& fontFile) {
  FT_Face face = nullptr;
  {
    std::lock_guard lock(FaceMutex());
    if (!FreeType() || FT_New_Face(FreeType(), fontFile.c_str(), 0, &face) != 0) return nullptr;
  }
  cairo_font_face_t* font = cairo_ft_font_face_create_for_ft_face(face, 0);
  if (cairo_font_face_set_user_data(font, &kFaceKey, face, CloseFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(font);
    CloseFace(face);
    return nullptr;
  }
  return font;
}

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
  const PdfSink& sink = *static_cast<const PdfSink*>(closure);
  return sink(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// cairo writes the structure tree of the tags but may leave the catalog without /MarkInfo, so
// readers take the document for an untagged one; nor does it ask viewers to show the outline.
// This passes the document on and then appends an update (a new catalog with both, an xref
// section for it and a trailer pointing back) as the file format allows a document to be
// amended. It only watches the bytes going by: the catalog is the last object before the
// cross-reference table, and the trailer ends the document. Should either not be where it is
// expected, nothing is appended.
class CatalogAmendment {
 public:
  explicit CatalogAmendment(const PdfSink& sink) : sink_(sink) {}

  bool Write(const unsigned char* data, std::size_t size) {
    window_.append(reinterpret_cast<const char*>(data), size);
    offset_ += size;
    if (catalog_.empty()) {
      const std::size_t xref = window_.find("endobj\nxref\n");
      if (xref != std::string::npos) catalog_ = window_.substr(0, xref);
    }
    if (window_.size() > kWindow) window_.erase(0, window_.size() - kWindow);
    return sink_(data, size);
  }

  // After the document is finished; false when the sink refused the update.
  bool Append() {
    const std::size_t header = catalog_.rfind(" 0 obj\n");
    const std::size_t start = header == std::string::npos ? header : catalog_.find("<<", header);
    const std::size_t end = catalog_.rfind(">>");
    const std::size_t trailer = window_.rfind("trailer\n");
    if (start == std::string::npos || end == std::string::npos || end < start ||
        trailer == std::string::npos ||
        catalog_.find("/Type /Catalog", start) == std::string::npos) {
      return true;
    }
    const std::size_t line = catalog_.rfind('\n', header);
    const long object = Number(catalog_, line == std::string::npos ? 0 : line + 1);
    const long size = Number(window_, window_.find("/Size ", trailer) + 6);
    const long info = Number(window_, window_.find("/Info ", trailer) + 6);
    const long previous = Number(window_, window_.find("startxref\n", trailer) + 10);
    if (object <= 0 || size <= object || info <= 0 || previous <= 0) return true;

    std::string dictionary = catalog_.substr(start, end - start);
    if (dictionary.find("/MarkInfo") == std::string::npos) {
      dictionary += "   /MarkInfo << /Marked true >>\n";
    }
    if (dictionary.find("/Outlines") != std::string::npos &&
        dictionary.find("/PageMode") == std::string::npos) {
      dictionary += "   /PageMode /UseOutlines\n";
    }
    dictionary += ">>";
    const std::size_t objectAt = offset_ + 1;
    std::string update = "\n" + std::to_string(object) + " 0 obj\n" + dictionary + "\nendobj\n";
    const std::size_t xrefAt = offset_ + update.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", objectAt);
    update += "xref\n" + std::to_string(object) + " 1\n" + entry + "trailer\n<< /Size " +
              std::to_string(size) + "\n   /Root " + std::to_string(object) + " 0 R\n   /Info " +
              std::to_string(info) + " 0 R\n   /Prev " + std::to_string(previous) +
              "\n>>\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    return sink_(reinterpret_cast<const unsigned char*>(update.data()), update.size());
  }

 private:
  static constexpr std::size_t kWindow = 4096;

  // The decimal number at `at` in `text`; -1 when there is none.
  static long Number(const std::string& text, std::size_t at) {
    if (at >= text.size() || text[at] < '0' || text[at] > '9') return -1;
    long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && value < (1L << 40); ++at) {
      value = value * 10 + (text[at] - '0');
    }
    return value;
  }

  const PdfSink& sink_;
  std::string window_;   // the last bytes written
  std::string catalog_;  // what came before the cross-reference table
  std::size_t offset_ = 0;
};

// Texts measured and placed as the font designs them: the page has no pixels to fit.
void UnhintedText(cairo_t* cr) {
  cairo_font_options_t* fontOptions = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr, fontOptions);
  cairo_font_options_destroy(fontOptions);
}

double TextWidth(cairo_t* cr, const std::string& text, double size) {
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

// A text of one line set no larger than `size` and no wider than `width`.
double FittingSize(cairo_t* cr, const std::string& text, double size, double width) {
  const double natural = TextWidth(cr, text, size);
  return natural > width ? std::max(size * width / natural, 1.0) : size;
}

// `words` broken at spaces into lines no wider than `width` (a longer word stands alone).
std::vector<std::string> WrapWords(cairo_t* cr, const std::string& words, double width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start < words.size()) {
    std::size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(start, end - start);
    const std::string longer = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(cr, longer, kWordsSize) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// What the book places for one entry.
struct Piece {
  std::string text;  // the heading's or title's; the chord name
  double textSize = 0.0;
  std::size_t diagram = 0;         // index into the layouts, for a chord
  std::vector<std::string> words;  // printed under the diagram
  double scale = kPointsPerPixel;  // of the diagram: smaller for one wider than the page
};

}  // namespace

bool WritePdfBook(const std::string& title, std::span<const PdfBookEntry> entries,
                  const PdfBookOptions& options, const PdfSink& sink, std::string& problem) {
  // The layouts, as the pages' diagrams have them.
  std::vector<const ChordRecord*> chords;
  for (const PdfBookEntry& entry : entries) {
    if (entry.chord) chords.push_back(entry.chord);
  }
  std::vector<DiagramLayout> layouts(chords.size());
  DiagramStyle style = options.style;
  EnsureFontCache();
  if (!chords.empty()) {
    // The sizes in use after the defaults for small sizes were applied.
    const ChordDiagram first(*chords[0], options.style);
    style.nameSize = first.NameSize();
    style.labelSize = first.LabelSize();
  }
  const double nameSize = style.nameSize, labelSize = style.labelSize;
  RunInParallel(chords.size(), options.threads,
                [&](std::size_t i) {
                  const ChordDiagram diagram(*chords[i], style);
                  layouts[i] = diagram.Layout();
                },
                {});

  cairo_font_face_t* font = OpenFontFace(options.style.fontFile);
  if (!font) {
    problem = options.style.fontFile.empty()
                  ? "No TrueType font matches \"Times New Roman\"; choose a font file."
                  : "The font file '" + options.style.fontFile + "' cannot be read.";
    return false;
  }
  CatalogAmendment amendment(sink);
  const PdfSink amended = [&amendment](const unsigned char* data, std::size_t size) {
    return amendment.Write(data, size);
  };
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
      WriteToSink, const_cast<PdfSink*>(&amended), options.paperWidth, options.paperHeight);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "StrumletViewer");
  cairo_t* cr = cairo_create(surface);
  cairo_set_font_face(cr, font);
  UnhintedText(cr);
  // One root element holding the book's structure, as tagged PDF readers expect.
  cairo_tag_begin(cr, "Document", "");

  // What goes where.
  const double m = options.margin;
  BookGeometry geometry;
  geometry.width = options.paperWidth - 2 * m;
  geometry.height = options.paperHeight - 2 * m - kFooterRoom;
  std::vector<BookItem> items;
  std::vector<Piece> pieces;
  items.reserve(entries.size() + 1);
  pieces.reserve(entries.size() + 1);
  {
    const double size = FittingSize(cr, title, kTitleSize, geometry.width);
    items.push_back({BookItem::Kind::kTitle, TextWidth(cr, title, size), size * 1.25});
    pieces.push_back({title, size, 0, {}});
  }
  std::size_t chord = 0;
  for (const PdfBookEntry& entry : entries) {
    if (!entry.chord) {
      const double size = FittingSize(cr, entry.heading, kHeadingSize, geometry.width);
      items.push_back({BookItem::Kind::kHeading, TextWidth(cr, entry.heading, size), size * 1.25});
      pieces.push_back({entry.heading, size, 0, {}});
      continue;
    }
    const DiagramLayout& layout = layouts[chord];
    Piece piece{CodePageToUtf8(entry.chord->name), nameSize, chord, {}};
    piece.scale = std::min(kPointsPerPixel, geometry.width / layout.width);
    double width = layout.width * piece.scale;
    double height = layout.height * piece.scale;
    if (options.style.altText) {
      piece.words = WrapWords(cr, DescribeDiagram(*entry.chord, true),
                              std::min(std::max(width, kWordsWidth), geometry.width));
      for (const std::string& line : piece.words) {
        width = std::min(std::max(width, TextWidth(cr, line, kWordsSize)), geometry.width);
      }
      height += kWordsAbove + kWordsLine * static_cast<double>(piece.words.size());
    }
    items.push_back({BookItem::Kind::kDiagram, width, height});
    pieces.push_back(std::move(piece));
    ++chord;
  }
  const std::vector<BookPage> pages = LayOutBook(items, geometry);

  PdfDiagramPainter painter(font);
  int titleOutline = 0;
  char attributes[96];
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (const PlacedItem& placed : pages[p]) {
      const BookItem& item = items[placed.item];
      const Piece& piece = pieces[placed.item];
      const double x = m + placed.x, y = m + placed.y;
      std::snprintf(attributes, sizeof attributes, "page=%zu pos=[%.2f %.2f]", p + 1, x, y);
      if (item.kind != BookItem::Kind::kDiagram) {
        const bool isTitle = item.kind == BookItem::Kind::kTitle;
        const char* tag = isTitle ? "H1" : "H2";
        cairo_tag_begin(cr, tag, "");
        cairo_set_font_size(cr, piece.textSize);
        cairo_move_to(cr, x, y + piece.textSize);
        cairo_show_text(cr, piece.text.c_str());
        cairo_tag_end(cr, tag);
        const int outline = cairo_pdf_surface_add_outline(
            surface, isTitle ? CAIRO_PDF_OUTLINE_ROOT : titleOutline, piece.text.c_str(),
            attributes, isTitle ? CAIRO_PDF_OUTLINE_FLAG_OPEN : cairo_pdf_outline_flags_t{});
        if (isTitle) titleOutline = outline;
        continue;
      }
      const DiagramLayout& layout = layouts[piece.diagram];
      // The diagram is centred over its words.
      const double left = x + (item.width - layout.width * piece.scale) / 2;
      cairo_tag_begin(cr, "Figure", "");
      cairo_save(cr);
      cairo_translate(cr, left, y);
      cairo_scale(cr, piece.scale, piece.scale);
      painter.Paint(cr, layout, {piece.text, nameSize, labelSize});
      cairo_restore(cr);
      cairo_tag_end(cr, "Figure");
      if (!piece.words.empty()) {
        cairo_tag_begin(cr, "P", "");
        cairo_set_font_size(cr, kWordsSize);
        double line = y + layout.height * piece.scale + kWordsAbove + kWordsSize;
        for (const std::string& words : piece.words) {
          cairo_move_to(cr, x, line);
          cairo_show_text(cr, words.c_str());
          line += kWordsLine;
        }
        cairo_tag_end(cr, "P");
      }
    }
    const std::string folio = std::to_string(p + 1) + " / " + std::to_string(pages.size());
    cairo_set_font_size(cr, kFooterSize);
    cairo_move_to(cr, (options.paperWidth - TextWidth(cr, folio, kFooterSize)) / 2,
                  options.paperHeight - m);
    cairo_show_text(cr, folio.c_str());
    cairo_show_page(cr);
  }
  cairo_tag_end(cr, "Document");
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t written = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  cairo_font_face_destroy(font);
  if (drawn != CAIRO_STATUS_SUCCESS || written != CAIRO_STATUS_SUCCESS) {
    problem = cairo_status_to_string(drawn != CAIRO_STATUS_SUCCESS ? drawn : written);
    return false;
  }
  if (!amendment.Append()) {
    problem = cairo_status_to_string(CAIRO_STATUS_WRITE_ERROR);
    return false;
  }
  return true;
}

std::string DiagramPdf(const DiagramLayout& layout, const std::string& utf8Name, double nameSize,
                       double labelSize, const std::string& fontFile) {
  cairo_font_face_t* font = OpenFontFace(fontFile);
  if (!font) return {};
  std::string bytes;
  const PdfSink sink = [&bytes](const unsigned char* data, std::size_t size) {
    bytes.append(reinterpret_cast<const char*>(data), size);
    return true;
  };
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
      WriteToSink, const_cast<PdfSink*>(&sink), layout.width * kPointsPerPixel,
      layout.height * kPointsPerPixel);
  cairo_t* cr = cairo_create(surface);
  UnhintedText(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_scale(cr, kPointsPerPixel, kPointsPerPixel);
  {
    PdfDiagramPainter painter(font);
    painter.Paint(cr, layout, {utf8Name, nameSize, labelSize});
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  cairo_font_face_destroy(font);
  return written ? bytes : std::string();
}

}  // namespace strumlet
