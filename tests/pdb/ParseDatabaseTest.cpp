// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading whole databases: header, categories, record list, and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "PdbTestSupport.h"

namespace strumlet {
namespace {

using testing::Names;
using testing::Parsed;
using testing::ParseInto;

constexpr const char* kNotOurs =
    "The selected database is not a Strumlet database.  It cannot be processed.";

TEST(ParseDatabase, HeaderFieldsAreDecodedBigEndian) {
  Parsed p;
  ParseInto(R"(
database "Guitar Chords"
type ABCD
header version 0x0102
header creation-date 0xC1D2E3F4
header next-record-list-id 7
{define: E frets 0 2 2 1 0 0}
)",
            2, p);
  ASSERT_EQ(p.result, 0);
  const auto& h = p.db.header;
  EXPECT_STREQ(reinterpret_cast<const char*>(h.name.data()), "Guitar Chords");
  EXPECT_EQ(h.version, 0x0102);
  EXPECT_EQ(h.creationDate, 0xC1D2E3F4u);
  EXPECT_EQ(h.nextRecordListId, 7u);
  EXPECT_EQ(h.recordCount, 1);
  EXPECT_EQ(std::string(h.type.begin(), h.type.end()), "ABCD");  // any type is accepted
  EXPECT_EQ(h.appInfoOffset, 78u + 8u + 2u);
  EXPECT_TRUE(p.db.complete);
}

TEST(ParseDatabase, WrongCreatorIsRefusedAndKeepsThePreviousChords) {
  Parsed p;
  ParseInto("{define: E frets 0 2 2 1 0 0}\n", 2, p);
  ASSERT_EQ(p.db.chords.size(), 1u);
  ParseInto("creator STRN\n{define: A frets x 0 2 2 2 0}\n", 2, p);
  EXPECT_EQ(p.result, -1);
  ASSERT_EQ(p.messages.Texts().size(), 1u);
  EXPECT_EQ(p.messages.Texts()[0], kNotOurs);
  EXPECT_EQ(p.messages.Captions()[0], "");
  EXPECT_EQ(Names(p.db.chords), "E");
}

TEST(ParseDatabase, FileTooShortToNameItsCreatorIsNotOurs) {
  for (int size : {0, 10, 67}) {
    Parsed p;
    ParseInto("truncate " + std::to_string(size) + "\n", 2, p);
    EXPECT_EQ(p.result, -1) << size;
    ASSERT_EQ(p.messages.Texts().size(), 1u);
    EXPECT_EQ(p.messages.Texts()[0], kNotOurs);
  }
}

TEST(ParseDatabase, EmptyDatabaseHasFourGapBytesAndItsCategories) {
  // With two gap bytes instead of four the category block would be read two bytes early and
  // every label would be shifted.
  Parsed p;
  ParseInto(R"(
category 0 Unfiled id 0
category 1 Major
category 15 "Last One"
)",
            0, p);
  ASSERT_EQ(p.result, 0);
  EXPECT_TRUE(p.db.chords.empty());
  EXPECT_TRUE(p.db.complete);
  EXPECT_EQ(p.db.categories.count(), 3);
  ASSERT_NE(p.db.categories.Lookup(1), nullptr);
  EXPECT_EQ(p.db.categories.Lookup(1)->name, "Major");
  EXPECT_EQ(p.db.categories.Lookup(15)->name, "Last One");
  EXPECT_EQ(p.db.categories.Lookup(15)->uniqueId, 15);
  EXPECT_TRUE(p.messages.Texts().empty());
}

TEST(ParseDatabase, CategorySlots) {
  Parsed p;
  ParseInto(R"(
category 0 Unfiled id 0
category 1 Jazz id 7
category 2 Blues id 7                  # same ID: only the lower slot is entered
category 3 "" id 9                     # empty label, new ID: entered, but nameless
category 4 "ABCDEFGHIJKLMNOP" id 10    # sixteen bytes, no terminator
category 5 Folk id 200
{define: E frets 0 2 2 1 0 0}
category 2
)",
            0, p);
  const auto& t = p.db.categories;
  EXPECT_EQ(t.Lookup(1)->name, "Jazz");
  EXPECT_EQ(t.Lookup(2), nullptr);
  ASSERT_NE(t.Lookup(3), nullptr);
  EXPECT_FALSE(t.Lookup(3)->Name().has_value());
  EXPECT_EQ(t.Lookup(4)->name, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(t.Lookup(5)->uniqueId, 200);  // the ID byte is unsigned
  EXPECT_EQ(t.Lookup(6), nullptr);        // ID 0 again
  EXPECT_EQ(t.count(), 5);
  EXPECT_EQ(t.Lookup(-1), nullptr);
  EXPECT_EQ(t.Lookup(16), nullptr);
  EXPECT_EQ(t.Lookup(65536), t.Lookup(0));  // indexes are taken as 16-bit
  EXPECT_EQ(p.db.chords[0].category, 2);
}

TEST(ParseDatabase, AttributeByteWithTopBitSetStaysNegative) {
  Parsed p;
  ParseInto(R"(
{define: E frets 0 2 2 1 0 0}
attributes 0x93
offset 0x1234
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 1u);
  const ChordRecord& c = p.db.chords[0];
  EXPECT_EQ(c.attributes, -109);
  EXPECT_EQ(c.category, 3);
  EXPECT_EQ(c.recordOffset, 0x1234);
  EXPECT_EQ(c.recordIndex, 0);
}

TEST(ParseDatabase, ApplicationValuesAreConsumedExactly) {
  Parsed p;
  ParseInto(R"(
app-values 1 2 3 4 5 6 0xBEEF
{define: E frets 0 2 2 1 0 0}
)",
            2, p);
  EXPECT_EQ(p.db.appInfo.values[0], 1);
  EXPECT_EQ(p.db.appInfo.values[6], 0xBEEF);
  EXPECT_EQ(p.db.appInfo.lastUniqueId, 15);
  EXPECT_EQ(Names(p.db.chords), "E");
}

TEST(ParseDatabase, SecondDatabaseReplacesTheFirst) {
  Parsed p;
  ParseInto(R"(
category 0 Unfiled id 0
category 1 Jazz
category 2 Blues
{define: A frets x 0 2 2 2 0}
{define: B frets x 2 4 4 4 2}
)",
            0, p);
  ParseInto(R"(
category 0 Unfiled id 0
category 3 Folk
{define: G frets 3 2 0 0 0 3}
)",
            0, p);
  EXPECT_EQ(Names(p.db.chords), "G");
  EXPECT_EQ(p.db.categories.Lookup(1), nullptr);
  EXPECT_EQ(p.db.categories.Lookup(3)->name, "Folk");
  EXPECT_EQ(p.db.categories.count(), 2);
}

// ---- damaged files ----

const char* kThreeChords = R"(
category 0 Unfiled id 0
category 1 Open
{define: E frets 0 2 2 1 0 0}
{define: A frets x 0 2 2 2 0}
{define: D frets x x 0 2 3 2}
)";

TEST(ParseDatabase, FileEndingInsideARecordKeepsTheRecordsBefore) {
  Parsed p;
  ParseInto(std::string(kThreeChords) + "truncate -1\n", 2, p);
  EXPECT_EQ(p.result, 0);
  EXPECT_FALSE(p.db.complete);
  EXPECT_EQ(Names(p.db.chords), "E A");
  ASSERT_EQ(p.messages.Texts().size(), 1u);
  EXPECT_EQ(p.messages.Texts()[0],
            "The database ends inside chord 3. 2 of its 3 chords could be read.");
  EXPECT_EQ(p.messages.Captions()[0], "");
  EXPECT_EQ(p.db.categories.Lookup(1)->name, "Open");
}

TEST(ParseDatabase, FileEndingRightAfterTheCategoryBlock) {
  // 78 header + 3 * 8 list + 2 gap + 332 block: no record data at all.
  Parsed p;
  ParseInto(std::string(kThreeChords) + "truncate 436\n", 1, p);
  EXPECT_EQ(p.result, 0);
  EXPECT_FALSE(p.db.complete);
  EXPECT_TRUE(p.db.chords.empty());
  ASSERT_EQ(p.messages.Texts().size(), 1u);
  EXPECT_EQ(p.messages.Texts()[0],
            "The database ends inside chord 1. 0 of its 3 chords could be read.");
}

TEST(ParseDatabase, FileEndingBeforeTheChordsNamesWhereItEnded) {
  const std::pair<int, const char*> cases[] = {
      {70, "The database ends inside its header: no chords could be read."},
      {90, "The database ends inside its record list: none of its 3 chords could be read."},
      {103, "The database ends inside its record list: none of its 3 chords could be read."},
      {300, "The database ends inside its category block: none of its 3 chords could be read."},
  };
  for (auto [size, message] : cases) {
    SCOPED_TRACE(size);
    Parsed p;
    ParseInto("{define: Old frets 0 0 0 0 0 0}\n", 2, p);  // a previous database's chords
    ParseInto(std::string(kThreeChords) + "truncate " + std::to_string(size) + "\n", 2, p);
    EXPECT_EQ(p.result, 0);
    EXPECT_FALSE(p.db.complete);
    EXPECT_TRUE(p.db.chords.empty());
    EXPECT_EQ(p.db.categories.count(), 0);
    ASSERT_EQ(p.messages.Texts().size(), 1u);
    EXPECT_EQ(p.messages.Texts()[0], message);
  }
}

TEST(ParseDatabase, RecordClaimingMoreThanThirteenEntriesStopsReading) {
  Parsed p;
  ParseInto(R"(
{define: E frets 0 2 2 1 0 0}
{define: Wide frets 0 0 0 0 0 0 0 0 0 0 0 0}
entry-count 14
{define: A frets x 0 2 2 2 0}
)",
            1, p);
  EXPECT_EQ(p.result, 0);
  EXPECT_FALSE(p.db.complete);
  EXPECT_EQ(Names(p.db.chords), "E");
  ASSERT_EQ(p.messages.Texts().size(), 1u);
  EXPECT_EQ(p.messages.Texts()[0],
            "Chord 2 of the database claims 14 entries, more than the 13 a chord can hold; "
            "reading stopped there. 1 of its 3 chords could be read.");
}

TEST(ParseDatabase, ThirteenEntriesFillEveryArray) {
  Parsed p;
  ParseInto(R"(
{define: Harp frets 1 2 3 4 5 6 7 8 9 10 11 12 fingers 1 2 3 4 5 1 2 3 4 5 1 2}
barres 1 1 1 1 1 1 1 1 1 1 1 1
barre 4
{define: After frets 0 0 0 0}
)",
            2, p);
  ASSERT_EQ(p.db.chords.size(), 2u);
  const ChordRecord& c = p.db.chords[0];
  EXPECT_EQ(c.entryCount, 13);
  EXPECT_EQ(c.frets[12], 1);
  EXPECT_EQ(c.frets[1], 12);
  EXPECT_EQ(c.fingers[12], 1);
  EXPECT_EQ(c.barres[0], 4);
  EXPECT_EQ(c.barres[12], 1);
  EXPECT_EQ(p.db.chords[1].name, "After");
  EXPECT_TRUE(p.db.complete);
}

TEST(ParseDatabase, HeaderClaimingMoreRecordsThanTheFileHolds) {
  Parsed p;
  ParseInto(std::string(kThreeChords) + "record-count 5\n", 2, p);
  // The list is then read two entries too far, so the category block and the records shift:
  // whatever comes out, reading must stop with a message instead of running off the end.
  EXPECT_EQ(p.result, 0);
  EXPECT_FALSE(p.db.complete);
  EXPECT_EQ(p.messages.Texts().size(), 1u);
}

TEST(ParseDatabase, OffsetsOutsideTheRecordsStopReadingThere) {
  // Chord 1 stands at 436 (78 + 3 * 8 + 2 + 332) and is 20 bytes long; the offsets are chord 2's.
  const std::string inHeader = "Chord 2 of the database points into its header or category block";
  const std::pair<const char*, std::string> cases[] = {
      {"offset 90", inHeader + "; reading stopped there. 1 of its 3 chords could be read."},
      {"offset 300", inHeader + "; reading stopped there. 1 of its 3 chords could be read."},
      {"offset 0xFFFFFFF0", "The database ends inside chord 2. 1 of its 3 chords could be read."},
      {"offset 446",
       "Chord 1 of the database runs into the next block of the file; reading "
       "stopped there. 0 of its 3 chords could be read."},
      {"header app-info-offset 100",
       "The database's category block points into its header: none of its 3 chords could be "
       "read."},
  };
  for (const auto& [damage, message] : cases) {
    Parsed p;
    ParseInto(std::string("{define: E frets 0 2 2 1 0 0}\n{define: A frets x 0 2 2 2 0}\n") +
                  damage + "\n{define: D frets x x 0 2 3 2}\n",
              2, p);
    EXPECT_FALSE(p.db.complete) << damage;
    EXPECT_EQ(p.messages.Texts(), std::vector<std::string>{message});
  }
  Parsed none;  // without a category block a database has no categories, and its chords
  ParseInto("header app-info-offset 0\n{define: E frets 0 2 2 1 0 0}\n", 2, none);
  EXPECT_EQ(Names(none.db.chords), "E");
  EXPECT_EQ(none.db.categories.count(), 0);
}

TEST(ParseDatabase, ReadsFromAnOpenFile) {
  auto bytes = fixture::BuildDatabase(kThreeChords);
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  std::rewind(f);
  FileSource source(f);
  ChordDatabase db;
  ASSERT_EQ(ParseDatabase(source, 1, db), 0);
  EXPECT_EQ(Names(db.chords), "A D E");
  EXPECT_FALSE(source.failed());
  std::fclose(f);
}

TEST(ParseDatabase, ReadErrorAnywhereIsNeitherTruncationNorAForeignFile) {
  // A source that fails like a bad disk after `limit` bytes.
  class FailingSource final : public ByteSource {
   public:
    FailingSource(std::span<const uint8_t> bytes, std::size_t limit)
        : inner_(bytes), left_(limit) {}
    std::size_t Read(void* destination, std::size_t count) override {
      const std::size_t n = inner_.Read(destination, std::min(count, left_));
      left_ -= n;
      if (n < count) error_ = EIO;
      return n;
    }
    int error() const override { return error_; }

   private:
    MemorySource inner_;
    std::size_t left_;
    int error_ = 0;
  };
  const auto bytes = fixture::BuildDatabase(kThreeChords);
  for (std::size_t limit : {std::size_t{0}, std::size_t{70}, std::size_t{90}, bytes.size() - 3}) {
    FailingSource source(bytes, limit);
    RecordingMessenger messages;
    ScopedMessenger scoped(messages);
    ChordDatabase db;
    EXPECT_EQ(ParseDatabase(source, 1, db), kReadError) << limit;
    EXPECT_TRUE(messages.messages.empty()) << limit;
    EXPECT_TRUE(db.chords.empty());
  }
}

// ---- the folder test ----

class IsChordDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("strumlet-pdb-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& name, const std::string& description) {
    fixture::WriteFile((dir_ / name).string(), fixture::BuildDatabase(description));
  }
  bool Is(const std::string& name) { return IsChordDatabase(dir_.string(), name); }
  std::filesystem::path dir_;
};

TEST_F(IsChordDatabaseTest, NameAndCreatorDecide) {
  Write("a.pdb", "");
  Write("CHORDS.PDB", "");
  Write("Guitar Chords.Pdb", "type XXXX");
  Write("other.pdb", "creator ABCD");
  Write("short.pdb", "truncate 67");
  Write("chords.pdb.bak", "");
  Write("chords", "");
  Write(".pdb", "");
  EXPECT_TRUE(Is("a.pdb"));
  EXPECT_TRUE(Is("CHORDS.PDB"));
  EXPECT_TRUE(Is("Guitar Chords.Pdb"));
  EXPECT_FALSE(Is("other.pdb"));
  EXPECT_FALSE(Is("short.pdb"));
  EXPECT_FALSE(Is("chords.pdb.bak"));
  EXPECT_FALSE(Is("chords"));
  EXPECT_FALSE(Is(".pdb"));
  EXPECT_FALSE(Is("missing.pdb"));
  std::filesystem::create_directory(dir_ / "folder.pdb");
  EXPECT_FALSE(Is("folder.pdb"));
}

}  // namespace
}  // namespace strumlet
