// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "strumlet/export/ChordProWriter.h"
#include "strumlet/pdb/ChordDatabase.h"

namespace strumlet {

// The whole file of a read database in one export format, titled `title` (its base name, as
// the file system gives it), with a note when the database was read only in part. `options`
// applies to ChordPro alone. A new format is one more of these and its row in the output
// format table (convert/OutputFormats.h).
using ExportWriter = std::string (*)(const ChordDatabase& db, const std::string& title,
                                     int sortOrder, const ChordProOptions& options);

std::string ChordProText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions& options);
std::string MusicXmlText(const ChordDatabase& db, const std::string& title, int sortOrder,
                         const ChordProOptions& options);
std::string ChordJsonText(const ChordDatabase& db, const std::string& title, int sortOrder,
                          const ChordProOptions& options);
// Bytes, not text: a Standard MIDI File.
std::string MidiText(const ChordDatabase& db, const std::string& title, int sortOrder,
                     const ChordProOptions& options);

// Writes that file to `outputFile`. It appears only when complete: it is written beside its
// final name and then renamed over it, so a failure leaves an existing file as it was and no
// partial file behind. A failure is reported through the messenger and returns false.
bool WriteExportFile(ExportWriter writer, const ChordDatabase& db, const std::string& title,
                     int sortOrder, const std::string& outputFile,
                     const ChordProOptions& options = {});

// Reads the database file (or archived collection, by the same name rule as a conversion) at
// `databasePath` with the chords in `sortOrder`, and writes its file made by `writer` to
// `outputFile`. True when the file was written; every failure has been reported through the
// messenger.
bool ExportDatabase(ExportWriter writer, const std::string& databasePath, int sortOrder,
                    const std::string& outputFile);

}  // namespace strumlet
