// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/sound/StrumPlayer.h"

#include <fluidsynth.h>

#include <cstdlib>

namespace strumlet {
namespace {

// 128 frames a period and four of them: about 11 ms of sound queued at 48 kHz, so that a click
// is heard at once without the output running dry on a busy desktop.
constexpr int kPlaybackRate = 48000;
constexpr int kPeriodFrames = 128;
constexpr int kPeriods = 4;

int RenderInto(void* data, int len, int, float*[], int nout, float* out[]) {
  if (nout < 2) return FLUID_FAILED;
  static_cast<ChordSynth*>(data)->Render(out[0], out[1], len);
  return FLUID_OK;
}

}  // namespace

std::vector<std::string> AudioDriverList() {
  if (const char* named = std::getenv("STRUMLET_AUDIO_DRIVER"); named != nullptr && *named) {
    return {named};
  }
  // PipeWire desktops answer through their PulseAudio service.
  return {"pulseaudio", "alsa"};
}

Result<std::unique_ptr<StrumPlayer>> StrumPlayer::Open(const std::string& soundFont) {
  Result<std::unique_ptr<ChordSynth>> synth = ChordSynth::Open(soundFont, kPlaybackRate);
  if (!synth) return synth.error();
  std::unique_ptr<StrumPlayer> player(new StrumPlayer);
  player->synth_ = std::move(*synth);

  player->settings_ = new_fluid_settings();
  fluid_settings_t* settings = player->settings_;
  if (settings == nullptr) {
    return Error{Error::Kind::kUnavailable, {}, "the audio output could not be set up", 0};
  }
  fluid_settings_setnum(settings, "synth.sample-rate", kPlaybackRate);
  fluid_settings_setint(settings, "audio.period-size", kPeriodFrames);
  fluid_settings_setint(settings, "audio.periods", kPeriods);
  fluid_settings_setstr(settings, "audio.pulseaudio.media-role", "music");
  std::string tried;
  for (const std::string& driver : AudioDriverList()) {
    fluid_settings_setstr(settings, "audio.driver", driver.c_str());
    player->output_ = new_fluid_audio_driver2(settings, RenderInto, player->synth_.get());
    if (player->output_ != nullptr) {
      player->driver_ = driver;
      break;
    }
    tried += (tried.empty() ? "" : ", ") + driver;
  }
  if (player->output_ == nullptr) {
    return Error{
        Error::Kind::kUnavailable, {}, "no audio output could be opened (tried " + tried + ")", 0};
  }
  return player;
}

StrumPlayer::~StrumPlayer() {
  // The output's thread renders from the synthesiser: it ends first.
  if (output_ != nullptr) delete_fluid_audio_driver(output_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

}  // namespace strumlet
