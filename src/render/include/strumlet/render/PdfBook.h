// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "strumlet/render/DiagramStyle.h"

#include "strumlet/pdb/ChordRecord.h"

namespace strumlet {

// One thing of a chord book in reading order: a heading (UTF-8), or a chord.
struct PdfBookEntry {
  std::string heading;                 // when `chord` is null
  const ChordRecord* chord = nullptr;  // kept by the caller while the book is written
};

// How a book is printed. Lengths in points (1/72 inch).
struct PdfBookOptions {
  double paperWidth = 595.276;  // A4
  double paperHeight = 841.89;
  double margin = 42.52;  // 15 mm: every home printer prints that close to the edge
  // The diagrams as the pages draw them; the font's glyphs are embedded as a subset, and with
  // altText each diagram's words are printed under it.
  DiagramStyle style;
  unsigned threads = 0;  // laying the diagrams out; 0: one per core
};

// Receives the document's bytes in order; false stops the writing.
using PdfSink = std::function<bool(const unsigned char* data, std::size_t size)>;

// Writes the chord book titled `title` (UTF-8) as a PDF document: the title on the first page,
// then every entry in order, the chords as vector diagrams in rows with their names beneath,
// never split across pages, a heading never the last thing on a page, and "page / pages" at
// every page's foot. The title and headings are the outline and the tagged headings, the
// diagrams tagged figures; every text is real text. False, with `problem` in words, when the
// font cannot be read or the document cannot be made or written.
bool WritePdfBook(const std::string& title, std::span<const PdfBookEntry> entries,
                  const PdfBookOptions& options, const PdfSink& sink, std::string& problem);

}  // namespace strumlet
