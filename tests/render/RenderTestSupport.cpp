// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenderTestSupport.h"

#include <cstdlib>
#include <filesystem>

#include "strumlet/render/ChordDiagram.h"

namespace strumlet::test {

ChordRecord MakeChord(const std::string& name, int baseFret, std::initializer_list<int> frets,
                      uint8_t instrumentCode) {
  ChordRecord record;
  record.name = name;
  record.instrumentCode = instrumentCode;
  record.entryCount = static_cast<uint8_t>(frets.size() + 1);
  record.frets[0] = static_cast<int8_t>(baseFret);
  int r = 1;
  for (int v : frets) record.frets[r++] = static_cast<int8_t>(v);
  return record;
}

const std::string& TestFont() {
  static const std::string font = DefaultFontFile();
  return font;
}

DiagramStyle TestStyle(double nameSize, double labelSize, bool leftHanded) {
  DiagramStyle style;
  style.nameSize = nameSize;
  style.labelSize = labelSize;
  style.fontFile = TestFont();
  style.leftHanded = leftHanded;
  return style;
}

DiagramStyle StyleInFont(const std::string& fontFile, double nameSize) {
  DiagramStyle style = TestStyle(nameSize);
  style.fontFile = fontFile;
  return style;
}

bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

bool IsDark(const gdImageStruct* image, int x, int y) {
  auto* im = const_cast<gdImagePtr>(image);
  if (!gdImageBoundsSafe(im, x, y)) return false;
  const int c = gdImageGetPixel(im, x, y);
  return gdImageRed(im, c) + gdImageGreen(im, c) + gdImageBlue(im, c) < 3 * 128;
}

int CountDark(const gdImageStruct* image, int x1, int y1, int x2, int y2) {
  int count = 0;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) count += IsDark(image, x, y) ? 1 : 0;
  }
  return count;
}

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

}  // namespace strumlet::test
