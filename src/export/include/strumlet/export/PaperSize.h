// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace strumlet {

// A sheet of paper: its name as the paper settings write it and its size in points.
struct PaperSize {
  std::string name;
  double width = 0.0;
  double height = 0.0;
};

// "a4" or "letter", in any case; nullopt for any other word.
std::optional<PaperSize> NamedPaper(std::string_view name);

// The paper this system prints on: the paper settings (PAPERSIZE, PAPERCONF or /etc/papersize,
// as libpaper reads them) when there are any, else the locale's paper (LC_PAPER), else A4.
PaperSize SystemPaper();

}  // namespace strumlet
