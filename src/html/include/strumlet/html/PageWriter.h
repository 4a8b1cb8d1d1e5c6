// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "strumlet/core/FileSystem.h"
#include "strumlet/html/PageStream.h"
#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramBatch.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {

// What one database page is drawn with; the run options of the document that writes it.
struct PageOptions {
  int sortOrder = 2;
  int imagePercent = 100;
  bool frameImages = false;
  // The diagrams' sizes, font and hand; with altText every <img> says its diagram in words
  // (always on SVG pages).
  DiagramStyle style;
  // Threads drawing the diagrams of one page; 0 means one per core. The page, the files and
  // the messages are the same for every value.
  unsigned threads = 0;
};

// Called on the writing thread as diagrams get done: (chords done, chords of the page).
using ChordProgress = BatchProgress;

// Writes `baseName`.html and one image per chord into `destinationFolder`. Returns true when
// the page and every image were written; otherwise the user has been told what could not be
// written and the page is as complete as it could be made. Messages and progress come on the
// calling thread. The diagram assets must have been loaded (render/Assets.h): without them
// nothing is written, nothing is said and the result is false. An exception from drawing
// (running out of memory) reaches the caller.
bool WriteDatabasePage(const ChordDatabase& db, const std::string& baseName,
                       const std::string& destinationFolder, ImageKind kind,
                       const PageOptions& options, const ChordProgress& progress = {});

// One heading table with `text` (escaped for HTML) as its caption.
void WriteHeadingTable(PageStream& page, const std::string& text);

// The timestamp line (`timestampFormat` takes the time as its one "%s"), the footer table and
// the closing tags shared by database pages and folder indexes.
void WritePageFooter(PageStream& page, const char* timestampFormat);

// A diagram side as the page shows it: size x percent / 100, the quotient truncated, kept
// within int for any stored percentage.
int ScaledSize(int size, int percent);

// "Could not write '<path>': <reason>", the message for a page, index or image file.
std::string WriteFailureText(const std::string& path, int error);

}  // namespace strumlet
