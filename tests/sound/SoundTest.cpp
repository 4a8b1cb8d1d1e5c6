// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A chord sounds on one schedule everywhere: the notes the MIDI file plays, struck a step apart
// from the lowest string, ringing two seconds; its audio file decodes to that sound.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Fixture.h"
#include "FixtureDatabase.h"
#include "TestCommon.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordStrum.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/sound/ChordSound.h"
#include "strumlet/sound/ChordSynth.h"
#include "strumlet/sound/StrumPlayer.h"

namespace strumlet {
namespace {

ChordDatabase Database(const std::string& text) { return testing::ReadFixtureDatabase(text); }

std::unique_ptr<ChordSynth> OpenSynth(int rate = 48000) {
  Result<std::unique_ptr<ChordSynth>> synth = ChordSynth::Open({}, rate);
  if (!synth) ADD_FAILURE() << synth.error().reason << " (timgm6mb-soundfont installs one)";
  return synth ? std::move(*synth) : nullptr;
}

// Sets an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, had_ = true;
    setenv(name, value, 1);
  }
  ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(ChordStrum, NotesAsTheMidiFilePlaysThemWithThePartsProgram) {
  const ChordDatabase db = Database(
      "{define: C frets x 3 2 0 1 0}\n"
      "{define: Unison frets 5 0 x x x x}\n"  // A2 twice: struck once
      "{define: Silent frets x x x x x x}\n"
      "{define: F frets 1 3 3 2 1 1}\n"
      "{define: Uke frets 0 0 0 3}\n"
      "instrument 1\n");
  const std::vector<ChordStrum> strums = StrumsOf(db.chords);
  ASSERT_EQ(strums.size(), 5u);
  EXPECT_EQ(strums[0].notes, (std::vector<int>{48, 52, 55, 60, 64}));
  EXPECT_EQ(strums[1].notes, (std::vector<int>{45}));
  EXPECT_TRUE(strums[2].notes.empty());
  EXPECT_EQ(strums[3].notes, (std::vector<int>{41, 48, 53, 57, 60, 65}));
  EXPECT_EQ(strums[0].program, strums[3].program);
  // Another instrument, another part and program: a guitar's steel strings, a ukulele's nylon.
  EXPECT_EQ(strums[4].notes, (std::vector<int>{67, 60, 64, 72}));
  EXPECT_NE(strums[4].program, strums[0].program);
  EXPECT_NEAR(kStrumStepSeconds, 0.03125, 1e-9);
}

TEST(ChordSynth, StrikesEachStringAStepAfterTheOneBelowAndRingsTwoSeconds) {
  auto synth = OpenSynth();
  ASSERT_TRUE(synth);
  const std::vector<float> one = synth->RenderStrum({25, {40}});
  const std::vector<float> chord = synth->RenderStrum({25, {40, 47, 52}});
  const std::size_t length = std::llround((kRingSeconds + kReleaseSeconds) * 48000);
  ASSERT_EQ(one.size(), length);
  ASSERT_EQ(chord.size(), length);
  // Until the second string is struck the chord is its lowest string alone; it sounds at once.
  const std::size_t second = static_cast<std::size_t>(StrumOnsetFrame(1, 48000));
  EXPECT_EQ(second, 1500u);
  double alone = 0, before = 0, after = 0;
  for (std::size_t i = 0; i < second - 64; ++i) {
    alone += std::abs(one[i]);
    before += std::abs(chord[i] - one[i]);
  }
  for (std::size_t i = second + 64; i < 2 * second; ++i) after += std::abs(chord[i] - one[i]);
  EXPECT_GT(alone, 1.0);
  EXPECT_LT(before, alone / 1000);
  EXPECT_GT(after, 1.0);
  EXPECT_EQ(synth->FirstSoundingFrame() < 64, true) << synth->FirstSoundingFrame();
  // Let go at two seconds: the release dies away, the last samples fade to nothing.
  double ringing = 0, released = 0;
  for (std::size_t i = 96000 - 4800; i < 96000; ++i) ringing += std::abs(chord[i]);
  for (std::size_t i = length - 4800; i < length; ++i) released += std::abs(chord[i]);
  EXPECT_LT(released, ringing / 4);
  EXPECT_LT(std::abs(chord.back()), 1e-3);
  // Rendered again, the same sound: nothing of the last chord rings into the next.
  const std::vector<float> again = synth->RenderStrum({25, {40, 47, 52}});
  double difference = 0, sound = 0;
  for (std::size_t i = 0; i < length; ++i) {
    difference += std::abs(again[i] - chord[i]);
    sound += std::abs(chord[i]);
  }
  EXPECT_LT(difference, sound / 100);
  EXPECT_TRUE(synth->RenderStrum({25, {}}).empty());
  EXPECT_FALSE(synth->Sounding());
}

TEST(ChordSynth, StartAndStopWhileAnOutputRenders) {
  auto synth = OpenSynth();
  ASSERT_TRUE(synth);
  std::vector<float> left(128), right(128);
  synth->Start({25, {40, 45}});
  EXPECT_TRUE(synth->Sounding());
  synth->Render(left.data(), right.data(), 128);
  EXPECT_NE(left, std::vector<float>(128));
  synth->Stop();
  EXPECT_FALSE(synth->Sounding());
  // A chord that sounds nothing does not start.
  synth->Start({25, {}});
  EXPECT_FALSE(synth->Sounding());
  // A strum rings out by itself.
  synth->Start({25, {40}});
  for (int i = 0; i < 48000 * 3 / 128; ++i) synth->Render(left.data(), right.data(), 128);
  EXPECT_FALSE(synth->Sounding());
}

TEST(ChordSynth, WithoutASoundFontItSaysWhere) {
  {
    ScopedEnv env("STRUMLET_SOUNDFONT", "/nonexistent/none.sf2");
    EXPECT_EQ(FindSoundFont(), "");
    const auto synth = ChordSynth::Open();
    ASSERT_FALSE(synth);
    EXPECT_EQ(synth.error().kind, Error::Kind::kMissing);
    EXPECT_EQ(synth.error().path, "/nonexistent/none.sf2");
    EXPECT_NE(synth.error().reason.find("STRUMLET_SOUNDFONT"), std::string::npos);
  }
  testing::TempFolder folder;
  std::ofstream(folder / "bad.sf2") << "not a SoundFont";
  const auto bad = ChordSynth::Open(folder / "bad.sf2");
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error().reason, "the SoundFont could not be read");
  EXPECT_EQ(SoundFontSearchList().front(), "/usr/share/sounds/sf2/TimGM6mb.sf2");
}

TEST(ChordSound, TheFileDecodesToTheChordsSound) {
  auto synth = OpenSynth(kSoundFileRate);
  ASSERT_TRUE(synth);
  testing::TempFolder folder;
  const ChordStrum strum{25, {45, 52, 57, 61, 64}};  // A major
  ASSERT_TRUE(WriteChordSound(*synth, strum, folder / "a.ogg"));
  SF_INFO info{};
  SNDFILE* file = sf_open((folder / "a.ogg").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_OGG);
  EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_VORBIS);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.samplerate, kSoundFileRate);
  std::vector<float> decoded(static_cast<std::size_t>(info.frames));
  EXPECT_EQ(sf_readf_float(file, decoded.data(), info.frames), info.frames);
  sf_close(file);
  const std::vector<float> rendered = synth->RenderStrum(strum);
  EXPECT_EQ(decoded.size(), rendered.size());
  // Lossy, but as loud as the chord at each moment, within 3 dB wherever it sounds: struck and
  // let go at the same times.
  constexpr std::size_t kWindow = 1102;  // 50 ms
  int windows = 0;
  for (std::size_t at = 0; at + kWindow <= std::min(decoded.size(), rendered.size());
       at += kWindow) {
    double want = 0, got = 0;
    for (std::size_t i = at; i < at + kWindow; ++i) {
      want += rendered[i] * rendered[i];
      got += decoded[i] * decoded[i];
    }
    if (want < kWindow * 1e-6) continue;  // quieter than -60 dB
    ++windows;
    EXPECT_NEAR(10 * std::log10(got / want), 0, 3) << "at " << at;
  }
  EXPECT_GT(windows, 40);
  std::ifstream written(folder / "a.ogg", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(written)), {});
  EXPECT_LT(bytes.size(), 12000u);
  EXPECT_GT(bytes.size(), 2000u);
}

TEST(ChordSound, AFileThatCannotBeWrittenSaysWhyAndLeavesNothing) {
  auto synth = OpenSynth();
  ASSERT_TRUE(synth);
  testing::TempFolder folder;
  const auto written = WriteChordSound(*synth, {25, {40}}, folder / "missing/a.ogg");
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().kind, Error::Kind::kIo);
  EXPECT_EQ(written.error().code, ENOENT);
  EXPECT_EQ(written.error().path, folder / "missing/a.ogg");
}

TEST(StrumPlayer, WithoutAnAudioOutputItFailsWithOneReason) {
  ScopedEnv env("STRUMLET_AUDIO_DRIVER", "no-such-driver");
  EXPECT_EQ(AudioDriverList(), (std::vector<std::string>{"no-such-driver"}));
  const auto player = StrumPlayer::Open();
  ASSERT_FALSE(player);
  EXPECT_EQ(player.error().kind, Error::Kind::kUnavailable);
  EXPECT_EQ(player.error().reason, "no audio output could be opened (tried no-such-driver)");
}

}  // namespace
}  // namespace strumlet
