// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>

namespace strumlet::bench {

// The benchmarks' database, in the fixture writer's words (as bench/make-database.sh writes
// it): `chords` chords over twelve roots, eight kinds, nine base frets and three categories.
inline std::string Description(int chords) {
  static const char* const kRoots[] = {"C",  "Db", "D",  "Eb", "E",  "F",
                                       "F#", "G",  "Ab", "A",  "Bb", "B"};
  static const char* const kKinds[] = {"", "m", "7", "maj7", "m7", "sus4", "dim", "aug"};
  std::string text = "category 0 Unfiled id 0\ncategory 1 Major\ncategory 2 Minor\n";
  text.reserve(static_cast<std::size_t>(chords) * 64);
  for (int i = 0; i < chords; ++i) {
    const int base = i % 9 + 1;
    text += "{define: \"";
    text += kRoots[i % 12];
    text += kKinds[(i / 12) % 8];
    text += "\" base-fret " + std::to_string(base) + " frets x " + std::to_string(i % 4 + 1) + " " +
            std::to_string((i / 4) % 4 + 1) + " 0 " + std::to_string(i % 3 + 1) +
            " 1 fingers x 1 2 0 3 1}\ncategory " + std::to_string(i % 3) + "\n";
  }
  return text;
}

}  // namespace strumlet::bench
