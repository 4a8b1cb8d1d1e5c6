// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/PaperSize.h"

#include <langinfo.h>
#include <locale.h>
#include <paper.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace strumlet {
namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

PaperSize A4() { return {"a4", 595.276, 841.89}; }
PaperSize Letter() { return {"letter", 612.0, 792.0}; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Whether libpaper has a setting to read, rather than its built-in default.
bool PaperSettingGiven() {
  const char* variable = std::getenv("PAPERSIZE");
  if (variable && *variable) return true;
  const char* file = systempapersizefile();
  return file && access(file, R_OK) == 0;
}

std::optional<PaperSize> LibpaperPaper() {
  // libpaper keeps its state in globals.
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  if (!PaperSettingGiven()) return std::nullopt;
  paperinit();
  PaperSize paper;
  if (char* name = systempapername()) {
    if (const struct paper* info = paperinfo(name)) {
      paper.name = Lower(papername(info));
      paper.width = paperpswidth(info);
      paper.height = paperpsheight(info);
    }
    std::free(name);
  }
  paperdone();
  if (!(paper.width > 0 && paper.height > 0)) return std::nullopt;
  return paper;
}

std::optional<PaperSize> LocalePaper() {
  locale_t locale = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return std::nullopt;
  const auto millimetres = [&](nl_item item) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(item, locale)));
  };
  const int width = millimetres(_NL_PAPER_WIDTH), height = millimetres(_NL_PAPER_HEIGHT);
  freelocale(locale);
  if (width <= 0 || height <= 0) return std::nullopt;
  // The locale gives whole millimetres: 216 x 279 is Letter, 210 x 297 A4.
  for (const PaperSize& known : {A4(), Letter()}) {
    if (std::abs(known.width / kPointsPerMillimetre - width) < 1.0 &&
        std::abs(known.height / kPointsPerMillimetre - height) < 1.0) {
      return known;
    }
  }
  return PaperSize{std::to_string(width) + "x" + std::to_string(height) + "mm",
                   width * kPointsPerMillimetre, height * kPointsPerMillimetre};
}

}  // namespace

std::optional<PaperSize> NamedPaper(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "a4") return A4();
  if (lower == "letter") return Letter();
  return std::nullopt;
}

PaperSize SystemPaper() {
  if (auto paper = LibpaperPaper()) return *paper;
  if (auto paper = LocalePaper()) return *paper;
  return A4();
}

}  // namespace strumlet
