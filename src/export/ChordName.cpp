// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordName.h"

namespace strumlet {
namespace {

struct SuffixEntry {
  std::string_view suffix;
  const char* kind;
  ChordDegree degree = {};  // value 0: none
};

constexpr ChordDegree kAdd9{9, 0, "add"};
// A seventh degree of 0 is the dominant one, as chord symbols write it ("7" is b7).
constexpr ChordDegree kAddSeventh{7, 0, "add"};

// The table of ChordName.h, most common first.
constexpr SuffixEntry kSuffixes[] = {
    {"", "major"},
    {"M", "major"},
    {"maj", "major"},
    {"m", "minor"},
    {"min", "minor"},
    {"-", "minor"},
    {"7", "dominant"},
    {"maj7", "major-seventh"},
    {"M7", "major-seventh"},
    {"Maj7", "major-seventh"},
    {"ma7", "major-seventh"},
    {"m7", "minor-seventh"},
    {"min7", "minor-seventh"},
    {"-7", "minor-seventh"},
    {"dim", "diminished"},
    {"o", "diminished"},
    {"\xC2\xB0", "diminished"},
    {"dim7", "diminished-seventh"},
    {"o7", "diminished-seventh"},
    {"\xC2\xB0"
     "7",
     "diminished-seventh"},
    {"aug", "augmented"},
    {"+", "augmented"},
    {"aug7", "augmented-seventh"},
    {"+7", "augmented-seventh"},
    {"7#5", "augmented-seventh"},
    {"7+5", "augmented-seventh"},
    {"m7b5", "half-diminished"},
    {"m7-5", "half-diminished"},
    {"\xC3\xB8", "half-diminished"},
    {"\xC3\xB8"
     "7",
     "half-diminished"},
    {"mmaj7", "major-minor"},
    {"mMaj7", "major-minor"},
    {"mM7", "major-minor"},
    {"m(maj7)", "major-minor"},
    {"6", "major-sixth"},
    {"m6", "minor-sixth"},
    {"9", "dominant-ninth"},
    {"maj9", "major-ninth"},
    {"M9", "major-ninth"},
    {"m9", "minor-ninth"},
    {"11", "dominant-11th"},
    {"maj11", "major-11th"},
    {"m11", "minor-11th"},
    {"13", "dominant-13th"},
    {"maj13", "major-13th"},
    {"m13", "minor-13th"},
    {"sus2", "suspended-second"},
    {"sus4", "suspended-fourth"},
    {"sus", "suspended-fourth"},
    {"5", "power"},
    {"add9", "major", kAdd9},
    {"add2", "major", kAdd9},
    {"madd9", "minor", kAdd9},
    {"7sus4", "suspended-fourth", kAddSeventh},
    {"7sus", "suspended-fourth", kAddSeventh},
    {"7sus2", "suspended-second", kAddSeventh},
    {"6/9", "major-sixth", kAdd9},
    {"69", "major-sixth", kAdd9},
    {"7b9", "dominant", ChordDegree{9, -1, "add"}},
    {"7#9", "dominant", ChordDegree{9, 1, "add"}},
    {"7b5", "dominant", ChordDegree{5, -1, "alter"}},
};

// A note at the start of `text`: its length, 0 when there is none.
std::size_t ReadNote(std::string_view text, NoteName& note) {
  if (text.empty() || text[0] < 'A' || text[0] > 'G') return 0;
  note.step = text[0];
  note.alter = 0;
  if (text.size() > 1 && (text[1] == 'b' || text[1] == '#')) {
    note.alter = text[1] == 'b' ? -1 : 1;
    return 2;
  }
  return 1;
}

}  // namespace

NoteName SharpSpelling(int midiNote) {
  static constexpr char kSteps[] = "CCDDEFFGGAAB";
  static constexpr int kAlters[] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};
  const int pitchClass = (midiNote % 12 + 12) % 12;
  return NoteName{kSteps[pitchClass], kAlters[pitchClass]};
}

ChordName ParseChordName(std::string_view name) {
  ChordName chord;
  NoteName root;
  const std::size_t rootLength = ReadNote(name, root);
  if (rootLength == 0) {
    chord.suffix = std::string(name);
    return chord;
  }
  chord.root = root;
  std::string_view rest = name.substr(rootLength);
  // A bass note: the last "/" followed by a note and nothing else ("6/9" has none).
  if (const std::size_t slash = rest.rfind('/'); slash != std::string_view::npos) {
    NoteName bass;
    const std::string_view after = rest.substr(slash + 1);
    if (!after.empty() && ReadNote(after, bass) == after.size()) {
      chord.bass = bass;
      rest = rest.substr(0, slash);
    }
  }
  chord.suffix = std::string(rest);
  for (const SuffixEntry& entry : kSuffixes) {
    if (entry.suffix == rest) {
      chord.kind = entry.kind;
      if (entry.degree.value != 0) chord.degrees.push_back(entry.degree);
      break;
    }
  }
  return chord;
}

}  // namespace strumlet
