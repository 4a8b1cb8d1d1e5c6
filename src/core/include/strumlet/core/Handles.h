// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <dirent.h>

#include <cstdio>
#include <memory>

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

}  // namespace strumlet
