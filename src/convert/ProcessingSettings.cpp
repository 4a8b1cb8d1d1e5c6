// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/convert/ProcessingSettings.h"

namespace strumlet {

PageOptions PageOptionsFor(const ProcessingSettings& settings) {
  PageOptions options;
  options.sortOrder = settings.m_nSort;
  options.imagePercent = settings.m_nChordPercent;
  options.frameImages = settings.m_bBorder;
  options.pageStyle = settings.m_bModernPage ? PageStyle::kModern : PageStyle::kClassic;
  DiagramStyle& style = options.style;
  style.nameSize = static_cast<double>(settings.m_nFontSize);
  style.labelSize = 14.0;  // no setting: the labels are always drawn at this size
  style.fontFile = settings.m_strFontFile;
  style.leftHanded = settings.m_bLeftHanded;
  style.altText = settings.m_bAltText;
  return options;
}

}  // namespace strumlet
