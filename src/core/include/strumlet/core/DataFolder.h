// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>

namespace strumlet {

// The folder of the program's installed data ("share/strumletviewer" beside the "bin" folder
// that holds the running program), so that a copy installed under any prefix, or moved there
// whole, finds its own files. When that folder does not exist (a program run from the build
// tree), the data folder of the prefix the build was configured for.
const std::filesystem::path& InstalledDataFolder();

// The same for the program's own architecture-specific files ("lib/strumletviewer").
const std::filesystem::path& InstalledLibraryFolder();

// The build tree the running program was built in, found from the program itself: the nearest
// folder above it that holds the build's marker file ("StrumletBuildTree.txt") owned by the
// program's owner. Empty for an installed copy. No program holds the build folder's name, so
// that two builds of one source in two folders make the same programs.
const std::filesystem::path& BuildTreeFolder();

// True when the running program is one built in a build tree rather than an installed copy.
// Only such a program may fall back on files of the build tree: an installed copy that lacks a
// file of its own must say so, not borrow it from a build tree that happens to be there.
bool RunsFromBuildTree();

// The build tree's copy of the data folder's files; empty outside one.
std::filesystem::path BuildTreeDataFolder();

// The build tree's Palm install files; empty outside one.
std::filesystem::path BuildTreeInstallFilesFolder();

}  // namespace strumlet
