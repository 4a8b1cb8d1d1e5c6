// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "strumlet/export/DatabaseExport.h"
#include "strumlet/export/PdfBookExport.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {

// One output a conversion can make: a page whose diagrams are images of one kind, or a file of
// the database's chords written beside the page. The command line's --format, the folder
// index's links and the window's Export menu are all made from the table of these, so a new
// format is its writer and one row.
struct OutputFormat {
  const char* word;       // its --format word
  const char* name;       // as users know it; the folder index links a file as "BASE (name)"
  const char* extension;  // with its dot; a page is always ".html"
  const char* menuText;   // the Export menu's entry; null for the pages, which it does not list
  const char* menuTip;
  bool inAll;  // made by --format all
  std::optional<ImageKind> page;
  ExportWriter write = nullptr;    // for the files
  BookWriter writeBook = nullptr;  // for the chord book, drawn with the run's diagram settings
};

// Every format, pages first, in the order a run writes them and the menu lists them.
std::span<const OutputFormat> OutputFormats();
// The format of a --format word; null for none.
const OutputFormat* FindOutputFormat(std::string_view word);

// The formats a --format value names (one or more words joined by commas, "both" and "all"
// among them), each once, in table order; nullopt when a word is none of them.
std::optional<std::vector<const OutputFormat*>> ParseFormats(const std::string& text);

// The --format help and what a value that is none of its words is told.
std::string FormatHelp();
std::string FormatProblem(const std::string& value);

}  // namespace strumlet
