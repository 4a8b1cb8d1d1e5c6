// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace strumlet {

class ByteSource;
class ArchiveReader;

// Faults a record can have and still be read, counted over a database so that each kind is
// told once, with its count, however many of its up to 65,535 records have it.
struct RecordFaults {
  std::size_t badNameLength = 0;  // a name length outside 0..32: 32 bytes were read
  std::size_t longName = 0;       // an archived name longer than 32 bytes: cut to 32
};

// One chord of a chord database.
struct ChordRecord {
  static constexpr int kMaxEntries = 13;  // capacity of every per-string array
  static constexpr int kMaxNameLength = 32;

  // Bits of `flags`.
  static constexpr uint8_t kPerStringBarres = 0x02;  // with kBarre: one barre value per entry
  static constexpr uint8_t kBarre = 0x04;            // barres present
  static constexpr uint8_t kFingers = 0x08;          // fingers present, one per entry

  uint8_t entryCount = 0;  // entry 0 is chord-wide, entries 1..entryCount-1 are the strings
  uint8_t instrumentCode = 0;
  uint8_t flags = 0;
  uint8_t reserved = 0;
  std::array<uint8_t, kMaxNameLength> nameBytes{};
  std::array<int8_t, kMaxEntries> frets{};  // frets[0] is the base fret
  std::array<uint8_t, kMaxEntries> auxValues{};
  std::array<int8_t, kMaxEntries> fingers{};
  std::array<int8_t, kMaxEntries> barres{};
  int32_t recordOffset = 0;
  int32_t marker = 0;
  int32_t recordIndex = 0;
  int32_t attributes = 0;
  int32_t category = 0;
  std::string name;

  int baseFret() const { return frets[0]; }

  // Reads one record in its database layout from `in`. The caller sets recordOffset, marker,
  // recordIndex, attributes and category. Returns 0 when the record was read completely;
  // kTruncated when the data ended inside it; kTooManyEntries when entryCount is above 13
  // (nothing is read past the four header bytes then). A fault it reads past is counted in
  // `faults`.
  static constexpr int kTruncated = -10;
  static constexpr int kTooManyEntries = -11;
  int ReadFromDatabase(ByteSource& in, RecordFaults& faults);

  // Reads the archived form. Throws ArchiveException on short data or a bad length. A name is
  // cut to the 32 bytes a record holds, counted in `faults`.
  void Serialize(ArchiveReader& ar, RecordFaults& faults);

  // The first character of the name, plus the second when it is "b" or "#"; empty for an
  // empty name.
  std::string RootNote() const;

  // Orders this record's name against `other`: by first byte, then flats ("b"), naturals and
  // sharps ("#"), then plain byte comparison. Negative, zero or positive.
  int CompareNames(const std::string& other) const;
};

// The stem of every file named after a chord (its images, the name of a chord without one):
// the record offset in lower-case hexadecimal, 32-bit two's complement for a negative one.
// 444 gives "1bc".
std::string ImageStem(int32_t recordOffset);

// Byte-wise comparison of unsigned bytes; a name that ends first is smaller.
int PlainCompare(const std::string& a, const std::string& b);
// The name ordering of ChordRecord::CompareNames on two plain names.
int CompareChordNames(const std::string& a, const std::string& b);

}  // namespace strumlet
