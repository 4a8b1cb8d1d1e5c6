// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tunings a user chooses: what they type, the errors they get, and the table they change.
#include "strumlet/pdb/Tuning.h"

#include <gtest/gtest.h>

#include <vector>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {
namespace {

// Puts the usual tunings back whatever a test chose.
struct UsualTuningsAfter {
  ~UsualTuningsAfter() { UseTunings({}); }
};

std::vector<int> Notes(uint8_t code, std::string_view text) {
  const Result<Tuning> tuning = ReadTuning(code, text);
  EXPECT_TRUE(tuning) << text << ": " << (tuning ? "" : tuning.error().reason);
  return tuning ? tuning->notes : std::vector<int>{};
}

std::string Problem(std::string_view text) {
  const Result<Tuning> tuning = ReadTuningChoice(text);
  EXPECT_FALSE(tuning) << text;
  return tuning ? std::string() : tuning.error().reason;
}

TEST(Tuning, EveryCommonTuningReadsBackFromWhatIsStored) {
  for (const Instrument& row : Instruments()) {
    SCOPED_TRACE(static_cast<int>(row.code));
    const auto commons = CommonTunings(row.code);
    ASSERT_FALSE(commons.empty());
    for (const CommonTuning& common : commons) {
      const Result<Tuning> tuning = ReadTuning(row.code, common.key);
      ASSERT_TRUE(tuning) << common.key;
      EXPECT_TRUE(tuning->notes.empty() || static_cast<int>(tuning->notes.size()) == row.strings);
      // What the settings keep and the text typed from its pitches come back to the same.
      EXPECT_EQ(*ReadTuning(row.code, TuningText(*tuning)), *tuning);
      EXPECT_EQ(ReadTuning(row.code, common.pitches.empty() ? common.key : common.pitches)->notes,
                tuning->notes);
    }
    // The usual tuning comes first.
    const std::vector<int> first = ReadTuning(row.code, commons.front().key)->notes;
    EXPECT_EQ(std::vector<int>(row.tuning.begin(), row.tuning.end()), first);
  }
}

TEST(Tuning, ReadsPitchesAndKeysAsPeopleWriteThem) {
  EXPECT_EQ(Notes(kGuitarCode, "D2 A2 D3 G3 A3 D4"), (std::vector<int>{38, 45, 50, 55, 57, 62}));
  // Flats, sharps, their signs, commas, lower case: the same half step down.
  const std::vector<int> halfDown = {39, 44, 49, 54, 58, 63};
  EXPECT_EQ(Notes(kGuitarCode, "Eb2 Ab2 Db3 Gb3 Bb3 Eb4"), halfDown);
  EXPECT_EQ(Notes(kGuitarCode, "d#2,g#2, c#3 f#3 a#3 d#4"), halfDown);
  EXPECT_EQ(Notes(kGuitarCode, "E\u266D2 A\u266D2 D\u266D3 G\u266D3 B\u266D3 E\u266D4"), halfDown);
  EXPECT_EQ(Notes(kGuitarCode, "Half step down"), halfDown);
  // Cb and B# cross the octave number as the letters do.
  EXPECT_EQ(Notes(kUkuleleCode, "Cb4 B#3 C4 C-1"), (std::vector<int>{59, 60, 60, 0}));
  EXPECT_EQ(ReadTuning(kGuitarCode, "Drop D tuning")->key, "drop-d");
  EXPECT_EQ(ReadTuningChoice("guitar=DADGAD")->key, "dadgad");
  EXPECT_EQ(ReadTuningChoice("Banjo=G4 C3 G3 C4 D4")->key, "double-c");
  EXPECT_EQ(ReadTuningChoice("2=mandolin")->notes, (std::vector<int>{55, 62, 69, 76}));
  EXPECT_EQ(ReadTuningChoice("4=open-d")->code, kBanjoCode);
  // Typed pitches of a common tuning are that tuning; they say nothing of what an unnamed
  // instrument is.
  EXPECT_EQ(ReadTuning(kGuitarCode, "E2 A2 D3 G3 B3 E4")->key, "standard");
  EXPECT_EQ(ReadTuning(3, "C3 G3 D4 A4")->key, "");
  EXPECT_EQ(TuningText(*ReadTuning(3, "c3 g3 d4 a4")), "C3 G3 D4 A4");
}

TEST(Tuning, AWrongTuningSaysWhoseAndWhatIsWrong) {
  EXPECT_EQ(Problem("guitar=D2 A2 D3 G3 A3"),
            "the guitar has 6 strings: 'D2 A2 D3 G3 A3' gives 5 pitches");
  EXPECT_EQ(Problem("2=G3 D4 A4 E5 B5"),
            "instrument code 2 has 4 strings: 'G3 D4 A4 E5 B5' gives 5 pitches");
  EXPECT_EQ(Problem("banjo=G4 D3 H3 B3 D4"),
            "the banjo's tuning 'G4 D3 H3 B3 D4': 'H3' is no pitch (a letter A to G, then # or "
            "b, then an octave: E2, F#3, Bb3)");
  // Past the MIDI range, an octave that is no number, a sign after it.
  for (const char* text : {"ukulele=G4 C4 E4 A10", "ukulele=G4 C4 E4 Ax", "ukulele=G4 C4 E4 A4#",
                           "ukulele=G4 C4 E4 C-2"}) {
    EXPECT_NE(Problem(text).find("is no pitch"), std::string::npos) << text;
  }
  EXPECT_EQ(Problem("ukulele=dadgad"),
            "'dadgad' is no tuning the ukulele knows (standard, low-g, d, baritone) nor 4 "
            "pitches such as G4 C4 E4 A4");
  EXPECT_EQ(Problem("violin=standard"),
            "'violin' is not guitar, ukulele, banjo nor an instrument code 0 to 4");
  EXPECT_EQ(Problem("5=standard"),
            "'5' is not guitar, ukulele, banjo nor an instrument code 0 to 4");
  EXPECT_EQ(Problem("guitar"),
            "'guitar' names no tuning: INSTRUMENT=TUNING, such as guitar=dadgad");
}

TEST(Tuning, TheChosenTuningsAreTheTablesUntilTheUsualOnesComeBack) {
  UsualTuningsAfter restore;
  const std::vector<Tuning> usual = TuningsInUse();
  ASSERT_EQ(usual.size(), Instruments().size());
  EXPECT_EQ(usual[kGuitarCode].key, "standard");
  EXPECT_EQ(usual[2].key, "unknown");

  const std::vector<Tuning> chosen = {
      *ReadTuningChoice("guitar=drop-d"), *ReadTuningChoice("2=mandolin"),
      *ReadTuningChoice("3=C3 G3 D4 A4"), *ReadTuningChoice("ukulele=standard")};
  UseTunings(chosen);
  const Instrument& guitar = InstrumentFor(kGuitarCode);
  EXPECT_EQ(std::vector<int>(guitar.tuning.begin(), guitar.tuning.end()), chosen[0].notes);
  EXPECT_EQ(guitar.name, "Guitar");
  EXPECT_EQ(guitar.tuningName, "Drop D tuning");
  // A code past the table is a guitar, tuned as the guitar is.
  EXPECT_EQ(InstrumentFor(200).tuningName, "Drop D tuning");
  // The tuning says what code 2 is, and it sounds as one; code 3 is known by its pitches.
  EXPECT_EQ(InstrumentFor(2).name, "Mandolin");
  EXPECT_EQ(InstrumentFor(2).tuningName, "");
  EXPECT_EQ(InstrumentFor(2).midiProgram, 25);
  EXPECT_EQ(InstrumentFor(3).name, "");
  EXPECT_EQ(InstrumentFor(3).tuningName, "tuned C3 G3 D4 A4");
  // The usual tuning named is no change; the banjo keeps its short string.
  EXPECT_EQ(InstrumentFor(kUkuleleCode).tuningName, "");
  EXPECT_EQ(InstrumentFor(kBanjoCode).shortString.firstFret, 5);

  std::vector<Tuning> inUse = TuningsInUse();
  EXPECT_EQ(inUse[kGuitarCode], chosen[0]);
  EXPECT_EQ(inUse[2], chosen[1]);
  EXPECT_EQ(inUse[3], chosen[2]);
  EXPECT_EQ(inUse[kBanjoCode].key, "open-g");

  UseTunings({});
  EXPECT_EQ(TuningsInUse(), usual);
  EXPECT_EQ(InstrumentFor(2).name, "");
  EXPECT_TRUE(InstrumentFor(2).tuning.empty());
  EXPECT_EQ(InstrumentFor(kGuitarCode).tuningName, "");
}

ChordRecord Record(uint8_t code, std::initializer_list<int> highFirst) {
  ChordRecord record;
  record.instrumentCode = code;
  record.entryCount = static_cast<uint8_t>(highFirst.size() + 1);
  int r = 1;
  for (const int fret : highFirst) record.frets[r++] = static_cast<int8_t>(fret);
  return record;
}

TEST(Tuning, ChordsSoundOnTheTuningChosen) {
  UsualTuningsAfter restore;
  const ChordRecord d =
      Record(kGuitarCode, {2, 3, 2, 0, 0, 0});  // x x 0 2 3 2 with low strings open
  EXPECT_EQ(SoundingNotes(d), (std::vector<int>{40, 45, 50, 57, 62, 66}));
  UseTunings(std::vector<Tuning>{*ReadTuningChoice("guitar=drop-d")});
  EXPECT_EQ(SoundingNotes(d), (std::vector<int>{38, 45, 50, 57, 62, 66}));
  // The banjo's short string starts at the fifth fret in any tuning: fret 7 is two above open.
  UseTunings(std::vector<Tuning>{*ReadTuningChoice("banjo=double-c")});
  EXPECT_EQ(SoundingNotes(Record(kBanjoCode, {0, 1, 0, 2, 7})),
            (std::vector<int>{69, 50, 55, 61, 62}));
  // Another string count than the instrument's, or an unknown tuning: no notes.
  EXPECT_TRUE(SoundingNotes(Record(kGuitarCode, {0, 0, 0, 0})).empty());
  EXPECT_TRUE(SoundingNotes(Record(2, {0, 0, 0, 0})).empty());
  UseTunings(std::vector<Tuning>{*ReadTuningChoice("2=bass")});
  EXPECT_EQ(SoundingNotes(Record(2, {0, 2, 2, 0})), (std::vector<int>{28, 35, 40, 43}));
}

}  // namespace
}  // namespace strumlet
