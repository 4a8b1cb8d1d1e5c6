// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/convert/ConversionJob.h"

#include <algorithm>

#include "TellUser.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/export/DatabaseExport.h"
#include "strumlet/render/Assets.h"

namespace strumlet {
namespace {

JobStatus Refuse(const std::string& caption, const std::string& text) {
  TellUser(caption, text);
  return kJobUsageError;
}

}  // namespace

ConversionJob::ConversionJob(JobOptions options)
    : options_(std::move(options)), document_(options_.settings) {}

void ConversionJob::RequestStop() {
  stopRequested_ = true;
  document_.RequestStop();
}

JobStatus ConversionJob::Run() {
  ProcessingSettings& settings = options_.settings;
  shown_.clear();
  UseTunings(options_.tunings);
  for (const auto& [range, value] : {std::pair{kScaleRange, settings.m_nChordPercent},
                                     std::pair{kFontSizeRange, settings.m_nFontSize}}) {
    if (!range.Contains(value)) return Refuse("", range.problem);
  }
  settings.m_bJpeg = settings.m_bPng = settings.m_bSvg = false;
  for (const OutputFormat* format : options_.formats) {
    if (!format->page) continue;
    switch (*format->page) {
      case ImageKind::kJpeg:
        settings.m_bJpeg = true;
        break;
      case ImageKind::kPng:
        settings.m_bPng = true;
        break;
      case ImageKind::kSvg:
        settings.m_bSvg = true;
        break;
    }
  }
  std::string& fontFile = settings.m_strFontFile;
  const bool book = std::any_of(options_.formats.begin(), options_.formats.end(),
                                [](const OutputFormat* format) { return format->writeBook; });
  // The chord book draws its diagrams with the pages' font.
  const bool pages = settings.m_bJpeg || settings.m_bPng || settings.m_bSvg || book;
  if (!pages) {
    // No diagram is drawn: no font is needed.
  } else if (fontFile.empty()) {
    fontFile = DefaultFontFile();
    if (fontFile.empty()) {
      return Refuse("", "No TrueType font matches \"Times New Roman\"; name one with --font.");
    }
  } else {
    fontFile = AbsolutePath(fontFile, StartDirectory());
    if (!IsRegularFile(fontFile)) {
      return Refuse("", "The font file '" + fontFile + "' does not exist.");
    }
  }
  if (pages) {
    if (const auto font = CheckFontFile(fontFile); !font) {
      return Refuse("", FontProblemText(font.error()));
    }
  }

  std::string& path = settings.m_strDefaultPath;
  path = AbsolutePath(path, StartDirectory());
  if (!IsRegularFile(path) && !IsAccessibleDirectory(path)) {
    return Refuse("palm file Error", "'" + path + "' is not a valid file or folder path.");
  }
  std::string& output = settings.m_strOutputPath;
  output = AbsolutePath(output, StartDirectory());
  if (const auto made = MakeWritableFolder(output); !made) {
    return Refuse("Invalid Destination Folder", "'" + output + "' " + made.error().reason + ".");
  }

  for (const OutputFormat* format : options_.formats) {
    if (format->writeBook) {
      PdfBookSettings book;
      book.paper = options_.paper;
      book.style = PageOptionsFor(settings).style;
      document_.AddExtraOutput(
          {format->extension, std::string(" (") + format->name + ")",
           [write = format->writeBook, book](const ChordDatabase& db, const std::string& baseName,
                                             int sortOrder, const std::string& file) {
             const Result<void> written = write(db, baseName, sortOrder, file, book);
             if (!written) TellUser("", ExportErrorText(written.error()));
             return written.has_value();
           }});
    }
    if (!format->write) continue;
    document_.AddExtraOutput({format->extension, std::string(" (") + format->name + ")",
                              [write = format->write, chordPro = options_.chordPro](
                                  const ChordDatabase& db, const std::string& baseName,
                                  int sortOrder, const std::string& file) {
                                const Result<void> written =
                                    WriteExportFile(write, db, baseName, sortOrder, file, chordPro);
                                if (!written) TellUser("", ExportErrorText(written.error()));
                                return written.has_value();
                              }});
  }
  const bool opened = document_.OnOpenDocument(path);

  const ConversionSummary& summary = document_.summary();
  if (!summary.missingAsset.empty()) {
    TellUser("Error", MissingAssetMessage(summary.missingAsset), MessageIcon::Information);
    return kJobSomeFailed;
  }
  if (summary.invalidInput || summary.invalidOutput || summary.unusableFont) {
    return kJobUsageError;
  }
  if (stopRequested_) {
    return kJobInterrupted;
  }
  if (opened && !document_.PagePath.empty() && IsRegularFile(document_.PagePath)) {
    shown_ = document_.PagePath;
  }
  const bool allConverted = opened && summary.failures == 0 && !summary.indexFailed;
  return allConverted ? kJobConverted : kJobSomeFailed;
}

}  // namespace strumlet
