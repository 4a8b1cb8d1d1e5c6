// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <string>

#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {

// Prints every message as one line on standard error and, when standard error is a terminal,
// keeps a progress line below them that is cleared before each message.
class TerminalMessenger final : public Messenger {
 public:
  explicit TerminalMessenger(bool showProgress);
  ~TerminalMessenger() override;

  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
  void ShowProgress(const ConversionProgress& progress);
  void ClearProgress();

  // The line a message is printed as: the text, behind its caption unless that is the
  // application's own title, and behind the file name of the database it concerns, if any.
  static std::string MessageLine(const std::string& caption, const std::string& text,
                                 const std::string& database = "");
  static std::string ProgressLine(const ConversionProgress& progress);

 private:
  bool showProgress_;
  bool progressShown_ = false;
  std::string database_;  // the database being converted, named in its messages
  std::string lastLine_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace strumlet
