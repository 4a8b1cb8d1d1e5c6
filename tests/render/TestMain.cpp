// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "AssetStore.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramBatch.h"

// With "--missing-asset-child OUTDIR" the test executable acts as a front end that draws a few
// chords on several threads with no asset folder but its start directory; the asset tests run
// it that way. It prints what the render layer reported and how many messages it showed.
int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--missing-asset-child") == 0) {
    strumlet::AssetFallbackFolders().clear();
    strumlet::RecordingMessenger messages;
    strumlet::ScopedMessenger scoped(messages);
    strumlet::ChordCollection chords;
    chords.Begin(strumlet::kSortByPosition, strumlet::ChordCollection::NameOrdering::kPlain, 8);
    for (int i = 0; i < 8; ++i) {
      strumlet::ChordRecord record;
      record.entryCount = 7;
      record.name = "C";
      record.recordOffset = i;
      chords.Place(record);
    }
    chords.Finish();
    strumlet::DiagramStyle style;
    style.fontFile = strumlet::DefaultFontFile();
    const strumlet::DiagramBatch batch =
        strumlet::DrawDiagrams(chords, argv[2], strumlet::ImageKind::kPng, style, 4);
    std::fprintf(stderr, "missing: %s\nmessages: %zu\n", batch.missingAsset.c_str(),
                 messages.messages.size());
    return batch.missingAsset.empty() ? 0 : 3;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
