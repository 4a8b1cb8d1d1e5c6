// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Diagrams per second: construct + draw + write, against the floor of only encoding and writing
// the same finished images. Output goes to a folder under /dev/shm so the disk does not count.
#include <benchmark/benchmark.h>
#include <gd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {
namespace {

ChordRecord Chord(const std::string& name, int baseFret, std::vector<int> highFirst, int32_t offset,
                  int barre = -1, uint8_t code = 0) {
  ChordRecord r;
  r.name = name;
  r.instrumentCode = code;
  r.entryCount = static_cast<uint8_t>(highFirst.size() + 1);
  r.frets[0] = static_cast<int8_t>(baseFret);
  for (std::size_t i = 0; i < highFirst.size(); ++i) {
    r.frets[i + 1] = static_cast<int8_t>(highFirst[i]);
    r.fingers[i + 1] = static_cast<int8_t>(highFirst[i] > 0 && highFirst[i] < 5 ? highFirst[i] : 0);
  }
  r.flags = ChordRecord::kFingers;
  if (barre >= 0) {
    r.flags |= ChordRecord::kBarre;
    r.barres[0] = static_cast<int8_t>(barre);
  }
  r.recordOffset = offset;
  return r;
}

// A mix like a real guitar database: open chords, barre chords, chords up the neck, odd names.
const std::vector<ChordRecord>& Records() {
  static const std::vector<ChordRecord> records = [] {
    std::vector<ChordRecord> v;
    int32_t offset = 0x200;
    auto add = [&](ChordRecord r) {
      r.recordOffset = offset;
      offset += 0x1c;
      v.push_back(r);
    };
    add(Chord("C", 0, {0, 1, 0, 2, 3, 100}, 0));
    add(Chord("G", 0, {3, 0, 0, 0, 2, 3}, 0));
    add(Chord("D", 0, {2, 3, 2, 0, 100, 100}, 0));
    add(Chord("Am", 0, {0, 1, 2, 2, 0, 100}, 0));
    add(Chord("Em", 0, {0, 0, 0, 2, 2, 0}, 0));
    add(Chord("F", 0, {1, 1, 2, 3, 3, 1}, 0, 1));
    add(Chord("Bb", 0, {1, 3, 3, 3, 1, 100}, 0, 1));
    add(Chord("F#m", 0, {2, 2, 2, 4, 4, 2}, 0, 2));
    add(Chord("C#m7", 4, {4, 5, 4, 6, 4, 100}, 0));
    add(Chord("E7#9", 6, {8, 8, 7, 6, 7, 100}, 0));
    add(Chord("Cmaj7", 0, {0, 0, 0, 2, 3, 100}, 0));
    add(
        Chord("C\xB0"
              "7",
              0, {2, 1, 2, 1, 100, 100}, 0));
    add(Chord("A&B", 12, {12, 12, 13, 14, 14, 12}, 0, 12));
    add(Chord("Dsus4", 0, {3, 3, 2, 0, 100, 100}, 0));
    add(Chord("G", 3, {3, 3, 4, 5, 0}, 0, -1, 4));
    add(Chord("C", 0, {3, 0, 0, 0}, 0, -1, 1));
    return v;
  }();
  return records;
}

std::string OutputFolder() {
  const std::string folder = std::filesystem::exists("/dev/shm") ? "/dev/shm/strumlet-bench-render"
                                                                 : "/tmp/strumlet-bench-render";
  std::filesystem::create_directories(folder);
  return folder;
}

// A name size of 20 and labels at 14, in the default font: the sizes the figures were taken at.
DiagramStyle BenchStyle() {
  DiagramStyle style;
  style.nameSize = 20.0;
  style.labelSize = 14.0;
  style.fontFile = DefaultFontFile();
  return style;
}

void RunFull(benchmark::State& state, ImageKind kind) {
  const DiagramStyle style = BenchStyle();
  const std::string folder = OutputFolder();
  const auto& records = Records();
  std::size_t k = 0;
  for (auto _ : state) {
    ChordDiagram diagram(records[k], style);
    diagram.Draw();
    auto name = diagram.WriteImage(kind, folder);
    if (!name) state.SkipWithError("could not write");
    benchmark::DoNotOptimize(name);
    k = (k + 1) % records.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// Every record's diagram, drawn: what the floors below encode again and again.
std::vector<std::unique_ptr<ChordDiagram>> FinishedDiagrams() {
  const DiagramStyle style = BenchStyle();
  std::vector<std::unique_ptr<ChordDiagram>> diagrams;
  for (const auto& r : Records()) {
    diagrams.push_back(std::make_unique<ChordDiagram>(r, style));
    diagrams.back()->Draw();
  }
  return diagrams;
}

void RunFloor(benchmark::State& state, ImageKind kind) {
  const std::string folder = OutputFolder();
  const auto diagrams = FinishedDiagrams();
  std::size_t k = 0;
  for (auto _ : state) {
    auto name = diagrams[k]->WriteImage(kind, folder);
    if (!name) state.SkipWithError("could not write");
    benchmark::DoNotOptimize(name);
    k = (k + 1) % diagrams.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// Encoding the finished images into memory only: the floor above without the file system.
void RunEncode(benchmark::State& state, ImageKind kind) {
  const auto diagrams = FinishedDiagrams();
  std::size_t k = 0;
  for (auto _ : state) {
    auto bytes = diagrams[k]->EncodeImage(kind);
    if (bytes.empty()) state.SkipWithError("could not encode");
    benchmark::DoNotOptimize(bytes);
    k = (k + 1) % diagrams.size();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_DiagramPng(benchmark::State& state) { RunFull(state, ImageKind::kPng); }
void BM_EncodePng(benchmark::State& state) { RunEncode(state, ImageKind::kPng); }
void BM_FloorWritePng(benchmark::State& state) { RunFloor(state, ImageKind::kPng); }
void BM_DiagramJpeg(benchmark::State& state) { RunFull(state, ImageKind::kJpeg); }
void BM_FloorWriteJpeg(benchmark::State& state) { RunFloor(state, ImageKind::kJpeg); }

// Construct and draw only, without encoding: what the renderer itself costs.
void BM_DiagramDrawOnly(benchmark::State& state) {
  const DiagramStyle style = BenchStyle();
  const auto& records = Records();
  std::size_t k = 0;
  for (auto _ : state) {
    ChordDiagram diagram(records[k], style);
    diagram.Draw();
    benchmark::DoNotOptimize(diagram.Image());
    k = (k + 1) % records.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// One plain TrueType call at the name size, the cost each text would have without the stamps.
void BM_TrueTypeCall(benchmark::State& state) {
  const std::string font = DefaultFontFile();
  gdImagePtr image = gdImageCreate(100, 100);
  gdImageColorAllocate(image, 255, 255, 255);
  const int black = gdImageColorAllocate(image, 0, 0, 0);
  gdFontCacheSetup();
  int brect[8];
  for (auto _ : state) {
    benchmark::DoNotOptimize(gdImageStringTTF(state.range(0) ? image : nullptr, brect, black,
                                              font.c_str(), 20.0, 0.0, 10, 80, "Cmaj7"));
  }
  gdImageDestroy(image);
}

BENCHMARK(BM_DiagramPng);
BENCHMARK(BM_FloorWritePng);
BENCHMARK(BM_EncodePng);
BENCHMARK(BM_DiagramJpeg);
BENCHMARK(BM_FloorWriteJpeg);
BENCHMARK(BM_DiagramDrawOnly);
BENCHMARK(BM_TrueTypeCall)->Arg(0)->Arg(1);

}  // namespace
}  // namespace strumlet

BENCHMARK_MAIN();
