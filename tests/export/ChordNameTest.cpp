// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Chord names taken apart for notation programs: every suffix of the table, bass notes, and
// names that do not parse.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "strumlet/export/ChordName.h"

namespace strumlet {
namespace {

// "kind" or "kind+degree" (e.g. "dominant+9#add") for a parsed name, "-" otherwise.
std::string Kind(const std::string& name) {
  const ChordName chord = ParseChordName(name);
  if (!chord.Parsed()) return "-";
  std::string kind = chord.kind;
  for (const ChordDegree& degree : chord.degrees) {
    kind += "+" + std::to_string(degree.value) +
            (degree.alter < 0   ? "b"
             : degree.alter > 0 ? "#"
                                : "") +
            degree.type;
  }
  return kind;
}

TEST(ChordName, EverySuffixOfTheTable) {
  const std::vector<std::pair<std::string, std::string>> table = {
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
      {"add9", "major+9add"},
      {"add2", "major+9add"},
      {"madd9", "minor+9add"},
      {"7sus4", "suspended-fourth+7add"},
      {"7sus", "suspended-fourth+7add"},
      {"7sus2", "suspended-second+7add"},
      {"6/9", "major-sixth+9add"},
      {"69", "major-sixth+9add"},
      {"7b9", "dominant+9badd"},
      {"7#9", "dominant+9#add"},
      {"7b5", "dominant+5balter"},
  };
  for (const auto& [suffix, kind] : table) {
    EXPECT_EQ(Kind("A" + suffix), kind) << "A" << suffix;
    // The suffix is kept as the name writes it, for the reader to show.
    EXPECT_EQ(ParseChordName("Eb" + suffix).suffix, suffix);
  }
}

TEST(ChordName, RootsAndBassNotes) {
  ChordName chord = ParseChordName("F#m7/C#");
  ASSERT_TRUE(chord.root && chord.bass);
  EXPECT_EQ(chord.root->step, 'F');
  EXPECT_EQ(chord.root->alter, 1);
  EXPECT_EQ(chord.kind, "minor-seventh");
  EXPECT_EQ(chord.suffix, "m7");
  EXPECT_EQ(chord.bass->step, 'C');
  EXPECT_EQ(chord.bass->alter, 1);

  chord = ParseChordName("Bb/Ab");
  EXPECT_EQ(chord.root->alter, -1);
  EXPECT_EQ(chord.kind, "major");
  EXPECT_EQ(chord.bass->step, 'A');
  EXPECT_EQ(chord.bass->alter, -1);
  // A B flat, not a B with a suffix "b".
  EXPECT_EQ(Kind("Bb"), "major");
  // "6/9" is a suffix, not a bass note; a slash with nothing or no note after it is text.
  EXPECT_FALSE(ParseChordName("C6/9").bass);
  EXPECT_FALSE(ParseChordName("C/").bass);
  EXPECT_FALSE(ParseChordName("C/H").bass);
  EXPECT_EQ(Kind("C/"), "-");
}

TEST(ChordName, NamesThatDoNotParseKeepTheirText) {
  for (const std::string name : {"Hendrix", "", "c", "1bc", "N.C.", "\xC3\x98", " C"}) {
    const ChordName chord = ParseChordName(name);
    EXPECT_FALSE(chord.root) << name;
    EXPECT_FALSE(chord.Parsed());
    EXPECT_EQ(chord.suffix, name);
  }
  // A root with a suffix the table lacks: the root parses, the suffix is shown as written.
  const ChordName high = ParseChordName("C7 (high)");
  ASSERT_TRUE(high.root);
  EXPECT_FALSE(high.Parsed());
  EXPECT_EQ(high.kind, "other");
  EXPECT_EQ(high.suffix, "7 (high)");
  EXPECT_EQ(high.kindText, "7 (high)");
  for (const std::string name :
       {"C7b", "C7(b9", "C7b9)", "Cmaj7 11", "C7add8", "Cno9", "C7(,b9)"}) {
    EXPECT_EQ(Kind(name), "-") << name;
  }
}

// A suffix of the table followed by tones: the kind's text keeps what the kind spells, the
// degrees the rest, so that a reader printing both shows the name once.
TEST(ChordName, TonesAfterASuffixBecomeDegrees) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"Emaj7#11", "major-seventh+11#add"},
      {"Cm7b9b13", "minor-seventh+9badd+13badd"},
      {"G7(b9,#11)", "dominant+9badd+11#add"},
      {"D9no3", "dominant-ninth+3subtract"},
      {"A7#5#9", "augmented-seventh+9#add"},
      {"Bm7b5b9", "half-diminished+9badd"},
      {"Cadd11", "major+11add"},
      {"Fmaj7+5", "major-seventh+5#alter"},
  };
  for (const auto& [name, kind] : names) EXPECT_EQ(Kind(name), kind) << name;
  EXPECT_EQ(ParseChordName("Emaj7#11").kindText, "maj7");
  EXPECT_EQ(ParseChordName("A7#5#9").kindText, "7#5");
  EXPECT_EQ(ParseChordName("E7#9").kindText, "7");
  EXPECT_EQ(ParseChordName("Gm7sus4").kindText, "m7sus4");  // no suffix of the table: as written
  EXPECT_EQ(ParseChordName("Cadd9").kindText, "");
  EXPECT_EQ(ParseChordName("G7sus4").kindText, "sus4");
}

}  // namespace
}  // namespace strumlet
