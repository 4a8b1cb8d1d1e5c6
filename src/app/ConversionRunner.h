// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

class QWidget;

namespace strumlet {

class CStrumletViewerDoc;

// Runs the document's open operation (the conversion) on a worker thread while this thread
// keeps the windows painted: the wait cursor at once, and after half a second a progress dialog
// that names the database and counts its chords, with Cancel (and Escape) to stop after the
// database being written. Input to the other windows waits until the end; message boxes of the
// conversion are shown and answered as usual, with the progress dialog hidden meanwhile.
// Returns the open's result.
bool RunConversion(CStrumletViewerDoc& document, const std::string& path, QWidget* parent);

}  // namespace strumlet
