// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Result.h"
#include "strumlet/html/PageStream.h"
#include "strumlet/pdb/CategoryTable.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramBatch.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {

// The markup of the database pages and the folder index: the classic pages as they have always
// been written, or HTML5 for today's browsers (ModernPage.h), laid out for phones and print.
enum class PageStyle { kClassic, kModern };

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
  // Per chord, the audio file its diagram links (beside the image); none where it is empty or
  // past the end. Without any the page is as it always was.
  std::vector<std::string> soundFiles;
  PageStyle pageStyle = PageStyle::kClassic;
};

// Called on the writing thread as diagrams get done: (chords done, chords of the page).
using ChordProgress = BatchProgress;

// What writing one database page came to; each part fails with what could not be written, for
// PageErrorText.
struct PageWritten {
  // The images: `path` the page, `reason` the first image's failure in words, `code` how many
  // images failed.
  Result<void> images;
  // The page file: kIo with its path and the errno value; kUnavailable when the diagram assets
  // were not loaded (nothing was written, and there is nothing to tell).
  Result<void> page;
  bool ok() const { return images.has_value() && page.has_value(); }
};

// Writes `baseName`.html and one image per chord into `destinationFolder`; shows nothing.
// When something could not be written the page is as complete as it could be made. Progress
// comes on the calling thread. The diagram assets must have been loaded (render/Assets.h):
// without them nothing is written. An exception from drawing (running out of memory) reaches
// the caller.
PageWritten WriteDatabasePage(const ChordDatabase& db, const std::string& baseName,
                              const std::filesystem::path& destinationFolder, ImageKind kind,
                              const PageOptions& options, const ChordProgress& progress = {});

// The message for a failure of PageWritten: the images' ("<first failure> (N more images of
// '<page>' could not be written either)") or the page file's (WriteFailureText); empty for
// the assets that were not loaded.
std::string PageErrorText(const Error& error);

// One heading table with `text` (escaped for HTML) as its caption.
void WriteHeadingTable(PageStream& page, const std::string& text);

// The timestamp line (`timestampFormat` takes the time as its one "%s"), the footer table and
// the closing tags shared by database pages and folder indexes.
void WritePageFooter(PageStream& page, const char* timestampFormat);

// A diagram side as the page shows it: size x percent / 100, the quotient truncated, kept
// within int for any stored percentage.
int ScaledSize(int size, int percent);

// "Could not write '<path>': <reason>", the message for a page, index or image file.
std::string WriteFailureText(const std::filesystem::path& path, int error);

}  // namespace strumlet
