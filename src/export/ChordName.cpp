// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/ChordName.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace strumlet {
namespace {

struct SuffixEntry {
  std::string_view suffix;
  const char* kind;
  ChordDegree degree = {};  // value 0: none
  // The part of the suffix the kind spells, where a degree spells the rest: readers print the
  // kind's text and then every degree.
  std::string_view kindText = {};
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
    {"add9", "major", kAdd9, ""},
    {"add2", "major", kAdd9, ""},
    {"madd9", "minor", kAdd9, "m"},
    {"7sus4", "suspended-fourth", kAddSeventh, "sus4"},
    {"7sus", "suspended-fourth", kAddSeventh, "sus"},
    {"7sus2", "suspended-second", kAddSeventh, "sus2"},
    {"6/9", "major-sixth", kAdd9, "6"},
    {"69", "major-sixth", kAdd9, "6"},
    {"7b9", "dominant", ChordDegree{9, -1, "add"}, "7"},
    {"7#9", "dominant", ChordDegree{9, 1, "add"}, "7"},
    {"7b5", "dominant", ChordDegree{5, -1, "alter"}, "7"},
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

// The tones of each kind, in semitones above the root, and the suffix that names it.
struct KindTones {
  std::string_view kind;
  std::string_view suffix;
  std::initializer_list<int> tones;
};

constexpr KindTones kKindTones[] = {
    {"major", "", {0, 4, 7}},
    {"minor", "m", {0, 3, 7}},
    {"dominant", "7", {0, 4, 7, 10}},
    {"major-seventh", "maj7", {0, 4, 7, 11}},
    {"minor-seventh", "m7", {0, 3, 7, 10}},
    {"diminished", "dim", {0, 3, 6}},
    {"diminished-seventh", "dim7", {0, 3, 6, 9}},
    {"augmented", "aug", {0, 4, 8}},
    {"augmented-seventh", "aug7", {0, 4, 8, 10}},
    {"half-diminished", "m7b5", {0, 3, 6, 10}},
    {"major-minor", "mmaj7", {0, 3, 7, 11}},
    {"major-sixth", "6", {0, 4, 7, 9}},
    {"minor-sixth", "m6", {0, 3, 7, 9}},
    {"dominant-ninth", "9", {0, 4, 7, 10, 2}},
    {"major-ninth", "maj9", {0, 4, 7, 11, 2}},
    {"minor-ninth", "m9", {0, 3, 7, 10, 2}},
    {"dominant-11th", "11", {0, 4, 7, 10, 2, 5}},
    {"major-11th", "maj11", {0, 4, 7, 11, 2, 5}},
    {"minor-11th", "m11", {0, 3, 7, 10, 2, 5}},
    {"dominant-13th", "13", {0, 4, 7, 10, 2, 5, 9}},
    {"major-13th", "maj13", {0, 4, 7, 11, 2, 5, 9}},
    {"minor-13th", "m13", {0, 3, 7, 10, 2, 5, 9}},
    {"suspended-second", "sus2", {0, 2, 7}},
    {"suspended-fourth", "sus4", {0, 5, 7}},
    {"power", "5", {0, 7}},
};

// The semitones of a degree above the root, unaltered: a seventh is the dominant one.
int DegreeSemitones(int value) {
  static constexpr int kSteps[] = {0, 2, 4, 5, 7, 9, 10};  // 1 to 7
  return kSteps[(value - 1) % 7] + 12 * ((value - 1) / 7);
}

int PitchClass(const NoteName& note) {
  static constexpr int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A to G
  return ((kSteps[note.step - 'A'] + note.alter) % 12 + 12) % 12;
}

// One added, altered or left-out tone at the start of `text`: its length, 0 when there is none.
// "add9", "add2" (the ninth), "#11", "b9", "+5", "-5", "no3", "omit5".
std::size_t ReadDegree(std::string_view text, ChordDegree& degree) {
  std::size_t at = 0;
  degree = ChordDegree{};
  if (text.starts_with("add")) {
    at = 3;
  } else if (text.starts_with("no") || text.starts_with("omit")) {
    at = text[0] == 'n' ? 2 : 4;
    degree.type = "subtract";
  }
  if (at < text.size() && degree.type != std::string_view("subtract")) {
    const char sign = text[at];
    if (sign == 'b' || sign == '#' || sign == '+' || sign == '-') {
      degree.alter = sign == 'b' || sign == '-' ? -1 : 1;
      ++at;
    }
  }
  std::size_t digits = at;
  int value = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && value < 100) {
    value = value * 10 + (text[digits++] - '0');
  }
  if (digits == at) return 0;
  const bool added = at >= 3 && text.starts_with("add");
  if (degree.type == std::string_view("subtract")) {
    if (value != 1 && value != 3 && value != 5) return 0;
  } else if (added) {
    if (value == 2 || value == 4) value += 7;  // add2 is the ninth, add4 the eleventh
    if (value != 6 && value != 9 && value != 11 && value != 13) return 0;
  } else if (value == 5) {
    if (degree.alter == 0) return 0;
    degree.type = "alter";
  } else if (value != 9 && value != 11 && value != 13) {
    return 0;
  } else if (degree.alter == 0) {
    return 0;  // a bare number is no degree ("m7 9" is not read)
  }
  degree.value = value;
  return digits;
}

// Degrees that make up all of `text`, one after another or in parentheses with commas.
bool ReadDegrees(std::string_view text, std::vector<ChordDegree>& degrees) {
  bool open = false;
  while (!text.empty()) {
    if (!open && text[0] == '(') {
      open = true;
      text.remove_prefix(1);
      continue;
    }
    if (open && text[0] == ')') {
      open = false;
      text.remove_prefix(1);
      continue;
    }
    if (open && text[0] == ',' && !degrees.empty()) {
      text.remove_prefix(1);
      continue;
    }
    ChordDegree degree;
    const std::size_t length = ReadDegree(text, degree);
    if (length == 0) return false;
    degrees.push_back(degree);
    text.remove_prefix(length);
  }
  return !open && !degrees.empty();
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
  chord.kindText = chord.suffix;
  for (const SuffixEntry& entry : kSuffixes) {
    if (entry.suffix == rest) {
      chord.kind = entry.kind;
      if (entry.degree.value != 0) {
        chord.degrees.push_back(entry.degree);
        chord.kindText = std::string(entry.kindText);
      }
      return chord;
    }
  }
  // A suffix of the table followed by added, altered or left-out tones ("maj7#11", "m7b9b13",
  // "7(b9,#11)", "9no3"): readers that build the name from the kind and its degrees then show
  // all of it. The longest such suffix wins ("7#5#9" is an augmented seventh with a sharp nine).
  const SuffixEntry* best = nullptr;
  std::vector<ChordDegree> bestDegrees;
  for (const SuffixEntry& entry : kSuffixes) {
    if (entry.degree.value != 0 || !rest.starts_with(entry.suffix)) continue;
    if (best != nullptr && best->suffix.size() >= entry.suffix.size()) continue;
    std::vector<ChordDegree> degrees;
    if (ReadDegrees(rest.substr(entry.suffix.size()), degrees)) {
      best = &entry;
      bestDegrees = std::move(degrees);
    }
  }
  if (best != nullptr) {
    chord.kind = best->kind;
    chord.degrees = std::move(bestDegrees);
    chord.kindText = std::string(best->suffix);
  }
  return chord;
}

}  // namespace strumlet

namespace strumlet {

std::vector<int> ChordTones(const ChordName& chord) {
  if (!chord.Parsed()) return {};
  const KindTones* kind = nullptr;
  for (const KindTones& row : kKindTones) {
    if (row.kind == chord.kind) kind = &row;
  }
  if (kind == nullptr) return {};
  const int root = PitchClass(*chord.root);
  std::vector<int> tones(kind->tones);
  for (const ChordDegree& degree : chord.degrees) {
    const int natural = DegreeSemitones(degree.value) % 12;
    const std::string_view type = degree.type;
    if (type != "add") std::erase(tones, natural);
    if (type != "subtract") tones.push_back(((natural + degree.alter) % 12 + 12) % 12);
  }
  for (int& tone : tones) tone = (root + tone) % 12;
  if (chord.bass) tones.push_back(PitchClass(*chord.bass));
  std::sort(tones.begin(), tones.end());
  tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
  return tones;
}

std::string NameOfTones(const std::vector<int>& pitchClasses, int lowest) {
  std::vector<int> wanted = pitchClasses;
  std::sort(wanted.begin(), wanted.end());
  wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
  for (int shift = 0; shift < 12; ++shift) {
    const int root = (lowest + shift) % 12;
    for (const KindTones& row : kKindTones) {
      std::vector<int> tones;
      for (const int tone : row.tones) tones.push_back((root + tone) % 12);
      std::sort(tones.begin(), tones.end());
      if (tones != wanted) continue;
      const NoteName note = SharpSpelling(root);
      std::string name(1, note.step);
      if (note.alter != 0) name += '#';
      name += row.suffix;
      if (root != lowest) {
        const NoteName bass = SharpSpelling(lowest);
        name += "/" + std::string(1, bass.step) + (bass.alter != 0 ? "#" : "");
      }
      return name;
    }
  }
  return {};
}

}  // namespace strumlet
