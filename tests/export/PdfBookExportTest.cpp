// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chord book's file: written whole or not at all, and every failure told.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Fixture.h"
#include "TestCommon.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/PdfBookExport.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The export as the window runs it: its messages told, true when the book was written.
bool Tell(const ExportResult& exported) {
  for (const std::string& text : ExportMessages(exported)) ShowMessage("", text);
  return exported.ok();
}

TEST(PdfBookExport, WritesTheBookOrLeavesTheOldFileAndSaysWhy) {
  PdfBookSettings settings;
  settings.style.fontFile = DefaultFontFile();
  if (settings.style.fontFile.empty()) GTEST_SKIP() << "no font to draw with";
  settings.paper = *NamedPaper("Letter");
  testing::TempFolder folder;
  fixture::WriteFile(folder / "Guitar.pdb",
                     fixture::BuildDatabase("{define: C frets x 3 2 0 1 0}"));
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  const std::string out = folder / "out.pdf";
  { std::ofstream(out) << "old"; }

  EXPECT_FALSE(Tell(ExportPdfBook(folder / "missing.pdb", kSortByPosition, out, settings)));
  EXPECT_EQ(ReadBytes(out), "old");

  // A font file that is none: nothing is written, and the message names the file.
  PdfBookSettings noFont = settings;
  noFont.style.fontFile = folder / "Guitar.pdb";
  EXPECT_FALSE(Tell(ExportPdfBook(folder / "Guitar.pdb", kSortByPosition, out, noFont)));
  EXPECT_EQ(ReadBytes(out), "old");
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_EQ(messages.messages.back().text, "Could not write '" + out + "': The font file '" +
                                               noFont.style.fontFile + "' cannot be read.");

  ::mkdir((folder / "taken").c_str(), 0755);
  EXPECT_FALSE(
      Tell(ExportPdfBook(folder / "Guitar.pdb", kSortByPosition, folder / "taken", settings)));
  EXPECT_EQ(
      messages.messages.back().text.rfind("Could not write '" + (folder / "taken") + "': ", 0), 0u);

  const std::size_t told = messages.messages.size();
  ASSERT_TRUE(Tell(ExportPdfBook(folder / "Guitar.pdb", kSortByPosition, out, settings)));
  EXPECT_EQ(messages.messages.size(), told);
  const std::string book = ReadBytes(out);
  EXPECT_EQ(book.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(book.substr(book.size() - 6), "%%EOF\n");
  EXPECT_NE(book.find("/MediaBox [ 0 0 612 792 ]"), std::string::npos);
}

}  // namespace
}  // namespace strumlet
