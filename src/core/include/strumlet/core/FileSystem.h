// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one set of path helpers of the project, the Palm Desktop libraries' included. A path is
// taken as the bytes the file system has for it: a name that is not UTF-8 keeps its bytes, and
// nothing here converts an encoding. The helpers that put paths together work on those bytes
// with "/" as the only separator, so that they give the same text a plain string would.

#include <filesystem>
#include <string>

#include "strumlet/core/Result.h"

namespace strumlet {

// "folder/name" without doubling a "/" that `folder` already ends with; `name` alone when
// `folder` is empty.
std::filesystem::path JoinPath(const std::filesystem::path& folder,
                               const std::filesystem::path& name);

// The last step of `path`: what follows its last "/" (all of it when it has none).
std::filesystem::path FileName(const std::filesystem::path& path);

// `folder` ending in "/" (a "/" added unless it has one; "/" for an empty folder), for paths
// formed by appending file names.
std::string WithSlash(const std::filesystem::path& folder);

// `path` without the "/" it ends with; the root stays "/".
std::filesystem::path WithoutTrailingSlashes(const std::filesystem::path& path);

// `path` taken from `base` when it is relative, with "." steps, ".." steps and doubled "/" taken
// out; empty stays empty.
std::filesystem::path AbsolutePath(const std::filesystem::path& path,
                                   const std::filesystem::path& base);

// `path` named from the root when it is relative to the current directory as it is now (not
// StartDirectory: the Palm Desktop libraries are loaded by programs of their own). Empty when
// the current directory cannot be read.
std::filesystem::path AbsoluteFromHere(const std::filesystem::path& path);

// The tests a path goes through, each written once. Links are followed, except by
// IsSymbolicLink, which asks about the name itself.
bool PathExists(const std::filesystem::path& path);
bool IsRegularFile(const std::filesystem::path& path);
bool IsDirectory(const std::filesystem::path& path);
// A folder this process may enter (folder runs, output folders).
bool IsAccessibleDirectory(const std::filesystem::path& path);
// A folder this process may create files in.
bool IsWritableDirectory(const std::filesystem::path& path);
bool IsSymbolicLink(const std::filesystem::path& path);
// Why `path` is no folder this process may create files in ("is a file, not a folder",
// "cannot be written: Read-only file system"); empty when it is one.
std::string WritableFolderProblem(const std::filesystem::path& path);
// Creates the folder with its parents when missing. Fails when it then is not one this process
// may create files in (an output folder), with the words of WritableFolderProblem, or of the
// failed creation, as the reason.
Result<void> MakeWritableFolder(const std::filesystem::path& path);
// Creates the folder and every missing parent with `mode` (before the umask); true when it is a
// folder then. Does not look at whether it may be written.
bool MakeFolders(const std::filesystem::path& path, unsigned mode = 0755);

// The system's text for an errno value. Unlike strerror it may be called from any thread; take
// the value right at the failing call, before anything else can change errno.
std::string ErrorText(int error);

}  // namespace strumlet
