// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "strumlet/convert/OutputFormats.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/pdb/Tuning.h"

namespace strumlet {

// What a run without a window is asked for: the settings (the input and output paths among
// them; the image kinds are taken from `formats`), the formats and the file options.
struct JobOptions {
  ProcessingSettings settings;
  std::vector<const OutputFormat*> formats;
  ChordProOptions chordPro;
  PaperSize paper;  // of the chord book; empty: the system's
  // The instruments' tunings for the run; a code not named keeps its usual one.
  std::vector<Tuning> tunings;
};

// The exit statuses of a run, as the command line ends with them.
enum JobStatus : int {
  kJobConverted = 0,
  kJobSomeFailed = 1,         // a database, the index or an asset failed; the others were written
  kJobUsageError = 2,         // an argument was unusable; nothing was made
  kJobInterrupted = 128 + 2,  // as a shell reports a program ended by SIGINT
};

// One conversion of a database file or folder into every format asked for. Run checks every
// argument before anything is made on disk (a mistyped path must leave no empty output folder
// behind), converts, and returns the exit status; what went wrong has been told through the
// messenger.
class ConversionJob {
 public:
  explicit ConversionJob(JobOptions options);
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  JobStatus Run();

  // Ends the run after the database being written, so that no file is left half made. Safe
  // from a signal handler.
  void RequestStop();

  void SetProgressCallback(std::function<void(const ConversionProgress&)> callback) {
    document_.SetProgressCallback(std::move(callback));
  }

  // The page or file to show after a run that made one; empty otherwise.
  const std::filesystem::path& ShownPath() const { return shown_; }

 private:
  JobOptions options_;
  CStrumletViewerDoc document_;
  std::atomic<bool> stopRequested_{false};
  std::filesystem::path shown_;
};

}  // namespace strumlet
