// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/core/Result.h"

namespace strumlet {

// The brush and finger glyphs every diagram is made of.
//
// Call LoadDiagramAssets on the thread that will tell the user about a failure, before any
// diagram is drawn (CStrumletViewerDoc::OnOpenDocument does so before it writes anything). It
// loads the seven asset images once per process; each is looked up in the start directory,
// then in the installed data folder, then in the build tree. It succeeds when all are loaded;
// otherwise its Error (kind kMissing) names in `path` the first one that is missing (the path
// in the start directory) or does not decode. It shows nothing and never ends the process: the
// front end shows MissingAssetMessage(path) under the caption "Error" with the information
// icon, then ends with status 1. Once loaded, the assets are kept until the process ends; after
// a failure the next call tries again.
Result<void> LoadDiagramAssets();

// Whether the TrueType font file at `path` can draw the diagrams' texts; when not, an Error
// naming it, with the font library's words (or "it does not exist") as the reason.
Result<void> CheckFontFile(const std::string& path);
// "The font file '<path>' cannot be used: <reason>."
std::string FontProblemText(const Error& error);

// "The program will exit because it could not find a very important file: " + path.
std::string MissingAssetMessage(const std::string& path);

}  // namespace strumlet
