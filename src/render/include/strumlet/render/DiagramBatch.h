// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "strumlet/pdb/ChordCollection.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {

// Called as work gets done: (items done, items in all). Always on the thread that started the
// work, never on a helper, so it may touch a window.
using BatchProgress = std::function<void(std::size_t, std::size_t)>;

// Runs work(0) .. work(count - 1) on up to `threads` threads, the calling thread among them
// (0 means one per core), and returns when all have ended. Progress is reported on the calling
// thread as items finish, and once more with (count, count) at the end. When a work item
// throws, no further items are started, the helpers are joined and the first exception is
// rethrown on the calling thread.
void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(std::size_t)>& work, const BatchProgress& progress);

// One drawn and written diagram: its image file name (empty when the chord gets no image) and
// size, or why its image could not be written (naming the path).
struct DrawnDiagram {
  std::string fileName;
  int width = 0;
  int height = 0;
  std::string error;
};

// What DrawDiagrams did.
struct DiagramBatch {
  // The asset that could not be loaded (see render/Assets.h); nothing was drawn then.
  std::string missingAsset;
  std::vector<DrawnDiagram> diagrams;  // in collection order
};

// Draws every chord of `chords` in `style` and writes its image of `kind` into `folder`, on up to
// `threads` threads (0: one per core; the files and results are the same for every value). The
// assets are loaded on the calling thread before any helper starts. Shows no message; an
// exception (such as running out of memory) reaches the caller.
DiagramBatch DrawDiagrams(const ChordCollection& chords, const std::string& folder, ImageKind kind,
                          const DiagramStyle& style, unsigned threads,
                          const BatchProgress& progress = {});

}  // namespace strumlet
