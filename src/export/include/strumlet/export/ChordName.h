// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace strumlet {

// A note name as notation programs take it apart: a letter and an alteration in semitones.
struct NoteName {
  char step = 'C';  // 'A' to 'G'
  int alter = 0;    // -1 flat ("b"), +1 sharp ("#")
};

// The pitch class of a MIDI note number, spelled with sharps.
NoteName SharpSpelling(int midiNote);

// A chord tone added to, or altered from, the chord its kind names.
struct ChordDegree {
  int value = 0;             // 7, 9, ...
  int alter = 0;             // in semitones; for a seventh, 0 is the dominant (minor) one
  const char* type = "add";  // "add", "alter" or "subtract"
};

// What a chord name says to a notation program. The suffix table:
//
//   suffix                           kind                 added or altered degrees
//   "" "M" "maj"                     major
//   "m" "min" "-"                    minor
//   "7"                              dominant
//   "maj7" "M7" "Maj7" "ma7"         major-seventh
//   "m7" "min7" "-7"                 minor-seventh
//   "dim" "o" "°"                    diminished
//   "dim7" "o7" "°7"                 diminished-seventh
//   "aug" "+"                        augmented
//   "aug7" "+7" "7#5" "7+5"          augmented-seventh
//   "m7b5" "m7-5" "ø" "ø7"           half-diminished
//   "mmaj7" "mMaj7" "mM7" "m(maj7)"  major-minor
//   "6"                              major-sixth
//   "m6"                             minor-sixth
//   "9"                              dominant-ninth
//   "maj9" "M9"                      major-ninth
//   "m9"                             minor-ninth
//   "11", "maj11", "m11"             dominant-11th, major-11th, minor-11th
//   "13", "maj13", "m13"             dominant-13th, major-13th, minor-13th
//   "sus2"                           suspended-second
//   "sus4" "sus"                     suspended-fourth
//   "5"                              power
//   "add9" "add2"                    major                add 9
//   "madd9"                          minor                add 9
//   "7sus4" "7sus"                   suspended-fourth     add 7
//   "7sus2"                          suspended-second     add 7
//   "6/9" "69"                       major-sixth          add 9
//   "7b9"                            dominant             add b9
//   "7#9"                            dominant             add #9
//   "7b5"                            dominant             alter b5
//
// A suffix of the table may be followed by added, altered or left-out tones: "add" and a
// number, "b" "#" "-" "+" and 5 (altered), 9, 11 or 13 (added), "no" or "omit" and 1, 3 or 5,
// one after another or in parentheses with commas ("maj7#11", "7(b9,#13)", "9no3").
//
// A name is a root letter A to G, an optional "b" or "#", a suffix and an optional "/" with a
// bass note. A name whose root does not parse, or whose suffix the table lacks, keeps its text
// for the reader to show as it is.
struct ChordName {
  std::optional<NoteName> root;  // none: the name does not start with a note
  std::string suffix;            // the name's own text after the root (before the bass)
  std::string kind = "other";    // the notation kind; "other" for a suffix the table lacks
  // What the kind's text shows: the suffix but for what the degrees spell, as readers print
  // the kind's text followed by the degrees ("7" and a sharp nine for "7#9").
  std::string kindText;
  std::vector<ChordDegree> degrees;
  std::optional<NoteName> bass;

  // True when the whole name parsed: a root and a suffix from the table.
  bool Parsed() const { return root.has_value() && kind != "other"; }
};

// Takes apart a chord name (UTF-8).
ChordName ParseChordName(std::string_view name);

// The pitch classes (0: C, ..., 11: B) a parsed name's chord holds: its kind's tones on the
// root, changed by the degrees, and the bass. Empty for a name that did not parse.
std::vector<int> ChordTones(const ChordName& chord);

// The name of the chord whose tones are exactly `pitchClasses`, a kind of the table without
// degrees on one of them (the lowest note's first, `lowest`), spelled with sharps; empty when
// no kind has those tones.
std::string NameOfTones(const std::vector<int>& pitchClasses, int lowest);

}  // namespace strumlet
