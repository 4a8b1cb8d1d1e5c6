// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TerminalMessenger.h"

#include <cstdio>

#include "TerminalOutput.h"
#include "strumlet/core/FileSystem.h"

namespace strumlet {

TerminalMessenger::TerminalMessenger(bool showProgress) : showProgress_(showProgress) {}

TerminalMessenger::~TerminalMessenger() { ClearProgress(); }

std::string TerminalMessenger::MessageLine(const std::string& caption, const std::string& text,
                                           const std::string& database) {
  std::string line = text;
  // A message box text may end in a line break of its own; the line adds one anyway.
  while (!line.empty() && line.back() == '\n') {
    line.pop_back();
  }
  if (!caption.empty() && caption != "StrumletViewer") {
    line = caption + ": " + line;
  }
  // In a folder of many databases the reader's own texts would not say which file they mean.
  if (!database.empty()) {
    line = FileName(database).native() + ": " + line;
  }
  return line;
}

std::string TerminalMessenger::ProgressLine(const ConversionProgress& progress) {
  constexpr int kWidth = 24;
  const double databaseShare =
      progress.databasesTotal == 0
          ? 0.0
          : (static_cast<double>(progress.databasesDone) +
             (progress.chordsTotal == 0 ? 0.0
                                        : static_cast<double>(progress.chordsDone) /
                                              static_cast<double>(progress.chordsTotal))) /
                static_cast<double>(progress.databasesTotal);
  const int filled = static_cast<int>(databaseShare * kWidth + 0.5);
  std::string bar(static_cast<std::size_t>(filled < 0        ? 0
                                           : filled > kWidth ? kWidth
                                                             : filled),
                  '#');
  bar.resize(kWidth, '-');
  char text[160];
  std::snprintf(text, sizeof text, "[%s] databases %zu/%zu, chords %zu/%zu", bar.c_str(),
                progress.databasesDone, progress.databasesTotal, progress.chordsDone,
                progress.chordsTotal);
  return text;
}

void TerminalMessenger::ShowMessage(const std::string& caption, const std::string& text,
                                    MessageIcon) {
  ClearProgress();
  // Database names and paths are the user's files' names: printed escaped, never obeyed.
  std::fprintf(stderr, "%s\n", TerminalText(MessageLine(caption, text, database_)).c_str());
  std::fflush(stderr);
}

void TerminalMessenger::ShowProgress(const ConversionProgress& progress) {
  database_ = progress.database;
  if (!showProgress_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  const bool finished = progress.chordsDone == progress.chordsTotal;
  if (!finished && now - lastDraw_ < std::chrono::milliseconds(100)) {
    return;
  }
  std::string line = ProgressLine(progress);
  if (line == lastLine_ && progressShown_) {
    return;
  }
  std::fprintf(stderr, "\r\033[K%s", TerminalText(line, false).c_str());
  std::fflush(stderr);
  lastLine_ = std::move(line);
  lastDraw_ = now;
  progressShown_ = true;
}

void TerminalMessenger::ClearProgress() {
  if (progressShown_) {
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    progressShown_ = false;
    lastLine_.clear();
  }
}

}  // namespace strumlet
