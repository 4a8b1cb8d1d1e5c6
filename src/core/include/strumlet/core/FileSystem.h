// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/core/Result.h"

namespace strumlet {

// "folder/name" without doubling a "/" that `folder` already ends with; `name` alone when
// `folder` is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

// The last step of `path`: what follows its last "/" (all of it when it has none).
std::string FileName(const std::string& path);

// `path` taken from `base` when it is relative, with "." steps, ".." steps and doubled "/" taken
// out; empty stays empty.
std::string AbsolutePath(const std::string& path, const std::string& base);

// The tests a path goes through, each written once. Links are followed, except by
// IsSymbolicLink, which asks about the name itself.
bool IsRegularFile(const std::string& path);
bool IsDirectory(const std::string& path);
// A folder this process may enter (folder runs, output folders).
bool IsAccessibleDirectory(const std::string& path);
// A folder this process may create files in.
bool IsWritableDirectory(const std::string& path);
bool IsSymbolicLink(const std::string& path);
// Why `path` is no folder this process may create files in ("is a file, not a folder",
// "cannot be written: Read-only file system"); empty when it is one.
std::string WritableFolderProblem(const std::string& path);
// Creates the folder with its parents when missing. Fails when it then is not one this process
// may create files in (an output folder), with the words of WritableFolderProblem, or of the
// failed creation, as the reason.
Result<void> MakeWritableFolder(const std::string& path);

// The system's text for an errno value. Unlike strerror it may be called from any thread; take
// the value right at the failing call, before anything else can change errno.
std::string ErrorText(int error);

}  // namespace strumlet
