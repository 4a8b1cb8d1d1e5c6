// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>

namespace strumlet {

// Copies the plain file `source` to `target` through a temporary file beside it, so `target` is
// never seen half-written. With `replace` an existing target is replaced; without it an existing
// target stays as it is and the copy fails. The copy gets the source's permission bits, but no
// more than 0755 for a file anyone may run and 0666 for any other, and cut by the umask. False on
// any failure, with no temporary file left behind.
//
// Also compiled into our Palm Desktop libraries, which link nothing of ours: keep it free of
// the rest of the project but AtomicFile and FileSystem.
bool CopyWholeFile(const std::filesystem::path& source, const std::filesystem::path& target,
                   bool replace);

}  // namespace strumlet
