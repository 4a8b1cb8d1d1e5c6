// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-convert: converts one chord database, or every chord database of a folder, into web
// pages, and into ChordPro, MusicXML and JSON files, without a window. It runs the same conversion
// as the application's Open command.

#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "TerminalMessenger.h"
#include "TerminalOutput.h"
#include "strumlet/convert/ConversionJob.h"
#include "strumlet/convert/NameCheckRun.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/export/PaperSize.h"
#include "strumlet/pdb/Tuning.h"

namespace {

strumlet::ConversionJob* running = nullptr;

// Ctrl+C ends the run after the database being written, so that no file is left half made; a
// second one ends the program at once.
void OnInterrupt(int) {
  if (running != nullptr) running->RequestStop();
}

void StopOnInterrupt(strumlet::ConversionJob& job) {
  running = &job;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

struct Parsed {
  strumlet::JobOptions options;
  bool quiet = false;
  bool checkNames = false;
};

// The job the arguments ask for, or the exit status of a help, version or usage error (which
// has been printed).
std::variant<Parsed, int> Parse(int argc, char** argv) {
  CLI::App app{
      "Converts Strumlet chord databases into web pages and ChordPro, MusicXML and JSON "
      "files.",
      "strumlet-convert"};
  app.set_version_flag("--version", "strumlet-convert 1.0.0");
  app.get_formatter()->column_width(26);

  Parsed parsed;
  strumlet::ProcessingSettings& settings = parsed.options.settings;
  settings.m_strOutputPath = "./StrumletOutput/";
  settings.m_nChordPercent = 100;
  settings.m_nFontSize = 12;
  std::string format = "jpeg";
  std::string sort = "position";
  bool noFingers = false;
  std::string paper;
  std::vector<std::string> tunings;
  std::string pageStyle = "classic";

  app.add_option("PATH", settings.m_strDefaultPath, "a database file or a folder")->required();
  app.add_option("-o,--output", settings.m_strOutputPath,
                 "output folder (default: ./StrumletOutput/)")
      ->type_name("DIR");
  app.add_option("-f,--format", format, strumlet::FormatHelp())
      ->type_name("FMT")
      ->check(CLI::Validator(
          [](const std::string& value) {
            return strumlet::ParseFormats(value) ? std::string() : strumlet::FormatProblem(value);
          },
          "", "format"));
  app.add_option("-s,--sort", sort, "category, name or position (default: position)")
      ->type_name("ORDER")
      ->check(CLI::IsMember({"category", "name", "position"}));
  app.add_option("--scale", settings.m_nChordPercent, "25 to 400 (default: 100)")
      ->type_name("PERCENT");
  app.add_flag("--frame", settings.m_bBorder, "frame every diagram");
  app.add_flag(
      "--left-handed", settings.m_bLeftHanded,
      "draw the diagrams as a left-handed player sees the neck (under names of their own)");
  app.add_flag("--alt-text", settings.m_bAltText,
               "describe every diagram in words on the pages, for screen readers and search");
  app.add_flag("--sound", settings.m_bSound,
               "also write an audio file (Ogg Vorbis) of every chord beside its diagram, linked "
               "by the page");
  app.add_option("--page-style", pageStyle,
                 "classic, or modern: HTML5 pages and index for phones, dark mode and print "
                 "(default: classic)")
      ->type_name("STYLE")
      ->check(CLI::IsMember({"classic", "modern"}));
  app.add_option("--font", settings.m_strFontFile,
                 "TrueType font (default: the fontconfig match for \"Times New Roman\")")
      ->type_name("FILE");
  app.add_option("--font-size", settings.m_nFontSize, "chord-name font size, 8 to 36 (default: 12)")
      ->type_name("N");
  app.add_flag("--no-fingers", noFingers,
               "ChordPro files without finger numbers, for readers older than ChordPro 6");
  app.add_option("--tuning", tunings,
                 "INSTRUMENT=TUNING: guitar, ukulele, banjo or a code 0 to 4, and a common "
                 "tuning (guitar=dadgad, 2=mandolin) or a pitch per string "
                 "(banjo=\"G4 C3 G3 C4 D4\"); again for another instrument")
      ->type_name("TUNING")
      ->check(CLI::Validator(
          [](const std::string& value) {
            const strumlet::Result<strumlet::Tuning> tuning = strumlet::ReadTuningChoice(value);
            return tuning ? std::string() : tuning.error().reason;
          },
          "", "tuning"));
  app.add_flag("--check-names", parsed.checkNames,
               "convert nothing: list the chords whose notes are not the chord their name says");
  app.add_option("--paper", paper,
                 "paper of the PDF chord book, a4 or letter (default: the system's paper)")
      ->type_name("SIZE")
      ->check(CLI::Validator(
          [](const std::string& value) {
            return strumlet::NamedPaper(value) ? std::string() : value + " is not a4 or letter";
          },
          "", "paper"));
  app.add_flag("-q,--quiet", parsed.quiet, "no progress output");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return static_cast<int>(strumlet::kJobUsageError);
  }
  parsed.options.formats = strumlet::ParseFormats(format).value_or(parsed.options.formats);
  // The sounds go beside the diagrams and are linked from their pages: without either there
  // would be nothing to show for the option.
  if (settings.m_bSound &&
      std::none_of(parsed.options.formats.begin(), parsed.options.formats.end(),
                   [](const strumlet::OutputFormat* f) { return f->page.has_value(); })) {
    std::fprintf(stderr,
                 "--sound: the chord sounds go beside the diagrams, and --format %s draws none: "
                 "add png, jpeg or svg.\nRun with --help for more information.\n",
                 format.c_str());
    return static_cast<int>(strumlet::kJobUsageError);
  }
  parsed.options.chordPro = strumlet::ChordProOptions{!noFingers};
  for (const std::string& tuning : tunings) {
    parsed.options.tunings.push_back(*strumlet::ReadTuningChoice(tuning));
  }
  settings.m_bModernPage = pageStyle == "modern";
  if (!paper.empty()) parsed.options.paper = *strumlet::NamedPaper(paper);
  settings.m_nSort = std::map<std::string, int>{{"category", strumlet::kSortByCategory},
                                                {"name", strumlet::kSortByName},
                                                {"position", strumlet::kSortByPosition}}
                         .at(sort);
  return parsed;
}

int Run(int argc, char** argv) {
  strumlet::StartDirectory();
  // Every diagram takes and frees the same few large buffers (its image, the compressor's
  // state). Keeping freed memory for reuse spares the system calls and the cross-core cache
  // flushes of handing it back each time; the peak stays a few megabytes higher.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 32 << 20);

  auto parsed = Parse(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  Parsed& arguments = std::get<Parsed>(parsed);

  strumlet::TerminalMessenger messenger(!arguments.quiet && ::isatty(STDERR_FILENO));
  strumlet::ScopedMessenger installed(messenger);
  if (arguments.checkNames) {
    const strumlet::ProcessingSettings& settings = arguments.options.settings;
    strumlet::UseTunings(arguments.options.tunings);
    const strumlet::NameCheckRun check =
        strumlet::CheckNames(settings.m_strDefaultPath, settings.m_nSort);
    if (!check.ran) return strumlet::kJobUsageError;
    std::fputs((check.report + check.summary + "\n").c_str(), stdout);
    return strumlet::kJobConverted;
  }
  strumlet::ConversionJob job(std::move(arguments.options));
  job.SetProgressCallback([&messenger](const strumlet::ConversionProgress& progress) {
    if (!progress.waitingFor.empty()) {
      // Said even with --quiet: without it the wait would look like a hang.
      messenger.ShowMessage(
          "", "Waiting for another conversion into '" + progress.waitingFor + "' to end...",
          strumlet::MessageIcon::None);
      return;
    }
    messenger.ShowProgress(progress);
  });
  StopOnInterrupt(job);
  const strumlet::JobStatus status = job.Run();
  messenger.ClearProgress();
  signal(SIGINT, SIG_DFL);
  running = nullptr;
  if (!job.ShownPath().empty()) strumlet::PrintOutputLine(job.ShownPath().native());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A page path that never reached its reader (a full disk, a closed pipe) is no success.
  return strumlet::FinishStandardOutput("strumlet-convert", Run(argc, argv));
}
