// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ChordDatabase.h"

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"

namespace strumlet {
namespace {

constexpr const char* kNotAChordDatabase =
    "The selected database is not a Strumlet database.  It cannot be processed.";
constexpr uint8_t kCreator[4] = {'S', 'T', 'R', 'M'};
constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kCreatorEnd = 68;
constexpr std::size_t kAppInfoSize = 332;
// A reservation is only a hint; an archive's record count is not trusted with memory, so
// a larger collection grows as its records actually arrive.
constexpr std::size_t kMaxReservation = 1024;

uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

uint32_t BigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

std::string Chords(unsigned count) {
  return std::to_string(count) + (count == 1 ? " chord" : " chords");
}

void DecodeHeader(const uint8_t* h, PalmDatabaseHeader& header) {
  std::memcpy(header.name.data(), h, 32);
  header.attributes = BigEndian16(h + 32);
  header.version = BigEndian16(h + 34);
  header.creationDate = BigEndian32(h + 36);
  header.modificationDate = BigEndian32(h + 40);
  header.lastBackupDate = BigEndian32(h + 44);
  header.modificationNumber = BigEndian32(h + 48);
  header.appInfoOffset = BigEndian32(h + 52);
  header.sortInfoOffset = BigEndian32(h + 56);
  std::memcpy(header.type.data(), h + 60, 4);
  std::memcpy(header.creator.data(), h + 64, 4);
  header.uniqueIdSeed = BigEndian32(h + 68);
  header.nextRecordListId = BigEndian32(h + 72);
  header.recordCount = BigEndian16(h + 76);
}

void DecodeAppInfo(const uint8_t* b, ChordAppInfo& info, CategoryTable& categories) {
  info.categoryChangeBits = BigEndian16(b);
  info.lastUniqueId = b[274];
  info.padding = b[275];
  std::memcpy(info.rawValue1.data(), b + 276, 2);
  std::memcpy(info.rawValue2.data(), b + 278, 2);
  categories.Clear();
  for (int j = 0; j < CategoryTable::kSlots; ++j) {
    const auto* label = reinterpret_cast<const char*>(b + 2 + 16 * j);
    CategoryEntry entry;
    entry.index = j;
    entry.uniqueId = b[258 + j];
    entry.name.assign(label, std::find(label, label + CategoryEntry::kMaxNameLength, '\0'));
    categories.Add(entry);  // a refused entry leaves its slot empty
  }
  info.byteValue = b[280];
  for (int i = 0; i < 7; ++i) info.values[i] = BigEndian16(b + 282 + 2 * i);
  std::memcpy(info.table1.data(), b + 296, 13);
  std::memcpy(info.table2.data(), b + 309, 13);
  info.value322 = BigEndian16(b + 322);
  for (int i = 0; i < 4; ++i) std::memcpy(info.rawValues324[i].data(), b + 324 + 2 * i, 2);
}

// Reading stopped before any chord: the database is empty and incomplete.
Result<void> StopBeforeChords(ChordDatabase& db, int sortOrder, const std::string& why) {
  db.chords.Begin(sortOrder, ChordCollection::NameOrdering::kChordNames, 0);
  db.chords.Finish();
  db.complete = false;
  unsigned total = db.header.recordCount;
  std::string text = why + ": ";
  text += total == 0 ? std::string("no chords could be read.")
                     : "none of its " + Chords(total) + " could be read.";
  db.faults.push_back(std::move(text));
  return {};
}

// The most bytes a record in the database layout holds: its head, four arrays of 13 entries
// (frets, values, fingers, barres), the name length and 32 name bytes.
constexpr std::size_t kMaxRecordSize =
    4 + 4 * ChordRecord::kMaxEntries + 1 + ChordRecord::kMaxNameLength;

// A block of the file named by an offset, and what the file holds of it.
struct Request {
  uint64_t offset = 0;
  std::size_t size = 0;
  std::size_t at = 0;   // where its bytes start in the store
  std::size_t got = 0;  // fewer than `size` when the file ends inside it
};

// Fills every request from `in`, which stands at `position`. The requests are served in the order
// of their offsets, so a source that only reads forward reads each byte once and keeps only the
// bytes some request covers. `end`
// becomes the size of the data when the reading met it. False on a read error.
bool Fill(ByteSource& in, uint64_t position, std::vector<Request>& requests,
          std::vector<uint8_t>& store, uint64_t& end) {
  std::vector<Request*> order;
  std::size_t total = 0;
  for (Request& r : requests) {
    r.at = total;
    total += r.size;
    order.push_back(&r);
  }
  store.assign(total, 0);
  std::stable_sort(order.begin(), order.end(),
                   [](const Request* a, const Request* b) { return a->offset < b->offset; });
  end = UINT64_MAX;
  std::vector<uint8_t> window;  // the bytes from windowStart up to position
  uint64_t windowStart = position;
  auto read = [&](uint8_t* into, std::size_t count) {
    const std::size_t n = in.Read(into, count);
    position += n;
    if (n < count) end = position;
    return n == count || in.error() == 0;
  };
  for (Request* r : order) {
    if (r->offset < windowStart) continue;  // before the data: nothing to give
    const uint64_t drop = std::min<uint64_t>(r->offset - windowStart, window.size());
    window.erase(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(drop));
    windowStart += drop;
    if (end == UINT64_MAX && position < r->offset) {
      if (!in.Skip(r->offset - position)) return false;
      position = windowStart = r->offset;
    }
    if (end == UINT64_MAX && position < r->offset + r->size) {
      const std::size_t had = window.size();
      window.resize(had + static_cast<std::size_t>(r->offset + r->size - position));
      if (!read(window.data() + had, window.size() - had)) return false;
      window.resize(static_cast<std::size_t>(position - windowStart));
    }
    if (r->offset - windowStart < window.size()) {
      const std::size_t from = static_cast<std::size_t>(r->offset - windowStart);
      r->got = std::min(r->size, window.size() - from);
      std::memcpy(store.data() + r->at, window.data() + from, r->got);
    }
  }
  return true;
}

}  // namespace

bool IsDatabaseFileName(const std::string& fileName) {
  return fileName.size() > 4 && strcasecmp(fileName.c_str() + fileName.size() - 4, ".pdb") == 0;
}

DatabaseCheck CheckChordDatabase(const std::string& folder, const std::string& fileName) {
  DatabaseCheck check;
  if (!IsDatabaseFileName(fileName)) return check;
  FileHandle file(std::fopen(JoinPath(folder, fileName).c_str(), "rb"));
  if (!file) {
    check.error = errno ? errno : EIO;
    return check;
  }
  uint8_t creator[4];
  if (std::fseek(file.get(), 64, SEEK_SET) != 0 || std::fread(creator, 1, 4, file.get()) != 4) {
    // Too short to name its creator is no database; a failing read is no answer.
    if (std::ferror(file.get())) check.error = errno ? errno : EIO;
    return check;
  }
  check.database = std::memcmp(creator, kCreator, 4) == 0;
  return check;
}

bool IsChordDatabase(const std::string& folder, const std::string& fileName) {
  return CheckChordDatabase(folder, fileName).database;
}

Result<void> ReadDatabase(ByteSource& in, int sortOrder, ChordDatabase& db) {
  db.complete = true;
  db.faults.clear();
  uint8_t h[kHeaderSize] = {};
  std::size_t got = in.Read(h, kHeaderSize);
  db.header = PalmDatabaseHeader{};
  DecodeHeader(h, db.header);
  // A short read is the end of the file only when the source met no error: a failing disk must
  // not pass for a truncated or foreign file.
  auto readFailed = [&] {
    if (in.error() == 0) return false;
    db.categories.Clear();
    db.chords.Begin(sortOrder, ChordCollection::NameOrdering::kChordNames, 0);
    db.chords.Finish();
    db.complete = false;
    return true;
  };
  const auto readError = [&] { return Error{Error::Kind::kIo, {}, {}, in.error()}; };
  if (got < kHeaderSize && readFailed()) return readError();
  if (got < kCreatorEnd || std::memcmp(h + 64, kCreator, 4) != 0) {
    // Too short to name its creator is no chord database either.
    return Error{Error::Kind::kMissing, {}, kNotAChordDatabase, 0};
  }
  if (got < kHeaderSize) {
    db.header.recordCount = 0;
    db.categories.Clear();
    return StopBeforeChords(db, sortOrder, "The database ends inside its header");
  }

  struct ListEntry {
    uint32_t dataOffset;
    uint8_t attributes;
  };
  const unsigned total = db.header.recordCount;
  std::vector<ListEntry> list(total);
  for (unsigned i = 0; i < total; ++i) {
    uint8_t e[8];
    if (in.Read(e, 8) != 8) {
      if (readFailed()) return readError();
      db.categories.Clear();
      return StopBeforeChords(db, sortOrder, "The database ends inside its record list");
    }
    list[i] = {BigEndian32(e), e[4]};
  }

  // Every block is read from where its offset says: other tools put a sort block or padding
  // between the category block and the records, where the handheld puts nothing. No offset may
  // point back into the header or the record list.
  const uint64_t listEnd = kHeaderSize + 8 * uint64_t{total};
  const uint64_t appInfoOffset = db.header.appInfoOffset;
  if (appInfoOffset != 0 && appInfoOffset < listEnd) {
    db.categories.Clear();
    return StopBeforeChords(db, sortOrder, "The database's category block points into its header");
  }
  // The handheld's two (or, without records, four) bytes after the list.
  const std::size_t gapSize = total == 0 ? 4 : 2;
  std::vector<Request> requests(total + 2);
  requests[0] = {listEnd, gapSize};
  requests[1] = {appInfoOffset, appInfoOffset == 0 ? 0 : kAppInfoSize};
  for (unsigned i = 0; i < total; ++i) requests[i + 2] = {list[i].dataOffset, kMaxRecordSize};
  std::vector<uint8_t> store;
  uint64_t end = 0;
  if (!Fill(in, listEnd, requests, store, end)) {
    readFailed();
    return readError();
  }
  if (requests[1].got < requests[1].size) {
    db.categories.Clear();
    return StopBeforeChords(db, sortOrder,
                            end < listEnd + gapSize
                                ? "The database ends inside its record list"
                                : "The database ends inside its category block");
  }
  db.appInfo = ChordAppInfo{};
  if (appInfoOffset == 0) {
    db.categories.Clear();  // a database without one has no categories
  } else {
    DecodeAppInfo(store.data() + requests[1].at, db.appInfo, db.categories);
  }

  // A record ends where the next record or the category block begins, so that a damaged offset
  // cannot make one record out of the bytes of two. (The sort block's offset is not trusted
  // with that: nothing here reads the block.)
  std::vector<uint64_t> starts;
  for (unsigned i = 0; i < total; ++i) starts.push_back(list[i].dataOffset);
  if (appInfoOffset != 0) starts.push_back(appInfoOffset);
  std::sort(starts.begin(), starts.end());

  db.chords.Begin(sortOrder, ChordCollection::NameOrdering::kChordNames, total);
  RecordFaults faults;
  // Told after the records, once per kind, so that a stop in the middle is told last.
  auto tellFaults = [&] {
    if (faults.badNameLength > 0) {
      db.faults.push_back(CountedFault("Invalid Chord name length.", faults.badNameLength));
    }
  };
  for (unsigned i = 0; i < total; ++i) {
    ChordRecord record;
    record.recordIndex = static_cast<int32_t>(i);
    record.attributes = static_cast<int8_t>(list[i].attributes);
    record.category = list[i].attributes & 0x0F;
    record.recordOffset = static_cast<int32_t>(list[i].dataOffset);
    record.marker = 1;
    const uint64_t offset = list[i].dataOffset;
    const Request& bytes = requests[i + 2];
    const bool inHeader = offset < listEnd || (appInfoOffset != 0 && offset >= appInfoOffset &&
                                               offset < appInfoOffset + kAppInfoSize);
    const auto next = std::upper_bound(starts.begin(), starts.end(), offset);
    const std::size_t room =
        next == starts.end()
            ? bytes.got
            : static_cast<std::size_t>(std::min<uint64_t>(bytes.got, *next - offset));
    int result = ChordRecord::kTruncated;
    if (!inHeader) {
      MemorySource source(std::span<const uint8_t>(store.data() + bytes.at, room));
      result = record.ReadFromDatabase(source, faults);
    }
    if (result != 0) {
      tellFaults();
      faults = {};
      db.complete = false;
      const std::string chord = "Chord " + std::to_string(i + 1) + " of the database ";
      std::string text;
      if (inHeader) {
        text = chord + "points into its header or category block; reading stopped there. ";
      } else if (result == ChordRecord::kTooManyEntries) {
        text = chord + "claims " + std::to_string(record.entryCount) + " entries, more than the " +
               std::to_string(ChordRecord::kMaxEntries) +
               " a chord can hold; reading stopped there. ";
      } else if (room < bytes.got) {
        text = chord + "runs into the next block of the file; reading stopped there. ";
      } else {
        text = "The database ends inside chord " + std::to_string(i + 1) + ". ";
      }
      text += std::to_string(i) + " of its " + Chords(total) + " could be read.";
      db.faults.push_back(std::move(text));
      break;
    }
    db.chords.Place(std::move(record));
  }
  tellFaults();
  db.chords.Finish();
  return {};
}

int ParseDatabase(ByteSource& in, int sortOrder, ChordDatabase& db) {
  const Result<void> read = ReadDatabase(in, sortOrder, db);
  for (const std::string& fault : db.faults) ShowMessage("", fault);
  if (read) return 0;
  if (read.error().kind == Error::Kind::kIo) return kReadError;
  ShowMessage("", read.error().reason);
  return -1;
}

std::string CountedFault(const std::string& text, std::size_t records) {
  if (records <= 1) return text;
  return text + " (" + std::to_string(records) + " records)";
}

void LoadArchivedCollection(ByteSource& in, int sortOrder, ChordDatabase& db) {
  ArchiveReader ar(in);
  db.complete = false;  // until the last record has been read
  db.archiveValue = ar.ReadI32();
  db.archiveText = ar.ReadString();
  db.categories.Clear();
  db.categories.headerValue = ar.ReadI32();
  uint32_t count = ar.ReadU32();
  for (uint32_t i = 0; i < count; ++i) {
    CategoryEntry entry;
    entry.index = ar.ReadI32();
    entry.uniqueId = ar.ReadI32();
    ar.ReadU32();  // entry flags, not used
    entry.name = ar.ReadString();
    ar.ReadString();           // the entry's second text, not used
    db.categories.Add(entry);  // refused entries are dropped
  }
  db.appInfo = ChordAppInfo{};
  db.appInfo.values[0] = ar.ReadU16();
  for (int i = 2; i < 7; ++i) db.appInfo.values[i] = ar.ReadU16();
  ar.ReadBytes(db.appInfo.table1.data(), 13);
  ar.ReadBytes(db.appInfo.table2.data(), 13);
  db.appInfo.value322 = ar.ReadU16();
  for (auto& raw : db.appInfo.rawValues324) ar.ReadBytes(raw.data(), 2);
  int32_t records = ar.ReadI32();
  std::size_t reservation =
      records > 0 ? std::min(static_cast<std::size_t>(records), kMaxReservation) : 0;
  db.chords.Begin(sortOrder, ChordCollection::NameOrdering::kPlain, reservation);
  RecordFaults faults;
  auto tellFaults = [&] {
    if (faults.longName > 0) {
      db.faults.push_back(CountedFault(
          "A chord name longer than " + std::to_string(ChordRecord::kMaxNameLength) +
              " bytes was cut to its first " + std::to_string(ChordRecord::kMaxNameLength) + ".",
          faults.longName));
    }
  };
  try {
    for (int32_t i = 0; i < records; ++i) {
      ChordRecord record;
      record.Serialize(ar, faults);
      db.chords.Place(std::move(record));
    }
  } catch (...) {
    // What was read stays in the document, in its order.
    db.chords.Finish();
    tellFaults();
    throw;
  }
  db.chords.Finish();
  tellFaults();
  db.complete = true;
}

bool StartsWithDatabaseHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kCreatorEnd || bytes[0] < 0x20) return false;
  auto printable = [](uint8_t c) { return c >= 0x20 && c != 0x7F; };
  const auto name = bytes.first(32);
  const auto nameEnd = std::find(name.begin(), name.end(), uint8_t{0});
  if (nameEnd == name.end() || !std::all_of(name.begin(), nameEnd, printable)) return false;
  return std::all_of(bytes.begin() + 60, bytes.begin() + kCreatorEnd,
                     [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

bool EndsInPdb(const std::string& path) {
  const std::string last = path.size() < 3 ? path : path.substr(path.size() - 3);
  return last == "pdb" || last == "PDB";
}

}  // namespace strumlet
