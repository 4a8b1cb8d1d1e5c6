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
