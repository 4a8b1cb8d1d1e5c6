// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-list: prints what a chord database holds, in a chosen order, to diagnose files.
// Usage: strumlet-list [--sort category|name|position] [--brief] FILE...
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ArchiveReader.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {
namespace {

int Usage() {
  std::fprintf(stderr, "usage: strumlet-list [--sort category|name|position] [--brief] FILE...\n");
  return 2;
}

std::string Text(const uint8_t* bytes, std::size_t size) {
  std::size_t n = 0;
  while (n < size && bytes[n] != 0) ++n;
  return CodePageToUtf8(std::string_view(reinterpret_cast<const char*>(bytes), n));
}

// Per-string values low string first, as a player reads them; entry 0 is not a string.
std::string Strings(const ChordRecord& c, const std::array<int8_t, 13>& values, bool frets) {
  std::string out;
  for (int i = c.entryCount - 1; i >= 1; --i) {
    if (!out.empty()) out += ' ';
    out += frets && values[i] == 100 ? std::string("x") : std::to_string(values[i]);
  }
  return out.empty() ? "-" : out;
}

std::string Barres(const ChordRecord& c) {
  if (!(c.flags & ChordRecord::kBarre)) return "-";
  if (!(c.flags & ChordRecord::kPerStringBarres)) return std::to_string(c.barres[0]);
  return std::to_string(c.barres[0]) + " / " + Strings(c, c.barres, false);
}

// One line per database: the chord names in page order.
void PrintBrief(const std::string& path, const ChordDatabase& db) {
  std::string line = path + ":";
  for (const ChordRecord& c : db.chords) line += " " + CodePageToUtf8(c.name);
  std::printf("%s\n", line.c_str());
}

void Print(const std::string& path, const ChordDatabase& db, bool archive) {
  std::printf("%s\n", path.c_str());
  if (archive) {
    std::printf("  archived collection: value %d, text \"%s\", %zu chords\n", db.archiveValue,
                CodePageToUtf8(db.archiveText).c_str(), db.chords.size());
  } else {
    const auto& h = db.header;
    std::printf(
        "  name \"%s\", type \"%s\", creator \"%s\", version %u, attributes 0x%04X, %u records\n",
        Text(h.name.data(), h.name.size()).c_str(), Text(h.type.data(), 4).c_str(),
        Text(h.creator.data(), 4).c_str(), h.version, h.attributes, h.recordCount);
  }
  std::printf("  categories:");
  for (int slot = 0; slot < CategoryTable::kSlots; ++slot) {
    if (const CategoryEntry* e = db.categories.Lookup(slot)) {
      std::printf(" %d \"%s\" (id %d);", slot, CodePageToUtf8(e->name).c_str(), e->uniqueId);
    }
  }
  std::printf("\n  position  category  name  instrument  base fret  frets  fingers  barres\n");
  for (const ChordRecord& c : db.chords) {
    const CategoryEntry* e = db.categories.Lookup(c.category);
    std::string category = e && e->Name() ? CodePageToUtf8(*e->Name()) : "Unfiled";
    std::string fingers = (c.flags & ChordRecord::kFingers) ? Strings(c, c.fingers, false) : "-";
    std::printf("  %5d  %s  \"%s\"  %u  %d  %s  %s  %s\n", c.recordIndex, category.c_str(),
                CodePageToUtf8(c.name).c_str(), c.instrumentCode, c.baseFret(),
                Strings(c, c.frets, true).c_str(), fingers.c_str(), Barres(c).c_str());
  }
}

bool List(const std::string& path, int order, bool brief) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "%s: cannot open: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  FileSource source(f);
  ChordDatabase db;
  bool archive = !EndsInPdb(path);
  bool ok = true;
  if (archive) {
    // What the reader read past is told before why it stopped.
    const auto tellFaults = [&] {
      for (const std::string& fault : db.faults) ShowMessage("", fault);
    };
    try {
      LoadArchivedCollection(source, order, db);
      tellFaults();
    } catch (const ArchiveException& e) {
      tellFaults();
      std::fprintf(stderr, "%s: %s\n", path.c_str(), e.what());
      ok = false;
    }
  } else {
    ok = ParseDatabase(source, order, db) == 0 && db.complete;
  }
  if (source.failed()) {
    std::fprintf(stderr, "%s: read error\n", path.c_str());
    ok = false;
  }
  std::fclose(f);
  if (!archive && !ok && db.chords.empty() && db.header.recordCount == 0) {
    std::printf("%s\n  (not readable)\n", path.c_str());
    return false;
  }
  if (brief) {
    PrintBrief(path, db);
  } else {
    Print(path, db, archive);
  }
  return ok;
}

}  // namespace
}  // namespace strumlet

int main(int argc, char** argv) {
  int order = strumlet::kSortByPosition;
  bool brief = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--sort" && i + 1 < argc) {
      std::string key = argv[++i];
      if (key == "category") {
        order = strumlet::kSortByCategory;
      } else if (key == "name") {
        order = strumlet::kSortByName;
      } else if (key == "position") {
        order = strumlet::kSortByPosition;
      } else {
        return strumlet::Usage();
      }
    } else if (arg == "--brief") {
      brief = true;
    } else if (arg == "--help" || arg == "-h" || (arg.size() > 1 && arg[0] == '-')) {
      return strumlet::Usage();
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) return strumlet::Usage();
  bool ok = true;
  for (const auto& file : files) ok = strumlet::List(file, order, brief) && ok;
  return ok ? 0 : 1;
}
