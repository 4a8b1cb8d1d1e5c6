// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The archived form: string length forms, wide text, layout and damaged archives.
#include <gtest/gtest.h>

#include "PdbTestSupport.h"
#include "strumlet/pdb/ArchiveReader.h"

namespace strumlet {
namespace {

using fixture::EncodeArchiveString;
using fixture::LengthForm;
using testing::Names;

std::string ReadOne(const std::vector<uint8_t>& bytes, std::size_t* left = nullptr) {
  MemorySource source(bytes);
  ArchiveReader ar(source);
  std::string s = ar.ReadString();
  if (left) {
    uint8_t rest[64];
    *left = source.Read(rest, sizeof rest);
  }
  return s;
}

ArchiveException::Cause FailureOf(const std::vector<uint8_t>& bytes) {
  try {
    ReadOne(bytes);
  } catch (const ArchiveException& e) {
    return e.cause();
  }
  ADD_FAILURE() << "no exception";
  return ArchiveException::kGeneric;
}

TEST(ArchiveString, EveryLengthFormNarrowAndWide) {
  for (bool wide : {false, true}) {
    for (auto form : {LengthForm::kByte, LengthForm::kU16, LengthForm::kU32, LengthForm::kU64}) {
      auto bytes = EncodeArchiveString("Am7", wide, form);
      bytes.push_back(0x5A);  // the string must end exactly before this byte
      std::size_t left = 0;
      EXPECT_EQ(ReadOne(bytes, &left), "Am7") << wide << static_cast<int>(form);
      EXPECT_EQ(left, 1u);
    }
  }
}

TEST(ArchiveString, LongLengthsAndTheBoundaries) {
  for (std::size_t n : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0xFFFFu, 70000u}) {
    std::string text(n, 'x');
    EXPECT_EQ(ReadOne(EncodeArchiveString(text, false)).size(), n) << n;
    EXPECT_EQ(ReadOne(EncodeArchiveString(text, true)).size(), n) << n;
  }
}

TEST(ArchiveString, WideTextInTheNarrowCodePage) {
  const std::pair<const char*, const char*> cases[] = {
      {"C\u266F", "C?"},                               // no sharp sign in the code page
      {"Caf\u00E9 \u20AC\u2013", "Caf\xE9 \x80\x96"},  // Latin-1 and the 0x80..0x9F block
      {"\U0001D12B", "?"},                             // a surrogate pair is one character
      {"A\\u{D800}B", "A?B"},                          // a lone high surrogate
      {"A\\u{DC00}", "A?"},                            // a lone low surrogate at the end
      {"\\u{D800}\\u{D800}\\u{DC00}", "??"},           // a lone one before a pair
      {"\\u{81}\\u{9D}", "\x81\x9D"},  // undefined codes keep their control characters
      {"\\u{85}", "?"},                // U+0085 is not 0x85 (that is the ellipsis)
  };
  for (auto [text, narrow] : cases) {
    // Escapes are resolved by the description parser, so go through a one-line archive.
    std::string description =
        std::string("strings wide\n{define: \"") + text + "\" frets 0 0 0 0 0 0}\n";
    auto bytes = fixture::BuildArchive(description);
    MemorySource source(bytes);
    ChordDatabase db;
    LoadArchivedCollection(source, kSortByPosition, db);
    ASSERT_EQ(db.chords.size(), 1u);
    EXPECT_EQ(db.chords[0].name, narrow) << text;
  }
}

TEST(CodePage, NamesBecomeUtf8ForDisplay) {
  EXPECT_EQ(CodePageToUtf8("C\xB0 A\x80 \x96\x81"), "C\u00B0 A\u20AC \u2013\u0081");
  EXPECT_EQ(ConvertWideToCodePage(u"\u00B0\u20AC\u2013"), "\xB0\x80\x96");
}

TEST(ArchiveString, ImpossibleLengthsFail) {
  // The 64-bit form must have zero high bits and a non-negative low half.
  std::vector<uint8_t> prefix = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  auto with = [&](std::vector<uint8_t> q) {
    auto b = prefix;
    b.insert(b.end(), q.begin(), q.end());
    return b;
  };
  EXPECT_EQ(FailureOf(with({0, 0, 0, 0, 1, 0, 0, 0})), ArchiveException::kGeneric);
  EXPECT_EQ(FailureOf(with({0, 0, 0, 0x80, 0, 0, 0, 0})), ArchiveException::kGeneric);
  // A plausible length with too few bytes behind it, including one of nearly 2 GiB that
  // must fail without taking that much memory first.
  EXPECT_EQ(FailureOf(with({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 'a'})),
            ArchiveException::kEndOfFile);
  EXPECT_EQ(FailureOf({5, 'a', 'b'}), ArchiveException::kEndOfFile);
  EXPECT_EQ(FailureOf({0xFF, 0xFE}), ArchiveException::kEndOfFile);
  EXPECT_EQ(FailureOf({}), ArchiveException::kEndOfFile);
}

constexpr const char* kSongbook = R"(
archive-value 42
archive-text "Songbook"
category-header 77
category 0 Unfiled id 0 flags 3 text "first"
category 1 Major id 5
category 2 Minor id 5          # repeats ID 5: dropped
category 3 "Sixteen Bytes!!!" id 6
app-values 10 20 30 40 50 60 70
{define: A frets x 0 2 2 2 0 fingers x x 1 2 3 x}
archive-category -1
{define: Ab base-fret 4 frets 1 3 3 2 1 1}
category 1
barre 4
record-index 99
marker 7
{define: Am frets x 0 2 2 1 0}
)";

TEST(ArchivedCollection, LayoutRoundTrip) {
  auto bytes = fixture::BuildArchive(kSongbook);
  MemorySource source(bytes);
  ChordDatabase db;
  LoadArchivedCollection(source, kSortByPosition, db);
  EXPECT_TRUE(db.complete);
  EXPECT_EQ(db.archiveValue, 42);
  EXPECT_EQ(db.archiveText, "Songbook");
  EXPECT_EQ(db.categories.headerValue, 77);
  EXPECT_EQ(db.categories.count(), 3);
  EXPECT_EQ(db.categories.Lookup(1)->name, "Major");
  EXPECT_EQ(db.categories.Lookup(2), nullptr);
  EXPECT_EQ(db.categories.Lookup(3)->name, "Sixteen Bytes!!");
  // The second application value is not part of the archive.
  EXPECT_EQ(db.appInfo.values[0], 10);
  EXPECT_EQ(db.appInfo.values[1], 0);
  EXPECT_EQ(db.appInfo.values[6], 70);
  ASSERT_EQ(db.chords.size(), 3u);
  const ChordRecord& a = db.chords[0];
  EXPECT_EQ(a.entryCount, 7);
  EXPECT_EQ(a.frets[6], 100);
  EXPECT_EQ(a.fingers[3], 2);
  EXPECT_EQ(a.category, -1);
  EXPECT_EQ(a.attributes, 0);
  EXPECT_EQ(a.marker, 1);
  const ChordRecord& ab = db.chords[1];
  EXPECT_EQ(ab.frets[0], 4);
  EXPECT_EQ(ab.frets[6], 4);
  EXPECT_EQ(ab.barres[0], 4);
  EXPECT_EQ(ab.recordIndex, 99);
  EXPECT_EQ(ab.marker, 7);
  EXPECT_EQ(db.chords[1].category, 1);
  EXPECT_EQ(db.chords[2].category, 0);
}

TEST(ArchivedCollection, ByNameUsesThePlainOrdering) {
  auto bytes = fixture::BuildArchive(kSongbook);
  MemorySource source(bytes);
  ChordDatabase db;
  LoadArchivedCollection(source, kSortByName, db);
  EXPECT_EQ(Names(db.chords), "A Ab Am");
  MemorySource again(bytes);
  LoadArchivedCollection(again, kSortByCategory, db);
  EXPECT_EQ(Names(db.chords), "Am Ab A");  // category -1 is the largest unsigned value
}

TEST(ArchivedCollection, EmptyAndNegativeRecordCounts) {
  for (const char* count : {"0", "-5"}) {
    auto bytes = fixture::BuildArchive(std::string("archive-record-count ") + count);
    MemorySource source(bytes);
    ChordDatabase db;
    LoadArchivedCollection(source, kSortByName, db);
    EXPECT_TRUE(db.chords.empty());
    EXPECT_TRUE(db.complete);
  }
}

TEST(ArchivedCollection, NamesAreCutToWhatARecordHoldsAndToldOnce) {
  std::string description = "{define: " + std::string(32, 'B') + " frets 0}\n", names(32, 'B');
  for (int i = 0; i < 4; ++i) {
    description += "{define: " + std::string(1 << 20, 'A') + " frets 0}\n";
    names += " " + std::string(32, 'A');
  }
  auto bytes = fixture::BuildArchive(description);
  MemorySource source(bytes);
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  ChordDatabase db;
  LoadArchivedCollection(source, kSortByPosition, db);
  EXPECT_EQ(Names(db.chords), names);
  // Kept for the front end to tell; the reader itself says nothing.
  EXPECT_EQ(db.faults, std::vector<std::string>{"A chord name longer than 32 bytes was cut "
                                                "to its first 32. (4 records)"});
  EXPECT_TRUE(messages.messages.empty());
}

TEST(ArchivedCollection, DamagedArchivesKeepWhatWasReadAndThrow) {
  struct Case {
    const char* extra;
    ArchiveException::Cause cause;
    std::size_t chordsKept;
  };
  const Case cases[] = {
      {"truncate -1", ArchiveException::kEndOfFile, 2},
      {"archive-record-count 2000000000", ArchiveException::kEndOfFile, 3},
      {"{define: Wide frets 0 0 0 0 0 0}\nentry-count 14", ArchiveException::kGeneric, 3},
      {"truncate 20", ArchiveException::kEndOfFile, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extra);
    auto bytes = fixture::BuildArchive(std::string(kSongbook) + c.extra + "\n");
    MemorySource source(bytes);
    ChordDatabase db;
    try {
      LoadArchivedCollection(source, kSortByName, db);
      ADD_FAILURE() << "no exception";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.cause(), c.cause);
    }
    EXPECT_FALSE(db.complete);
    EXPECT_EQ(db.chords.size(), c.chordsKept);
  }
}

}  // namespace
}  // namespace strumlet
