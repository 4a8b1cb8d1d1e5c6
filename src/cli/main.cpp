// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-convert: converts one chord database, or every chord database of a folder, into web
// pages, and into ChordPro, MusicXML and JSON files, without a window. It runs the same conversion
// as the application's Open command.

#include <malloc.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "TerminalMessenger.h"
#include "TerminalOutput.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/export/DatabaseExport.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"

namespace {

constexpr int kConverted = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;
// As a shell reports a program ended by SIGINT.
constexpr int kInterrupted = 128 + SIGINT;

volatile std::sig_atomic_t interrupted = 0;
strumlet::CStrumletViewerDoc* running = nullptr;

// Ctrl+C ends the run after the database being written, so that no file is left half made; a
// second one ends the program at once.
void OnInterrupt(int) {
  interrupted = 1;
  if (running != nullptr) running->RequestStop();
}

void StopOnInterrupt(strumlet::CStrumletViewerDoc& document) {
  running = &document;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

// What --format asks for: one or more of its words, joined by commas.
struct Outputs {
  bool jpeg = false;
  bool png = false;
  bool svg = false;
  bool chordPro = false;
  bool musicXml = false;
  bool json = false;
  bool Pages() const { return jpeg || png || svg; }
  bool Exports(strumlet::ExportFormat format) const {
    switch (format) {
      case strumlet::ExportFormat::kChordPro:
        return chordPro;
      case strumlet::ExportFormat::kMusicXml:
        return musicXml;
      case strumlet::ExportFormat::kJson:
        return json;
    }
    return false;
  }
};

std::optional<Outputs> ParseFormat(const std::string& text) {
  Outputs outputs;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string word = text.substr(start, comma - start);
    if (word == "jpeg" || word == "both" || word == "all") outputs.jpeg = true;
    if (word == "png" || word == "both" || word == "all") outputs.png = true;
    if (word == "svg") outputs.svg = true;
    if (word == "chordpro" || word == "all") outputs.chordPro = true;
    if (word == "musicxml" || word == "all") outputs.musicXml = true;
    if (word == "json" || word == "all") outputs.json = true;
    static const std::set<std::string> kWords = {"jpeg",     "png",      "svg",  "both",
                                                 "chordpro", "musicxml", "json", "all"};
    if (kWords.count(word) == 0) return std::nullopt;
    if (comma == std::string::npos) return outputs;
    start = comma + 1;
  }
}

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

  CLI::App app{
      "Converts Strumlet chord databases into web pages and ChordPro, MusicXML and JSON "
      "files.",
      "strumlet-convert"};
  app.set_version_flag("--version", "strumlet-convert 1.0.0");
  app.get_formatter()->column_width(26);

  std::string path;
  std::string output = "./StrumletOutput/";
  std::string format = "jpeg";
  std::string sort = "position";
  int scale = 100;
  bool frame = false;
  bool leftHanded = false;
  bool altText = false;
  std::string fontFile;
  int fontSize = 12;
  bool quiet = false;
  bool noFingers = false;

  app.add_option("PATH", path, "a database file or a folder")->required();
  app.add_option("-o,--output", output, "output folder (default: ./StrumletOutput/)")
      ->type_name("DIR");
  app.add_option("-f,--format", format,
                 "pages with jpeg, png, svg or both (jpeg and png) images; chordpro, musicxml "
                 "or json files; or all (jpeg, png and the three files); several joined by "
                 "commas, such as svg,musicxml (default: jpeg)")
      ->type_name("FMT")
      ->check(CLI::Validator(
          [](const std::string& value) {
            return ParseFormat(value) ? std::string()
                                      : value +
                                            " is not jpeg, png, svg, both, chordpro, "
                                            "musicxml, json or all, nor several of them "
                                            "joined by commas";
          },
          "", "format"));
  app.add_option("-s,--sort", sort, "category, name or position (default: position)")
      ->type_name("ORDER")
      ->check(CLI::IsMember({"category", "name", "position"}));
  app.add_option("--scale", scale, "25 to 400 (default: 100)")->type_name("PERCENT");
  app.add_flag("--frame", frame, "frame every diagram");
  app.add_flag(
      "--left-handed", leftHanded,
      "draw the diagrams as a left-handed player sees the neck (under names of their own)");
  app.add_flag("--alt-text", altText,
               "describe every diagram in words on the pages, for screen readers and search");
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
  const Outputs outputs = ParseFormat(format).value_or(Outputs{});
  const bool pages = outputs.Pages();
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
  if (pages) {
    if (const auto font = strumlet::CheckFontFile(fontFile); !font) {
      return Refuse(messenger, "", strumlet::FontProblemText(font.error()));
    }
  }

  // Every argument is checked before anything is made on disk: a mistyped path must not leave
  // an empty output folder behind.
  path = strumlet::AbsolutePath(path, strumlet::StartDirectory());
  if (!strumlet::IsRegularFile(path) && !strumlet::IsAccessibleDirectory(path)) {
    return Refuse(messenger, "palm file Error",
                  "'" + path + "' is not a valid file or folder path.");
  }
  output = strumlet::AbsolutePath(output, strumlet::StartDirectory());
  if (const auto made = strumlet::MakeWritableFolder(output); !made) {
    return Refuse(messenger, "Invalid Destination Folder",
                  "'" + output + "' " + made.error().reason + ".");
  }

  strumlet::ProcessingSettings settings;
  settings.m_bJpeg = outputs.jpeg;
  settings.m_bPng = outputs.png;
  settings.m_bSvg = outputs.svg;
  settings.m_nChordPercent = scale;
  settings.m_bBorder = frame;
  settings.m_bLeftHanded = leftHanded;
  settings.m_bAltText = altText;
  settings.m_nSort = std::map<std::string, int>{{"category", strumlet::kSortByCategory},
                                                {"name", strumlet::kSortByName},
                                                {"position", strumlet::kSortByPosition}}
                         .at(sort);
  settings.m_strFontFile = fontFile;
  settings.m_nFontSize = fontSize;
  settings.m_strDefaultPath = path;
  settings.m_strOutputPath = output;

  strumlet::CStrumletViewerDoc document(settings);
  for (const strumlet::ExportFormat exported : strumlet::kExportFormats) {
    if (!outputs.Exports(exported)) continue;
    document.AddExtraOutput({strumlet::ExportExtension(exported),
                             std::string(" (") + strumlet::ExportFormatName(exported) + ")",
                             [exported, options = strumlet::ChordProOptions{!noFingers}](
                                 const strumlet::ChordDatabase& db, const std::string& baseName,
                                 int sortOrder, const std::string& file) {
                               return strumlet::WriteExportFile(exported, db, baseName, sortOrder,
                                                                file, options);
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
  StopOnInterrupt(document);
  const bool opened = document.OnOpenDocument(path);
  messenger.ClearProgress();
  signal(SIGINT, SIG_DFL);
  running = nullptr;

  const strumlet::ConversionSummary& summary = document.summary();
  if (!summary.missingAsset.empty()) {
    messenger.ShowMessage("Error", strumlet::MissingAssetMessage(summary.missingAsset),
                          strumlet::MessageIcon::Information);
    return kSomeFailed;
  }
  if (summary.invalidInput || summary.invalidOutput || summary.unusableFont) {
    return kUsageError;
  }
  if (interrupted) {
    return kInterrupted;
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
