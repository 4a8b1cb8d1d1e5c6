#pragma once

#include <string>

namespace strumlet {

// The processing options in memory: filled from the settings store by the application, or
// from its flags by the command line. A document copies them at the start of every open.
struct ProcessingSettings {
  bool m_bJpeg = false;
  bool m_bPng = false;
  int m_nChordPercent = 0;
  bool m_bBorder = false;
  int m_nSort = 0;  // 0 category, 1 name, 2 position
  std::string m_strFontFile;
  int m_nFontSize = 0;
  std::string m_strDefaultPath;
  std::string m_strOutputPath;
};

}  // namespace strumlet
