// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/pdb/ChordRecord.h"
#include "strumlet/render/DiagramStyle.h"

struct gdImageStruct;

namespace strumlet {

struct DiagramLayout;

enum class ImageKind { kPng, kJpeg, kSvg };

// The image file name of a chord: lower-case hexadecimal record offset (32-bit two's
// complement for negatives) and ".png", ".jpg" or ".svg". 444 gives "1bc.png".
std::string ImageFileName(int32_t recordOffset, ImageKind kind);

// The image file names of a page's chords, in collection order: ImageFileName, except that a
// chord whose record offset an earlier chord has (a damaged database) gets "-2", "-3", ...
// before the extension, so that no two chords share a picture. Left-handed diagrams end their
// names in "-left" ("1bc-left.png", "1bc-left-2.png"), so that they never replace the
// right-handed pictures of a page in the same folder.
std::vector<std::string> DiagramFileNames(const std::vector<int32_t>& recordOffsets, ImageKind kind,
                                          bool leftHanded = false);

// What a failed ChordDiagram::WriteImage says to the user: "The chord diagram has no image.",
// "Could not encode the image PATH." or "Could not write PATH: REASON".
std::string ImageErrorText(const Error& error);

// The TrueType file fontconfig picks for "Times New Roman"; empty when there is none.
std::string DefaultFontFile();

// One chord's diagram: a small fretboard picture, drawn from one layout by two painters: on a
// libgd palette image (PNG and JPEG) and as an SVG document of vector shapes and text. Safe to
// use from several threads at once, one diagram per thread.
class ChordDiagram {
 public:
  // Lays the diagram out in `style` and creates its image. Loads the brush and finger glyphs if no
  // one has (see render/Assets.h); without them the diagram has no image and writes no file.
  ChordDiagram(const ChordRecord& record, const DiagramStyle& style);
  ~ChordDiagram();
  ChordDiagram(const ChordDiagram&) = delete;
  ChordDiagram& operator=(const ChordDiagram&) = delete;

  // Draws the texts, the grid and the string marks on the libgd image. Returns 0. The SVG
  // painter needs no drawing beforehand.
  int Draw();

  // Writes the image into `folder` and returns the file name (not the path). Fails with
  // kUnavailable when the diagram has no image, kRefused (naming the path) when it cannot be
  // encoded, and kIo (the path and the errno value) when the file cannot be written;
  // ImageErrorText puts any of them into words.
  Result<std::string> WriteImage(ImageKind kind, const std::string& folder);
  // The same under a file name of the caller's choosing.
  Result<std::string> WriteImage(ImageKind kind, const std::string& folder,
                                 const std::string& name);

  int16_t GetWidth() const;
  int16_t GetHeight() const;

  // The encoded image as WriteImage would write it; empty when there is no image. An SVG is
  // written whenever the diagram's libgd image could be created, and carries the words of
  // DescribeDiagram as its title.
  std::vector<unsigned char> EncodeImage(ImageKind kind) const;

  // The layout both painters draw from.
  const DiagramLayout& Layout() const;

  // The drawn image, for inspection; null when it could not be created.
  const gdImageStruct* Image() const;

  // The name size and label size in use after the defaults for small sizes were applied.
  double NameSize() const;
  double LabelSize() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace strumlet
