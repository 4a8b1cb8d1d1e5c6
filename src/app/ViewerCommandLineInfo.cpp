// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/ViewerCommandLineInfo.h"

#include <algorithm>
#include <cctype>

namespace strumlet {
namespace {

bool SameWord(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

void CViewerCommandLineInfo::ParseCommandLine(const std::vector<std::string>& arguments) {
  bool nothing = false;
  bool unregister = false;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      m_bShowHelp = true;
      continue;
    }
    if (argument == "--version" || argument == "-v") {
      m_bShowVersion = true;
      continue;
    }
    if (argument.size() > 1 && (argument.front() == '/' || argument.front() == '-')) {
      const std::string word = argument.substr(1);
      if (SameWord(word, "InstallAll")) {
        nothing = true;
        continue;
      }
      if (SameWord(word, "Embedding")) {
        m_bRunEmbedded = true;
        continue;
      }
      if (SameWord(word, "Automation")) {
        m_bRunAutomated = true;
        continue;
      }
      if (SameWord(word, "Unregister") || SameWord(word, "Unregserver")) {
        unregister = true;
        continue;
      }
    }
    // The first plain argument names the document; later ones are opened after it.
    if (m_strFileName.empty()) {
      m_strFileName = argument;
    } else {
      m_strMoreFileNames.push_back(argument);
    }
  }
  if (unregister) {
    m_nShellCommand = ShellCommand::AppUnregister;
  } else if (!m_strFileName.empty()) {
    m_nShellCommand = ShellCommand::FileOpen;
  }
  // InstallAll wins over a path given with it: nothing is opened at start.
  if (nothing) {
    m_nShellCommand = ShellCommand::FileNothing;
  }
}

std::string CommandLineUsage() {
  return "Usage: strumletviewer [PATH]...\n"
         "Shows Strumlet chord databases as web pages.\n"
         "\n"
         "  PATH          a .pdb database or a folder of them, converted with the options\n"
         "                the Open command would propose (File, Open shows them);\n"
         "                each PATH gets a window of its own\n"
         "  /InstallAll   start without a document window\n"
         "  -h, --help    show this help and exit\n"
         "  -v, --version show the version and exit\n"
         "\n"
         "Without PATH a window with the quick instructions opens.\n";
}

}  // namespace strumlet
