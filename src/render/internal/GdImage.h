// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gd.h>

#include <memory>

namespace strumlet {

struct GdImageDestroyer {
  void operator()(gdImageStruct* image) const { gdImageDestroy(image); }
};
// A libgd image, destroyed with gdImageDestroy.
using GdImageHandle = std::unique_ptr<gdImageStruct, GdImageDestroyer>;

}  // namespace strumlet
