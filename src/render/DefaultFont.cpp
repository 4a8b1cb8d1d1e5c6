#include <fontconfig/fontconfig.h>

#include <string>

#include "render/ChordDiagram.h"

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

}  // namespace strumlet
