// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/html/PageWriter.h"

namespace strumlet {

// The values a setting may take, and what the user is told of one outside them. The Open dialog
// and the command line check against the same ranges.
struct SettingRange {
  int lowest;
  int highest;
  const char* problem;
  constexpr bool Contains(int value) const { return value >= lowest && value <= highest; }
};
// The display scale, in percent.
inline constexpr SettingRange kScaleRange{25, 400, "The scale must be between 25 and 400."};
// The chord-name font size.
inline constexpr SettingRange kFontSizeRange{8, 36, "Please enter an integer between 8 and 36."};

// The processing options in memory: filled from the settings store by the application, or
// from its flags by the command line. A document copies them at the start of every open.
struct ProcessingSettings {
  bool m_bJpeg = false;
  bool m_bPng = false;
  bool m_bSvg = false;  // a page with SVG diagrams, written after the JPEG and PNG ones
  int m_nChordPercent = 0;
  bool m_bBorder = false;
  bool m_bLeftHanded = false;  // diagrams as a left-handed player sees the neck
  bool m_bAltText = false;     // pages describe every diagram in words
  bool m_bSound = false;       // an audio file per chord beside its image, linked by the page
  bool m_bPlaySound = false;   // the window plays the chord of a diagram clicked
  bool m_bModernPage = false;  // pages and index for today's browsers, not the classic ones
  int m_nSort = 0;             // 0 category, 1 name, 2 position
  std::string m_strFontFile;
  int m_nFontSize = 0;
  std::string m_strDefaultPath;
  std::string m_strOutputPath;
  bool operator==(const ProcessingSettings&) const = default;
};

// What the pages and their diagrams of a run are drawn with: the one place the processing
// settings become page options and diagram style. The document takes its run options from it at
// the start of every open, whichever front end (command line or window) opens it; a new diagram
// or page option is filled here. The drawing threads are the document's, not a setting: they
// stay at the default.
PageOptions PageOptionsFor(const ProcessingSettings& settings);

}  // namespace strumlet
