// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

namespace strumlet {

// The program's command line. Only a few words are switches, written after "/" or "-" (any
// case for InstallAll); since "/" starts every absolute path, anything else is the path to open.
class CViewerCommandLineInfo {
 public:
  enum class ShellCommand {
    FileNew,      // no path: a new, empty document window
    FileOpen,     // the path in m_strFileName, then those in m_strMoreFileNames
    FileNothing,  // InstallAll: no document at start
    AppUnregister,
  };

  void ParseCommandLine(const std::vector<std::string>& arguments);

  ShellCommand m_nShellCommand = ShellCommand::FileNew;
  std::string m_strFileName;
  // Paths after the first, as a file manager passes a selection of several: each is opened in a
  // window of its own.
  std::vector<std::string> m_strMoreFileNames;
  bool m_bRunEmbedded = false;   // Embedding
  bool m_bRunAutomated = false;  // Automation
  bool m_bShowHelp = false;      // --help / -h
  bool m_bShowVersion = false;   // --version
};

// The text --help prints.
std::string CommandLineUsage();

}  // namespace strumlet
