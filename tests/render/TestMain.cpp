#include <gtest/gtest.h>

#include <cstring>

#include "render/AssetStore.h"
#include "render/ChordDiagram.h"

// With "--missing-asset-child OUTDIR" the test executable acts as a program that draws one
// chord with no asset folder but its start directory; the asset tests run it that way.
int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--missing-asset-child") == 0) {
    strumlet::AssetFallbackFolders().clear();
    strumlet::ChordRecord record;
    record.entryCount = 7;
    record.name = "C";
    strumlet::ChordDiagram diagram(record, 20.0, 14.0, strumlet::DefaultFontFile());
    diagram.Draw();
    diagram.WriteImage(strumlet::ImageKind::kPng, argv[2]);
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
