// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// End-to-end conversion speed with PNG images: databases of 10,000 and 65,535 chords and a
// folder of 100 databases of 100 chords, written to tmpfs (the CPU-bound figure) and to disk,
// beside the floor of copying the same output files with `cp -r` on disk.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchDatabase.h"
#include "Fixture.h"
#include "ProgramMain.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/render/ChordDiagram.h"

namespace {

namespace fs = std::filesystem;

// The input databases, written once on disk.
const std::string& Inputs() {
  static const std::string folder = [] {
    const std::string root = (fs::temp_directory_path() / "strumlet-bench-input").string();
    fs::remove_all(root);
    fs::create_directories(root + "/folder");
    strumlet::fixture::WriteFile(
        root + "/Big.pdb", strumlet::fixture::BuildDatabase(strumlet::bench::Description(10000)));
    strumlet::fixture::WriteFile(root + "/Largest.pdb", strumlet::fixture::BuildDatabase(
                                                            strumlet::bench::Description(65535)));
    const std::vector<uint8_t> small =
        strumlet::fixture::BuildDatabase(strumlet::bench::Description(100));
    for (int i = 0; i < 100; ++i) {
      strumlet::fixture::WriteFile(root + "/folder/Set" + std::to_string(i) + ".pdb", small);
    }
    return root;
  }();
  return folder;
}

std::string OutputRoot(bool tmpfs) {
  // Named per process: a folder whose earlier contents were just deleted is slower to fill.
  static const std::string suffix = std::to_string(::getpid());
  return tmpfs ? "/dev/shm/strumlet-bench-out-" + suffix
               : (fs::temp_directory_path() / ("strumlet-bench-out-" + suffix)).string();
}

// Disk runs and copies each get a folder of their own that is removed only at the end: writing
// where tens of thousands of files were just deleted costs the file system extra time that
// neither a first conversion nor the copy floor pays.
struct DiskFolders {
  int next = 0;
  std::string last;
  std::string Fresh(const std::string& kind) {
    return OutputRoot(false) + "/" + kind + std::to_string(next++);
  }
  ~DiskFolders() {
    std::error_code ignored;
    fs::remove_all(OutputRoot(false), ignored);
    fs::remove_all(OutputRoot(true), ignored);
  }
};
DiskFolders disk;

// args: which input (0: 10,000 chords, 1: 65,535 chords, 2: folder of 100 x 100), 1 for tmpfs.
void BM_Convert(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const bool tmpfs = state.range(1) != 0;
  const std::string input = Inputs() + (which == 0   ? "/Big.pdb"
                                        : which == 1 ? "/Largest.pdb"
                                                     : "/folder");
  const int chords = which == 0 ? 10000 : which == 1 ? 65535 : 100 * 100;

  strumlet::SilentMessenger quiet;
  strumlet::ScopedMessenger scoped(quiet);
  strumlet::ProcessingSettings settings;
  settings.m_bPng = true;
  settings.m_nChordPercent = 100;
  settings.m_nSort = strumlet::kSortByPosition;
  settings.m_nFontSize = 12;
  settings.m_strFontFile = strumlet::DefaultFontFile();

  for (auto _ : state) {
    state.PauseTiming();
    std::string output = OutputRoot(true);
    if (tmpfs) {
      fs::remove_all(output);
    } else {
      output = disk.last = disk.Fresh("run");
    }
    fs::create_directories(output);
    settings.m_strOutputPath = output;
    ::sync();  // no write-back left over from earlier runs slows this one
    state.ResumeTiming();
    strumlet::CStrumletViewerDoc doc(settings);
    if (!doc.OnOpenDocument(input) || doc.summary().failures != 0) {
      state.SkipWithError("conversion failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * chords);
  state.counters["maxrss_MiB"] = static_cast<double>(strumlet::bench::MaxRssKiB()) / 1024.0;
}

// The floor on disk: copying the files one conversion writes.
void BM_CopyFloor(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const int chords = which == 0 ? 10000 : which == 1 ? 65535 : 100 * 100;
  const std::string source = disk.last;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string copy = disk.Fresh("copy");
    ::sync();
    state.ResumeTiming();
    const std::string command = "cp -r '" + source + "' '" + copy + "'";
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cp failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * chords);
}

// The largest database first, so the peak memory counter is its own.
BENCHMARK(BM_Convert)->Args({1, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Convert)->Args({0, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Convert)->Args({2, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
// Each disk run leaves its output for the copy floor measured right after it.
BENCHMARK(BM_Convert)->Args({0, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_CopyFloor)->Args({0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Convert)->Args({1, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CopyFloor)->Args({1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Convert)->Args({2, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_CopyFloor)->Args({2})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return strumlet::bench::RunAsTheProgram(argc, argv); }
