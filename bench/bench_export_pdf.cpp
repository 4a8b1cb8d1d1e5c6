// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The PDF chord book of databases of 1,000, 10,000 and 65,535 chords, sorted by category (three
// headings) and by name (a heading per root note), written to tmpfs: the time, the file's size
// per chord and the process's peak memory. Run one size per process (--benchmark_filter) for a
// peak of its own; the largest runs first otherwise.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "BenchDatabase.h"
#include "Fixture.h"
#include "ProgramMain.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/PdfBookExport.h"
#include "strumlet/pdb/DatabaseFile.h"
#include "strumlet/render/ChordDiagram.h"

namespace {

namespace fs = std::filesystem;

// args: chords, sort order (0 category, 1 name), 1 for the diagrams' words under them.
void BM_PdfBook(benchmark::State& state) {
  const int chords = static_cast<int>(state.range(0));
  const int sortOrder = static_cast<int>(state.range(1));
  const std::string folder = "/dev/shm/strumlet-bench-pdf-" + std::to_string(::getpid());
  fs::create_directories(folder);
  const std::string input = folder + "/in.pdb";
  strumlet::fixture::WriteFile(
      input, strumlet::fixture::BuildDatabase(strumlet::bench::Description(chords)));
  strumlet::SilentMessenger quiet;
  strumlet::ScopedMessenger scoped(quiet);
  strumlet::PdfBookSettings settings;
  settings.paper = *strumlet::NamedPaper("a4");
  settings.style.fontFile = strumlet::DefaultFontFile();
  settings.style.altText = state.range(2) != 0;
  const std::string output = folder + "/book.pdf";
  for (auto _ : state) {
    // Read as the conversion reads it: the time counts from the file to the book.
    strumlet::ChordDatabase db;
    if (!strumlet::ReadDatabaseFile(input, sortOrder, db) ||
        !strumlet::WritePdfBookFile(db, "Bench", sortOrder, output, settings)) {
      state.SkipWithError("the book was not written");
      break;
    }
  }
  const double bytes = static_cast<double>(fs::file_size(output));
  state.SetItemsProcessed(state.iterations() * chords);
  state.counters["bytes_per_chord"] = bytes / chords;
  state.counters["file_MiB"] = bytes / (1 << 20);
  state.counters["maxrss_MiB"] = static_cast<double>(strumlet::bench::MaxRssKiB()) / 1024.0;
  fs::remove_all(folder);
}

BENCHMARK(BM_PdfBook)
    ->Args({65535, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PdfBook)
    ->Args({65535, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PdfBook)
    ->Args({10000, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_PdfBook)
    ->Args({10000, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_PdfBook)
    ->Args({1000, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_PdfBook)
    ->Args({1000, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return strumlet::bench::RunAsTheProgram(argc, argv); }
