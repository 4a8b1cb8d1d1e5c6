// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/ArchiveReader.h"

#include <algorithm>
#include <limits>

#include "strumlet/pdb/ByteSource.h"

namespace strumlet {
namespace {

// A bogus length must not make us reserve gigabytes before the data proves to be there.
constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

void ArchiveReader::ReadBytes(void* destination, std::size_t count) {
  if (source_.Read(destination, count) != count) {
    throw ArchiveException(ArchiveException::kEndOfFile, "The archive ended unexpectedly.");
  }
}

uint8_t ArchiveReader::ReadByte() {
  uint8_t b;
  ReadBytes(&b, 1);
  return b;
}

uint16_t ArchiveReader::ReadU16() {
  uint8_t b[2];
  ReadBytes(b, 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t ArchiveReader::ReadU32() {
  uint8_t b[4];
  ReadBytes(b, 4);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

uint64_t ArchiveReader::ReadU64() {
  uint64_t low = ReadU32();
  uint64_t high = ReadU32();
  return low | (high << 32);
}

std::string ArchiveReader::ReadString() {
  bool wide = false;
  uint64_t length = ReadByte();
  if (length == 0xFF) {
    uint16_t w = ReadU16();
    if (w == 0xFFFE) {
      wide = true;
      length = ReadByte();
      if (length == 0xFF) w = ReadU16();
    }
    if (length == 0xFF) {
      if (w < 0xFFFF) {
        length = w;
      } else {
        uint32_t d = ReadU32();
        if (d < 0xFFFFFFFF) {
          length = d;
        } else {
          uint64_t q = ReadU64();
          if ((q >> 32) != 0 || q > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
            throw ArchiveException(ArchiveException::kGeneric,
                                   "The archive holds a text of impossible length.");
          }
          length = q;
        }
      }
    }
  }
  const std::size_t unit = wide ? 2 : 1;
  std::string bytes;
  for (uint64_t done = 0; done < length * unit;) {
    std::size_t step = static_cast<std::size_t>(std::min<uint64_t>(kChunk, length * unit - done));
    bytes.resize(static_cast<std::size_t>(done) + step);
    ReadBytes(bytes.data() + done, step);
    done += step;
  }
  if (!wide) return bytes;
  std::u16string units(static_cast<std::size_t>(length), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                     (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return ConvertWideToCodePage(units);
}

}  // namespace strumlet
