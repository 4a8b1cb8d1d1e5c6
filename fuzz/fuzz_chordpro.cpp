// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The ChordPro file of whatever a database's bytes decode to: every line must stay one
// directive or one remark, whatever the names and fret values hold. The MusicXML and JSON
// writers run over the same chords: no markup character of a name may reach them unescaped.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordJsonWriter.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/export/MusicXmlWriter.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static strumlet::SilentMessenger discard;
  static strumlet::ScopedMessenger scoped(discard);
  for (int order : {0, 1, 2, 3}) {
    strumlet::ChordDatabase db;
    strumlet::MemorySource source(std::span<const uint8_t>(data, size));
    if (strumlet::ParseDatabase(source, order, db) != 0) return 0;
    const std::string file = strumlet::WriteChordPro(
        std::string(reinterpret_cast<const char*>(db.header.name.data()), 32), db.chords,
        db.categories, order);
    const std::string title(reinterpret_cast<const char*>(db.header.name.data()), 32);
    const std::string xml = strumlet::WriteMusicXml(title, db.chords, db.categories, order);
    // Every "<" opens one of the writer's own elements or comments.
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
      const char next = at + 1 < xml.size() ? xml[at + 1] : '\0';
      if (!(next >= 'a' && next <= 'z') && next != '/' && next != '!' && next != '?') {
        __builtin_trap();
      }
    }
    const std::string json = strumlet::WriteChordJson(title, db.chords, db.categories, order);
    for (const char c : json) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\n') __builtin_trap();
    }
    std::string_view rest = file;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      if (end == std::string_view::npos) __builtin_trap();  // every line is ended
      const std::string_view line = rest.substr(0, end);
      const bool directive = line.size() >= 2 && line.front() == '{' && line.back() == '}';
      const bool remark = line.starts_with("# ");
      if (!directive && !remark) __builtin_trap();
      if (line.find('\r') != std::string_view::npos) __builtin_trap();
      rest.remove_prefix(end + 1);
    }
  }
  return 0;
}
