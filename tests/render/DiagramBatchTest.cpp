// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "strumlet/render/DiagramBatch.h"

namespace strumlet {
namespace {

TEST(RunInParallel, ProgressComesOnTheCallingThreadOnlyAndEndsWithTheTotal) {
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::atomic<int>> runs(200);
  std::vector<std::size_t> reports;
  bool foreignThread = false;
  RunInParallel(
      runs.size(), 4, [&](std::size_t i) { ++runs[i]; },
      [&](std::size_t done, std::size_t total) {
        foreignThread |= std::this_thread::get_id() != caller;
        EXPECT_EQ(total, runs.size());
        reports.push_back(done);
      });
  for (const auto& r : runs) EXPECT_EQ(r, 1);
  EXPECT_FALSE(foreignThread);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), runs.size());
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
}

TEST(RunInParallel, AnExceptionOnAHelperReachesTheCaller) {
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<int> started{0};
  std::atomic<bool> helperRan{false};
  // Every item thrown on a helper: the caller must get the exception instead of the process
  // ending, and stop handing out items. The caller's items wait for a helper to have thrown,
  // so a loaded machine cannot let the caller take every item before any helper runs.
  EXPECT_THROW(RunInParallel(1000, 4,
                             [&](std::size_t) {
                               ++started;
                               if (std::this_thread::get_id() != caller) {
                                 helperRan = true;
                                 throw std::bad_alloc();
                               }
                               const auto until =
                                   std::chrono::steady_clock::now() + std::chrono::seconds(30);
                               while (!helperRan && std::chrono::steady_clock::now() < until) {
                                 std::this_thread::yield();
                               }
                               // Give the throwing helper time to stop the hand-out before this
                               // thread asks for its next item.
                               std::this_thread::sleep_for(std::chrono::milliseconds(20));
                             },
                             {}),
               std::bad_alloc);
  EXPECT_LT(started, 1000);
  EXPECT_THROW(RunInParallel(3, 1,
                             [](std::size_t i) {
                               if (i == 1) throw std::runtime_error("x");
                             },
                             {}),
               std::runtime_error);
}

}  // namespace
}  // namespace strumlet
