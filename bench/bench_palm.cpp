// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Listing the Palm Desktop users as `strumlet-palm users` and the Open dialog do: our
// UserData.dll loaded by name, then one count, one id and one name query per user, then sorted.
// The users file holds 2,000 and 50,000 users.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "strumlet/palm/PalmInstaller.h"
#include "strumlet/palm/PalmUserDirectory.h"

namespace strumlet {
namespace {

namespace fs = std::filesystem;

// A Palm Desktop folder of its own for each user count, and no J-Pilot home.
class PalmHomeWithUsers {
 public:
  explicit PalmHomeWithUsers(int count) {
    char pattern[] = "/tmp/strumlet-bench-palm-XXXXXX";
    folder_ = mkdtemp(pattern) ? pattern : "";
    std::ofstream users(folder_ + "/users", std::ios::binary);
    users << "# Palm Desktop users: ID, folder and name, separated by one tab.\n";
    for (int i = 1; i <= count; ++i) {
      users << i << "\tuser" << i << "\tPalm User " << i << "\n";
    }
  }
  ~PalmHomeWithUsers() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  void Use() const {
    setenv("STRUMLET_PALM_HOME", folder_.c_str(), 1);
    setenv("JPILOT_HOME", folder_.c_str(), 1);
  }

 private:
  std::string folder_;
};

void BM_ListPalmUsers(benchmark::State& state) {
  const PalmHomeWithUsers home(static_cast<int>(state.range(0)));
  home.Use();
  std::size_t listed = 0;
  for (auto _ : state) {
    PalmUserDirectory directory;
    std::vector<std::string> names;
    if (directory.LoadRootDirectory() != 0 || directory.ListUserNames(names) != 0) {
      state.SkipWithError("UserData.dll could not be loaded or does not answer");
      break;
    }
    SortUserNames(names);
    listed = names.size();
    benchmark::DoNotOptimize(names.data());
  }
  // The callers take the count as a signed 16-bit number, so at most 32,767 users are listed.
  state.counters["listed"] = static_cast<double>(listed);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(listed));
}

BENCHMARK(BM_ListPalmUsers)
    ->ArgName("users")
    ->Arg(500)
    ->Arg(2000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

}  // namespace
}  // namespace strumlet

BENCHMARK_MAIN();
