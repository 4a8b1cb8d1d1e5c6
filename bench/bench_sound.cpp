// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chords as sound: the MIDI file of 65,535 chords; one chord's audio file (synthesis and
// Ogg Vorbis encoding, with its size); and how soon a strum started by a click sounds at an audio
// output, measured at an output of our own that takes the sound in real time and plays it
// nowhere.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BenchDatabase.h"
#include "Fixture.h"
#include "ProgramMain.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordStrum.h"
#include "strumlet/export/MidiWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/sound/ChordSound.h"
#include "strumlet/sound/ChordSynth.h"

namespace {

using Clock = std::chrono::steady_clock;

const strumlet::ChordDatabase& Largest() {
  static const strumlet::ChordDatabase db = [] {
    const auto bytes = strumlet::fixture::BuildDatabase(strumlet::bench::Description(65535));
    strumlet::MemorySource source(bytes);
    strumlet::SilentMessenger silent;
    strumlet::ScopedMessenger scoped(silent);
    strumlet::ChordDatabase read;
    strumlet::ParseDatabase(source, strumlet::kSortByPosition, read);
    return read;
  }();
  return db;
}

void BM_Midi65535(benchmark::State& state) {
  const strumlet::ChordDatabase& db = Largest();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string midi = strumlet::WriteMidi("Largest", db.chords, db.categories, 2);
    bytes = midi.size();
    benchmark::DoNotOptimize(midi.data());
  }
  state.counters["chords"] = static_cast<double>(db.chords.size());
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Midi65535)->Unit(benchmark::kMillisecond);

std::unique_ptr<strumlet::ChordSynth> Synth(int rate = 48000) {
  auto synth = strumlet::ChordSynth::Open({}, rate);
  if (!synth) {
    std::fprintf(stderr, "no synthesiser: %s\n", synth.error().reason.c_str());
    std::exit(1);
  }
  return std::move(*synth);
}

// One chord's audio file: synthesis, then encoding, as --sound writes it (without the disk).
void BM_SoundPerChord(benchmark::State& state) {
  auto synth = Synth(strumlet::kSoundFileRate);
  const std::vector<strumlet::ChordStrum> strums = strumlet::StrumsOf(Largest().chords);
  std::size_t i = 0, bytes = 0, files = 0;
  for (auto _ : state) {
    const strumlet::ChordStrum& strum = strums[i++ % 64];
    const auto encoded = strumlet::EncodeOgg(synth->RenderStrum(strum), synth->sampleRate());
    bytes += encoded ? encoded->size() : 0;
    ++files;
  }
  state.counters["bytes_per_chord"] = static_cast<double>(bytes) / static_cast<double>(files);
}
BENCHMARK(BM_SoundPerChord)->Unit(benchmark::kMillisecond);

// The parts of it.
void BM_SynthesisePerChord(benchmark::State& state) {
  auto synth = Synth(strumlet::kSoundFileRate);
  const strumlet::ChordStrum strum{25, {45, 52, 57, 61, 64}};
  for (auto _ : state) benchmark::DoNotOptimize(synth->RenderStrum(strum).data());
}
BENCHMARK(BM_SynthesisePerChord)->Unit(benchmark::kMillisecond);

void BM_OpenSynth(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Synth().get());
}
BENCHMARK(BM_OpenSynth)->Unit(benchmark::kMillisecond)->Iterations(5);

// A click's strum at an output that asks for a period of sound every period's time, as an
// audio device does, and plays it nowhere. The time is from the start of the strum (the call a
// click makes) to the moment the output has the period holding its first sounding sample: what a
// device adds after that is its queue, periods x period size (reported as queue_ms).
void BM_ClickToFirstSample(benchmark::State& state) {
  constexpr int kPeriod = 128;
  constexpr int kPeriods = 4;  // as StrumPlayer asks of the desktop's output
  auto synth = Synth();
  std::atomic<bool> running{true};
  std::atomic<int64_t> heardAt{-1};  // ns on the clock, when the first sounding period came
  std::thread output([&] {
    std::vector<float> left(kPeriod), right(kPeriod);
    const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriod / synth->sampleRate());
    auto next = Clock::now();
    while (running) {
      synth->Render(left.data(), right.data(), kPeriod);
      if (heardAt < 0 && synth->FirstSoundingFrame() >= 0) {
        heardAt =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
                .count();
      }
      next += period;
      std::this_thread::sleep_until(next);
    }
  });
  const strumlet::ChordStrum strum{25, {40, 45, 50, 55, 59, 64}};
  std::vector<double> latencies;
  for (auto _ : state) {
    state.PauseTiming();
    synth->Stop();
    std::this_thread::sleep_for(std::chrono::microseconds(1000 + latencies.size() * 137 % 3000));
    heardAt = -1;
    state.ResumeTiming();
    const auto clicked = Clock::now();
    synth->Start(strum);
    while (heardAt < 0) std::this_thread::yield();
    const double ms =
        static_cast<double>(heardAt - std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          clicked.time_since_epoch())
                                          .count()) /
        1e6;
    latencies.push_back(ms);
    state.SetIterationTime(ms / 1e3);
  }
  running = false;
  output.join();
  std::sort(latencies.begin(), latencies.end());
  state.counters["median_ms"] = latencies[latencies.size() / 2];
  state.counters["worst_ms"] = latencies.back();
  state.counters["queue_ms"] = 1e3 * kPeriod * kPeriods / synth->sampleRate();
}
BENCHMARK(BM_ClickToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) { return strumlet::bench::RunAsTheProgram(argc, argv); }
