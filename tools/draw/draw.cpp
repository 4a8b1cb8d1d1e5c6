// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumlet-draw: writes the diagram of every chord in chord databases into one folder, to look
// at the drawing without a page around it.
// Usage: strumlet-draw [--format png|jpeg|svg|both|all] --out DIR [--font FILE] [--font-size N]
// FILE...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "strumlet/core/StartDirectory.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/render/ChordDiagram.h"
#include "strumlet/render/DiagramStyle.h"

namespace strumlet {
namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: strumlet-draw [--format png|jpeg|svg|both|all] --out DIR [--font FILE] "
               "[--font-size N] FILE...\n");
  return 2;
}

DiagramStyle DefaultStyle() {
  DiagramStyle style;
  style.nameSize = 20.0;
  return style;
}

struct Options {
  bool png = true;
  bool jpeg = false;
  bool svg = false;
  std::string out;
  DiagramStyle style = DefaultStyle();
  std::vector<std::string> files;
};

bool ParseArguments(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--format") {
      const char* v = value();
      if (!v) return false;
      const std::string f = v;
      if (f == "png" || f == "jpeg" || f == "svg" || f == "both" || f == "all") {
        o.png = f == "png" || f == "both" || f == "all";
        o.jpeg = f == "jpeg" || f == "both" || f == "all";
        o.svg = f == "svg" || f == "all";
      } else {
        return false;
      }
    } else if (arg == "--out") {
      const char* v = value();
      if (!v) return false;
      o.out = v;
    } else if (arg == "--font") {
      const char* v = value();
      if (!v) return false;
      o.style.fontFile = v;
    } else if (arg == "--font-size") {
      const char* v = value();
      char* end = nullptr;
      if (!v || (o.style.nameSize = std::strtod(v, &end), *end != '\0')) return false;
    } else if (arg.starts_with("--")) {
      return false;
    } else {
      o.files.push_back(arg);
    }
  }
  return !o.out.empty() && !o.files.empty();
}

// Draws every chord of one database; returns false when the file could not be read or an image
// could not be written.
bool DrawDatabase(const std::string& path, const Options& o) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  FileSource source(file);
  ChordDatabase db;
  const int result = ParseDatabase(source, kSortByPosition, db);
  std::fclose(file);
  if (result != 0) return false;
  bool ok = db.complete;
  int written = 0;
  for (const ChordRecord& record : db.chords) {
    ChordDiagram diagram(record, o.style);
    diagram.Draw();
    for (const auto& [kind, wanted] :
         {std::pair{ImageKind::kPng, o.png}, std::pair{ImageKind::kJpeg, o.jpeg},
          std::pair{ImageKind::kSvg, o.svg}}) {
      if (!wanted) continue;
      const Result<std::string> name = diagram.WriteImage(kind, o.out);
      if (!name) {
        std::fprintf(stderr, "%s\n", ImageErrorText(name.error()).c_str());
        ok = false;
        continue;
      }
      std::printf("%s/%s  %s\n", o.out.c_str(), name->c_str(), record.name.c_str());
      ++written;
    }
  }
  std::fprintf(stderr, "%s: %d images\n", path.c_str(), written);
  return ok;
}

}  // namespace
}  // namespace strumlet

int main(int argc, char** argv) {
  strumlet::StartDirectory();
  strumlet::Options options;
  if (!strumlet::ParseArguments(argc, argv, options)) return strumlet::Usage();
  if (options.style.fontFile.empty()) options.style.fontFile = strumlet::DefaultFontFile();
  bool ok = true;
  for (const auto& file : options.files) ok &= strumlet::DrawDatabase(file, options);
  return ok ? 0 : 1;
}
