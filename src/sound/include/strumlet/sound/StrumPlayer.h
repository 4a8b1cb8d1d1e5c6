// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/sound/ChordSynth.h"

struct _fluid_audio_driver_t;
struct _fluid_hashtable_t;

namespace strumlet {

// Plays strummed chords through the desktop's audio output (FluidSynth's own drivers: PipeWire,
// PulseAudio or ALSA, whichever answers first; STRUMLET_AUDIO_DRIVER names one).
class StrumPlayer {
 public:
  // Fails with kMissing when there is no SoundFont, kUnavailable when no audio output opens.
  static Result<std::unique_ptr<StrumPlayer>> Open(const std::string& soundFont = {});
  ~StrumPlayer();
  StrumPlayer(const StrumPlayer&) = delete;
  StrumPlayer& operator=(const StrumPlayer&) = delete;

  // Strums `strum`, in place of what sounds.
  void Play(const ChordStrum& strum) { synth_->Start(strum); }
  void Stop() { synth_->Stop(); }
  bool Sounding() const { return synth_->Sounding(); }
  // The driver that opened.
  const std::string& driver() const { return driver_; }

 private:
  StrumPlayer() = default;
  std::unique_ptr<ChordSynth> synth_;
  _fluid_hashtable_t* settings_ = nullptr;  // the output's, kept as long as it runs
  _fluid_audio_driver_t* output_ = nullptr;
  std::string driver_;
};

// The audio drivers tried, in order.
std::vector<std::string> AudioDriverList();

}  // namespace strumlet
