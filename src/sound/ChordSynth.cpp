// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/sound/ChordSynth.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace strumlet {
namespace {

constexpr int kChannel = 0;
// A six-string chord peaks near a third of the range: loud, with room to spare.
constexpr double kGain = 1.0;
constexpr int kBlockFrames = 1024;

bool Readable(const std::string& path) {
  return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

// The synthesiser's own messages would go to standard error; what fails is told by our results.
void QuietLog() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
      fluid_set_log_function(level, nullptr, nullptr);
    }
  });
}

int64_t RingFrames(int rate) { return static_cast<int64_t>(std::llround(kRingSeconds * rate)); }
int64_t EndFrames(int rate) {
  return RingFrames(rate) + static_cast<int64_t>(std::llround(kReleaseSeconds * rate));
}

}  // namespace

std::vector<std::string> SoundFontSearchList() {
  return {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
}

std::string FindSoundFont() {
  if (const char* named = std::getenv("STRUMLET_SOUNDFONT"); named != nullptr) {
    // Named, it is the one: a typing error must not quietly give another sound.
    return Readable(named) ? std::string(named) : std::string();
  }
  for (const std::string& path : SoundFontSearchList()) {
    if (Readable(path)) return path;
  }
  return {};
}

int64_t StrumOnsetFrame(std::size_t k, int sampleRate) {
  return static_cast<int64_t>(
      std::llround(static_cast<double>(k) * kStrumStepSeconds * sampleRate));
}

Result<std::unique_ptr<ChordSynth>> ChordSynth::Open(const std::string& soundFont, int sampleRate) {
  QuietLog();
  const std::string path = soundFont.empty() ? FindSoundFont() : soundFont;
  if (path.empty()) {
    std::string searched;
    for (const std::string& p : SoundFontSearchList())
      searched += (searched.empty() ? "" : ", ") + p;
    const char* named = std::getenv("STRUMLET_SOUNDFONT");
    return Error{Error::Kind::kMissing, named != nullptr ? named : "",
                 named != nullptr ? "the SoundFont named by STRUMLET_SOUNDFONT cannot be read"
                                  : "no SoundFont was found (looked for " + searched + ")",
                 0};
  }
  std::unique_ptr<ChordSynth> synth(new ChordSynth);
  synth->soundFont_ = path;
  synth->rate_ = sampleRate;
  synth->settings_ = new_fluid_settings();
  if (synth->settings_ == nullptr) {
    return Error{Error::Kind::kUnavailable, path, "the synthesiser could not be set up", 0};
  }
  fluid_settings_setnum(synth->settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(synth->settings_, "synth.gain", kGain);
  // No reverb or chorus: a chord sounds the same each time, and its sound ends with its release.
  fluid_settings_setint(synth->settings_, "synth.reverb.active", 0);
  fluid_settings_setint(synth->settings_, "synth.chorus.active", 0);
  fluid_settings_setint(synth->settings_, "synth.cpu-cores", 1);
  synth->synth_ = new_fluid_synth(synth->settings_);
  if (synth->synth_ == nullptr) {
    return Error{Error::Kind::kUnavailable, path, "the synthesiser could not be set up", 0};
  }
  if (fluid_synth_sfload(synth->synth_, path.c_str(), 1) == FLUID_FAILED) {
    return Error{Error::Kind::kMissing, path, "the SoundFont could not be read", 0};
  }
  return synth;
}

ChordSynth::~ChordSynth() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

void ChordSynth::Start(const ChordStrum& strum) {
  const std::lock_guard lock(mutex_);
  fluid_synth_all_sounds_off(synth_, kChannel);
  fluid_synth_program_change(synth_, kChannel, strum.program & 0x7F);
  notes_ = strum.notes;
  struck_ = 0;
  released_ = false;
  firstSound_ = -1;
  elapsed_ = notes_.empty() ? -1 : 0;
}

void ChordSynth::Stop() {
  const std::lock_guard lock(mutex_);
  fluid_synth_all_sounds_off(synth_, kChannel);
  elapsed_ = -1;
}

bool ChordSynth::Sounding() const {
  const std::lock_guard lock(mutex_);
  return elapsed_ >= 0;
}

int64_t ChordSynth::FirstSoundingFrame() const {
  const std::lock_guard lock(mutex_);
  return firstSound_;
}

void ChordSynth::Render(float* left, float* right, int frames) {
  const std::lock_guard lock(mutex_);
  RenderLocked(left, right, frames);
}

void ChordSynth::RenderLocked(float* left, float* right, int frames) {
  int done = 0;
  while (done < frames) {
    // Up to the next note, or the release, then that event.
    int64_t next = frames - done;
    if (elapsed_ >= 0) {
      if (struck_ < notes_.size()) {
        next = std::min(next, StrumOnsetFrame(struck_, rate_) - elapsed_);
      } else if (!released_) {
        next = std::min(next, RingFrames(rate_) - elapsed_);
      } else {
        next = std::min(next, EndFrames(rate_) - elapsed_);
      }
    }
    if (next <= 0 && elapsed_ >= 0) {
      if (struck_ < notes_.size()) {
        fluid_synth_noteon(synth_, kChannel, notes_[struck_++], kStrumVelocity);
      } else if (!released_) {
        for (const int note : notes_) fluid_synth_noteoff(synth_, kChannel, note);
        released_ = true;
      } else {
        fluid_synth_all_sounds_off(synth_, kChannel);
        elapsed_ = -1;
      }
      continue;
    }
    const int count = static_cast<int>(next);
    fluid_synth_write_float(synth_, count, left, done, 1, right, done, 1);
    if (elapsed_ >= 0) {
      if (firstSound_ < 0) {
        for (int i = 0; i < count; ++i) {
          if (left[done + i] != 0.0f || right[done + i] != 0.0f) {
            firstSound_ = elapsed_ + i;
            break;
          }
        }
      }
      elapsed_ += count;
    }
    done += count;
  }
}

std::vector<float> ChordSynth::RenderStrum(const ChordStrum& strum) {
  if (strum.notes.empty()) return {};
  Start(strum);
  const std::lock_guard lock(mutex_);
  const int64_t total = EndFrames(rate_);
  std::vector<float> mono(static_cast<std::size_t>(total));
  std::vector<float> left(kBlockFrames), right(kBlockFrames);
  for (int64_t at = 0; at < total; at += kBlockFrames) {
    const int frames = static_cast<int>(std::min<int64_t>(kBlockFrames, total - at));
    RenderLocked(left.data(), right.data(), frames);
    for (int i = 0; i < frames; ++i) mono[at + i] = 0.5f * (left[i] + right[i]);
  }
  // Whatever still sounds at the end fades out over its last 20 ms rather than clicking off.
  const int64_t fade = std::min<int64_t>(total, rate_ / 50);
  for (int64_t i = 0; i < fade; ++i) {
    mono[total - fade + i] *= static_cast<float>(fade - i) / static_cast<float>(fade);
  }
  fluid_synth_all_sounds_off(synth_, kChannel);
  elapsed_ = -1;
  return mono;
}

}  // namespace strumlet
