// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fontconfig/fontconfig.h>
#include <gd.h>

#include <string>

#include "internal/TextStamp.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/ChordDiagram.h"

#if defined(__SANITIZE_ADDRESS__)
#define STRUMLET_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STRUMLET_LEAK_CHECKED 1
#endif
#endif

#ifdef STRUMLET_LEAK_CHECKED
// fontconfig loses a few hundred bytes while parsing the system configuration, once per process;
// without this every leak-checked program that looks up the default font would fail. The C
// library loses the search list it builds from LOCPATH for newlocale (the chord book's paper
// from the locale), once per process too. Weak, so a program with its own list replaces it.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:__argz_add_sep\n";
}
#endif

namespace strumlet {

std::string DefaultFontFile() {
  // The match does not change while the process runs, and fontconfig's first use is slow.
  static const std::string file = [] {
    std::string result;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Times New Roman"));
    if (!pattern) return result;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult matchResult = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &matchResult);
    if (match) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
        result = reinterpret_cast<const char*>(path);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return result;
  }();
  return file;
}

Result<void> CheckFontFile(const std::string& path) {
  if (!IsRegularFile(path)) return Error{Error::Kind::kMissing, path, "it does not exist", 0};
  EnsureFontCache();
  // The font library opens and reads the file on its first use: measuring one letter shows
  // whether every diagram's name can be drawn.
  int box[8] = {};
  if (const char* error = gdImageStringTTF(nullptr, box, 0, path.c_str(), 12.0, 0.0, 0, 0, "C")) {
    return Error{Error::Kind::kUnavailable, path, error, 0};
  }
  return {};
}

std::string FontProblemText(const Error& error) {
  return "The font file '" + error.path + "' cannot be used: " + error.reason + ".";
}

}  // namespace strumlet
