// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading and ordering chord databases of 1,000 to 65,535 records, against the placement rule
// done literally (scan for the position, insert there) as the baseline.
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "Fixture.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {
namespace {

// A songbook-like database: every root with and without accidentals, a few common qualities
// much more often than the rest, and several voicings of the same chord under one name.
std::string Describe(int count) {
  static const char* roots[] = {"C",  "C#", "Db", "D",  "D#", "Eb", "E",  "F", "F#",
                                "Gb", "G",  "G#", "Ab", "A",  "A#", "Bb", "B"};
  static const char* qualities[] = {"",   "",     "",     "m",    "m",     "7",   "7",
                                    "m7", "maj7", "sus4", "sus2", "dim",   "aug", "6",
                                    "m6", "9",    "add9", "m7b5", "7sus4", "13",  "7#9"};
  std::mt19937 random(65535);
  std::string text = "category 0 Unfiled id 0\n";
  for (int slot = 1; slot < 16; ++slot) {
    text += "category " + std::to_string(slot) + " Set" + std::to_string(slot) + "\n";
  }
  for (int i = 0; i < count; ++i) {
    std::string name = std::string(roots[random() % 17]) + qualities[random() % 21];
    int base = static_cast<int>(random() % 12) + 1;
    text += "{define: " + name + " base-fret " + std::to_string(base) +
            " frets x 1 3 3 2 1 fingers x 1 3 4 2 1}\ncategory " + std::to_string(random() % 16) +
            "\n";
    if (random() % 4 == 0) text += "barre " + std::to_string(base) + "\n";
  }
  return text;
}

const std::vector<uint8_t>& Database(int count) {
  static std::map<int, std::vector<uint8_t>> cache;
  auto it = cache.find(count);
  if (it == cache.end()) it = cache.emplace(count, fixture::BuildDatabase(Describe(count))).first;
  return it->second;
}

void BM_ParseAndOrder(benchmark::State& state) {
  SilentMessenger silent;
  ScopedMessenger scoped(silent);
  const auto& bytes = Database(static_cast<int>(state.range(0)));
  const int order = static_cast<int>(state.range(1));
  for (auto _ : state) {
    MemorySource source(bytes);
    ChordDatabase db;
    benchmark::DoNotOptimize(ParseDatabase(source, order, db));
    benchmark::DoNotOptimize(db.chords.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The placement rule taken literally: scan from the front for the first element that compares
// greater and insert there.
void BM_ParseAndOrderLiteralBaseline(benchmark::State& state) {
  SilentMessenger silent;
  ScopedMessenger scoped(silent);
  const auto& bytes = Database(static_cast<int>(state.range(0)));
  const int order = static_cast<int>(state.range(1));
  for (auto _ : state) {
    MemorySource source(bytes);
    ChordDatabase db;
    ParseDatabase(source, kSortByPosition, db);
    std::vector<ChordRecord> placed;
    placed.reserve(db.chords.size());
    for (const ChordRecord& r : db.chords) {
      std::size_t j = placed.size();
      if (order == kSortByCategory) {
        for (j = 0; j < placed.size(); ++j) {
          if (static_cast<uint32_t>(placed[j].category) > static_cast<uint32_t>(r.category)) break;
        }
      } else if (order == kSortByName) {
        for (j = 0; j < placed.size(); ++j) {
          if (placed[j].CompareNames(r.name) > 0) break;
        }
      }
      placed.insert(placed.begin() + static_cast<std::ptrdiff_t>(j), r);
    }
    benchmark::DoNotOptimize(placed.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int order : {kSortByCategory, kSortByName, kSortByPosition}) {
    for (int count : {1000, 10000, 65535}) b->Args({count, order});
  }
  b->ArgNames({"records", "order"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ParseAndOrder)->Apply(Sizes);
BENCHMARK(BM_ParseAndOrderLiteralBaseline)->Apply(Sizes);

}  // namespace
}  // namespace strumlet

BENCHMARK_MAIN();
