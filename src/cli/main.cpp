// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-convert: converts one chord database, or every chord database of a folder, into web
// pages and ChordPro files without a window. It runs the same conversion as the application's
// Open command.

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "TerminalMessenger.h"
#include "TerminalOutput.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/export/ChordProExport.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"

namespace {

constexpr int kConverted = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

int Refuse(strumlet::TerminalMessenger& messenger, const std::string& caption,
           const std::string& text) {
  messenger.ShowMessage(
      caption, text,
      caption.empty() ? strumlet::MessageIcon::Exclamation : strumlet::MessageIcon::None);
  return kUsageError;
}

int Run(int argc, char** argv) {
  strumlet::StartDirectory();
  // Every diagram takes and frees the same few large buffers (its image, the compressor's
  // state). Keeping freed memory for reuse spares the system calls and the cross-core cache
  // flushes of handing it back each time; the peak stays a few megabytes higher.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 32 << 20);

  CLI::App app{"Converts Strumlet chord databases into web pages and ChordPro files.",
               "strumlet-convert"};
  app.set_version_flag("--version", "strumlet-convert 1.0.0");
  app.get_formatter()->column_width(26);

  std::string path;
  std::string output = "./StrumletOutput/";
  std::string format = "jpeg";
  std::string sort = "position";
  int scale = 100;
  bool frame = false;
  std::string fontFile;
  int fontSize = 12;
  bool quiet = false;
  bool noFingers = false;

  app.add_option("PATH", path, "a database file (name ending in \"pdb\" or \"PDB\") or a folder")
      ->required();
  app.add_option("-o,--output", output, "output folder (default: ./StrumletOutput/)")
      ->type_name("DIR");
  app.add_option("-f,--format", format,
                 "pages with jpeg, png or both images, chordpro files, or all of them "
                 "(default: jpeg)")
      ->type_name("FMT")
      ->check(CLI::IsMember({"jpeg", "png", "both", "chordpro", "all"}));
  app.add_option("-s,--sort", sort, "category, name or position (default: position)")
      ->type_name("ORDER")
      ->check(CLI::IsMember({"category", "name", "position"}));
  app.add_option("--scale", scale, "25 to 400 (default: 100)")->type_name("PERCENT");
  app.add_flag("--frame", frame, "frame every diagram");
  app.add_option("--font", fontFile,
                 "TrueType font (default: the fontconfig match for \"Times New Roman\")")
      ->type_name("FILE");
  app.add_option("--font-size", fontSize, "chord-name font size, 8 to 36 (default: 12)")
      ->type_name("N");
  app.add_flag("--no-fingers", noFingers,
               "ChordPro files without finger numbers, for readers older than ChordPro 6");
  app.add_flag("-q,--quiet", quiet, "no progress output");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsageError;
  }

  strumlet::TerminalMessenger messenger(!quiet && ::isatty(STDERR_FILENO));
  strumlet::ScopedMessenger installed(messenger);

  for (const auto& [range, value] :
       {std::pair{strumlet::kScaleRange, scale}, std::pair{strumlet::kFontSizeRange, fontSize}}) {
    if (!range.Contains(value)) return Refuse(messenger, "", range.problem);
  }
  const bool pages = format != "chordpro";
  const bool chordPro = format == "chordpro" || format == "all";
  if (!pages) {
    // No diagram is drawn: no font is needed.
  } else if (fontFile.empty()) {
    fontFile = strumlet::DefaultFontFile();
    if (fontFile.empty()) {
      return Refuse(messenger, "",
                    "No TrueType font matches \"Times New Roman\"; name one with --font.");
    }
  } else {
    fontFile = strumlet::AbsolutePath(fontFile, strumlet::StartDirectory());
    if (!strumlet::IsRegularFile(fontFile)) {
      return Refuse(messenger, "", "The font file '" + fontFile + "' does not exist.");
    }
  }

  // Every argument is checked before anything is made on disk: a mistyped path must not leave
  // an empty output folder behind.
  path = strumlet::AbsolutePath(path, strumlet::StartDirectory());
  if (strumlet::EndsInPdb(path) ? !strumlet::IsRegularFile(path)
                                : !strumlet::IsAccessibleDirectory(path)) {
    return Refuse(messenger, "palm file Error",
                  "'" + path + "' is not a valid file or folder path.");
  }
  output = strumlet::AbsolutePath(output, strumlet::StartDirectory());
  if (!strumlet::MakeWritableFolder(output)) {
    return Refuse(messenger, "Invalid Destination Folder",
                  "'" + output + "' is not a valid file or folder path.");
  }

  strumlet::ProcessingSettings settings;
  settings.m_bJpeg = pages && format != "png";
  settings.m_bPng = pages && format != "jpeg";
  settings.m_nChordPercent = scale;
  settings.m_bBorder = frame;
  settings.m_nSort = std::map<std::string, int>{{"category", strumlet::kSortByCategory},
                                                {"name", strumlet::kSortByName},
                                                {"position", strumlet::kSortByPosition}}
                         .at(sort);
  settings.m_strFontFile = fontFile;
  settings.m_nFontSize = fontSize;
  settings.m_strDefaultPath = path;
  settings.m_strOutputPath = output;

  strumlet::CStrumletViewerDoc document(settings);
  if (chordPro) {
    document.SetExtraOutput({".cho", " (ChordPro)",
                             [options = strumlet::ChordProOptions{!noFingers}](
                                 const strumlet::ChordDatabase& db, const std::string& baseName,
                                 int sortOrder, const std::string& file) {
                               return strumlet::WriteChordProFile(db, baseName, sortOrder, file,
                                                                  options);
                             }});
  }
  document.SetProgressCallback([&messenger](const strumlet::ConversionProgress& progress) {
    if (!progress.waitingFor.empty()) {
      // Said even with --quiet: without it the wait would look like a hang.
      messenger.ShowMessage(
          "", "Waiting for another conversion into '" + progress.waitingFor + "' to end...",
          strumlet::MessageIcon::None);
      return;
    }
    messenger.ShowProgress(progress);
  });
  const bool opened = document.OnOpenDocument(path);
  messenger.ClearProgress();

  const strumlet::ConversionSummary& summary = document.summary();
  if (!summary.missingAsset.empty()) {
    messenger.ShowMessage("Error", strumlet::MissingAssetMessage(summary.missingAsset),
                          strumlet::MessageIcon::Information);
    return kSomeFailed;
  }
  if (summary.invalidInput || summary.invalidOutput) {
    return kUsageError;
  }
  if (opened && !document.PagePath.empty() && strumlet::IsRegularFile(document.PagePath)) {
    strumlet::PrintOutputLine(document.PagePath);
  }
  const bool allConverted = opened && summary.failures == 0 && !summary.indexFailed;
  return allConverted ? kConverted : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv) {
  // A page path that never reached its reader (a full disk, a closed pipe) is no success.
  return strumlet::FinishStandardOutput("strumlet-convert", Run(argc, argv));
}
