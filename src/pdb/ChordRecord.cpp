// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ChordRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "strumlet/pdb/ArchiveReader.h"
#include "strumlet/pdb/ByteSource.h"

namespace strumlet {
namespace {

bool ReadExactly(ByteSource& in, void* destination, std::size_t count) {
  return in.Read(destination, count) == count;
}

// Rank of a name's second character in the chord ordering: flats, naturals, sharps.
int Accidental(std::string_view name) {
  char second = name.size() > 1 ? name[1] : '\0';
  if (second == 'b') return 0;
  if (second == '#') return 2;
  return 1;
}

}  // namespace

int PlainCompare(const std::string& a, const std::string& b) {
  // std::string compares its characters as unsigned bytes and ranks a prefix first.
  int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareChordNames(const std::string& a, const std::string& b) {
  auto a0 = static_cast<unsigned char>(a.empty() ? '\0' : a[0]);
  auto b0 = static_cast<unsigned char>(b.empty() ? '\0' : b[0]);
  if (a0 != b0) return PlainCompare(a, b);
  int ra = Accidental(a);
  int rb = Accidental(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  return PlainCompare(a, b);
}

std::string ImageStem(int32_t recordOffset) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", static_cast<uint32_t>(recordOffset));
  return buffer;
}

int ChordRecord::CompareNames(const std::string& other) const {
  return CompareChordNames(name, other);
}

std::string ChordRecord::RootNote() const {
  if (name.empty()) return {};
  if (name.size() > 1 && (name[1] == 'b' || name[1] == '#')) return name.substr(0, 2);
  return name.substr(0, 1);
}

int ChordRecord::ReadFromDatabase(ByteSource& in, RecordFaults& faults) {
  uint8_t head[4];
  if (!ReadExactly(in, head, sizeof head)) return kTruncated;
  entryCount = head[0];
  instrumentCode = head[1];
  flags = head[2];
  reserved = head[3];
  // Every array holds 13 entries; a longer record is outside the format and cannot be stored.
  if (entryCount > kMaxEntries) return kTooManyEntries;
  const std::size_t n = entryCount;
  if (!ReadExactly(in, frets.data(), n) || !ReadExactly(in, auxValues.data(), n)) {
    return kTruncated;
  }
  if ((flags & kFingers) && !ReadExactly(in, fingers.data(), n)) return kTruncated;
  int8_t length = 0;
  if (!ReadExactly(in, &length, 1)) return kTruncated;
  if (length < 0 || length > kMaxNameLength) {
    ++faults.badNameLength;
    length = kMaxNameLength;
  }
  if (!ReadExactly(in, nameBytes.data(), static_cast<std::size_t>(length))) return kTruncated;
  if (flags & kBarre) {
    std::size_t count = (flags & kPerStringBarres) ? n : 1;
    if (!ReadExactly(in, barres.data(), count)) return kTruncated;
  }
  auto end = std::find(nameBytes.begin(), nameBytes.end(), uint8_t{0});
  name.assign(nameBytes.begin(), end);
  return 0;
}

void ChordRecord::Serialize(ArchiveReader& ar, RecordFaults& faults) {
  recordOffset = ar.ReadI32();
  name = ar.ReadString();
  // Text after a zero byte would never be shown; the database path cuts names the same way.
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  // A name no record could hold would only keep the text drawing busy for nothing.
  if (name.size() > kMaxNameLength) {
    name.resize(kMaxNameLength);
    ++faults.longName;
  }
  category = ar.ReadI32();
  uint32_t head = ar.ReadU32();
  entryCount = static_cast<uint8_t>(head);
  instrumentCode = static_cast<uint8_t>(head >> 8);
  flags = static_cast<uint8_t>(head >> 16);
  reserved = static_cast<uint8_t>(head >> 24);
  recordIndex = ar.ReadI32();
  marker = ar.ReadI32();
  if (entryCount > kMaxEntries) {
    throw ArchiveException(ArchiveException::kGeneric,
                           "A chord claims " + std::to_string(entryCount) +
                               " entries, more than the " + std::to_string(kMaxEntries) +
                               " a chord can hold.");
  }
  const std::size_t n = entryCount;
  ar.ReadBytes(frets.data(), n);
  ar.ReadBytes(auxValues.data(), n);
  ar.ReadBytes(fingers.data(), n);
  ar.ReadBytes(barres.data(), n);
}

}  // namespace strumlet
