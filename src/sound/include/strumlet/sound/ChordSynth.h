// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/export/ChordStrum.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace strumlet {

// The SoundFonts looked for, in order, when STRUMLET_SOUNDFONT names none: Debian's small
// General MIDI set first, then its larger one.
std::vector<std::string> SoundFontSearchList();
// The first SoundFont of the search list that is a readable file (or the one the environment
// names, when it is set); empty when there is none.
std::string FindSoundFont();

// How long a strummed chord rings from its first note before its strings are let go (the MIDI
// file's bar), and how long its sound is followed after that.
inline constexpr double kRingSeconds = 2.0;
inline constexpr double kReleaseSeconds = 0.3;

// A synthesiser that strums one chord at a time, on the strum schedule of the MIDI file. Its
// sound is rendered block by block, by an audio output's thread or all at once for a file;
// Start and Stop may come from another thread meanwhile.
class ChordSynth {
 public:
  // Loads `soundFont` (FindSoundFont() when empty) to render at `sampleRate`. Fails with kMissing
  // when there is none or it cannot be read.
  static Result<std::unique_ptr<ChordSynth>> Open(const std::string& soundFont = {},
                                                  int sampleRate = 48000);
  ~ChordSynth();
  ChordSynth(const ChordSynth&) = delete;
  ChordSynth& operator=(const ChordSynth&) = delete;

  const std::string& soundFont() const { return soundFont_; }
  int sampleRate() const { return rate_; }

  // Strums `strum` from the next sample on, silencing what sounded before.
  void Start(const ChordStrum& strum);
  // Silences the chord at once.
  void Stop();
  // True from Start until the chord has rung out or was stopped.
  bool Sounding() const;

  // The next `frames` samples of each channel (stereo, as the synthesiser pans its programs).
  void Render(float* left, float* right, int frames);

  // The whole sound of one strum, mono, from its first note to the end of its release: what an
  // audio file of the chord holds. Empty for a chord that sounds nothing.
  std::vector<float> RenderStrum(const ChordStrum& strum);

  // Frames rendered since the last Start whose first sample was not silent, or -1: for the
  // measurement of how soon a strum sounds.
  int64_t FirstSoundingFrame() const;

 private:
  ChordSynth() = default;
  void RenderLocked(float* left, float* right, int frames);

  mutable std::mutex mutex_;
  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  std::string soundFont_;
  int rate_ = 48000;
  std::vector<int> notes_;   // of the chord sounding
  std::size_t struck_ = 0;   // notes of it struck so far
  int64_t elapsed_ = -1;     // frames since Start; -1 when nothing sounds
  int64_t firstSound_ = -1;  // see FirstSoundingFrame
  bool released_ = false;
};

// The frame of a strum's k-th note, counted from its first.
int64_t StrumOnsetFrame(std::size_t k, int sampleRate);

}  // namespace strumlet
