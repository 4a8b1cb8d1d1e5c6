#pragma once

#include <dirent.h>

#include <cstdio>
#include <memory>

struct gdImageStruct;

namespace strumlet {

// Owning handles for the C resources the converter takes, so that nothing leaks when an
// exception or an early return leaves a scope.

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// A stdio stream, closed when the handle goes. Close it by hand (fclose(handle.release())) where
// the result of the close matters.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};
// An open folder listing.
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

struct GdImageDestroyer {
  // Defined by the render library, the only one that makes images.
  void operator()(gdImageStruct* image) const;
};
// A libgd image, destroyed with gdImageDestroy.
using GdImageHandle = std::unique_ptr<gdImageStruct, GdImageDestroyer>;

}  // namespace strumlet
