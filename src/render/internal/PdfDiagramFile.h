// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/render/DiagramLayout.h"

namespace strumlet {

// One diagram alone as a PDF document: a white page of the layout's size (a pixel a CSS pixel,
// 3/4 point, so that a reader at 96 dots per inch gives back the PNG's size), drawn by the
// chord book's painter. For comparing the painter's diagrams with the PNG ones. Empty when the
// font cannot be read or the document cannot be made.
std::string DiagramPdf(const DiagramLayout& layout, const std::string& utf8Name, double nameSize,
                       double labelSize, const std::string& fontFile);

}  // namespace strumlet
