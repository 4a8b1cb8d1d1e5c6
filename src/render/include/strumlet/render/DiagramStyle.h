// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace strumlet {

// How a chord diagram is drawn: one value, taken by the layout, both painters and the batch
// that draws a page's diagrams. A new option of the diagrams is a field here; the front ends
// fill it through the one function that turns their settings into page options.
struct DiagramStyle {
  // The chord name's text size; a diagram draws it at 20.0 below 6.0 and at most at 500.0.
  double nameSize = 12.0;
  // The text size of the fret and barre labels; 7.0 below 4.0, at most 500.0.
  double labelSize = 14.0;
  // The TrueType file of every text of the diagram.
  std::string fontFile;
  // The neck as a left-handed player sees it (mirrored grid, label column on the left).
  bool leftHanded = false;
  // The diagram's words (DescribeDiagram) go with it wherever it is shown: a page's <img> says
  // them as its alt text. An SVG diagram carries them as its title whatever this says.
  bool altText = false;

  bool operator==(const DiagramStyle&) const = default;
};

}  // namespace strumlet
