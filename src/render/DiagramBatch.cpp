// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/DiagramBatch.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "strumlet/render/Assets.h"

namespace strumlet {

void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(std::size_t)>& work, const BatchProgress& progress) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads =
      static_cast<unsigned>(std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1)));

  std::mutex mutex;
  std::condition_variable changed;
  std::size_t next = 0, done = 0;
  unsigned running = 0;
  std::exception_ptr failure;

  // Takes items until none are left or one failed; false when there was nothing to take.
  auto takeAndRun = [&](std::unique_lock<std::mutex>& lock) {
    if (failure || next >= count) return false;
    const std::size_t item = next++;
    lock.unlock();
    std::exception_ptr thrown;
    try {
      work(item);
    } catch (...) {
      thrown = std::current_exception();
    }
    lock.lock();
    if (thrown && !failure) failure = thrown;
    ++done;
    changed.notify_all();
    return true;
  };
  auto helper = [&] {
    std::unique_lock lock(mutex);
    while (takeAndRun(lock)) {
    }
    --running;
    changed.notify_all();
  };

  std::vector<std::jthread> helpers;
  for (unsigned t = 1; t < threads; ++t) {
    {
      std::lock_guard lock(mutex);
      ++running;
    }
    try {
      helpers.emplace_back(helper);
    } catch (...) {
      // No more threads to be had: the ones running and the calling thread do the rest.
      std::lock_guard lock(mutex);
      --running;
      break;
    }
  }

  std::size_t reported = 0;
  std::unique_lock lock(mutex);
  for (;;) {
    const bool took = takeAndRun(lock);
    if (progress && done != reported) {
      reported = done;
      const std::size_t now = done;
      lock.unlock();
      progress(now, count);
      lock.lock();
    }
    if (!took) {
      if (running == 0) break;
      changed.wait(lock);
    }
  }
  lock.unlock();
  helpers.clear();  // joins; every helper has already left its loop
  if (failure) std::rethrow_exception(failure);
  if (progress) progress(count, count);
}

DiagramBatch DrawDiagrams(const ChordCollection& chords, const std::string& folder, ImageKind kind,
                          const DiagramStyle& style, unsigned threads,
                          const BatchProgress& progress) {
  DiagramBatch batch;
  if (const Result<void> assets = LoadDiagramAssets(); !assets) {
    batch.missingAsset = assets.error().path;
    return batch;
  }
  batch.diagrams.resize(chords.size());
  std::vector<int32_t> offsets;
  offsets.reserve(chords.size());
  for (std::size_t i = 0; i < chords.size(); ++i) offsets.push_back(chords[i].recordOffset);
  const std::vector<std::string> names = DiagramFileNames(offsets, kind, style.leftHanded);
  RunInParallel(
      chords.size(), threads,
      [&](std::size_t i) {
        DrawnDiagram& drawn = batch.diagrams[i];
        ChordDiagram diagram(chords[i], style);
        if (kind != ImageKind::kSvg) diagram.Draw();  // the SVG is painted from the layout
        const Result<std::string> written = diagram.WriteImage(kind, folder, names[i]);
        if (written) {
          drawn.fileName = *written;
        } else {
          drawn.error = ImageErrorText(written.error());
        }
        drawn.width = diagram.GetWidth();
        drawn.height = diagram.GetHeight();
      },
      progress);
  return batch;
}

}  // namespace strumlet
