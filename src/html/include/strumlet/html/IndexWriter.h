// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "strumlet/html/PageStream.h"
#include "strumlet/html/PageWriter.h"

namespace strumlet {

// The folder index page: a heading naming the folder, one line per database (a link to its
// page, or its file name and "ERROR"), then the shared page tail.
class IndexWriter {
 public:
  // Creates (or truncates) `indexPath` and writes the heading for `folder` (the path as given).
  // False when the file cannot be created; FailureText() says why.
  bool Open(const std::filesystem::path& indexPath, const std::filesystem::path& folder,
            PageStyle style = PageStyle::kClassic);
  // A line linking "<baseName>/<baseName>.html".
  void AddPage(const std::string& baseName);
  // A line linking "<baseName>/<fileName>" with the visible text `text`.
  void AddLink(const std::string& baseName, const std::string& fileName, const std::string& text);
  // A line "<fileName> - ERROR".
  void AddError(const std::string& fileName);
  // Writes the tail and closes the file; false when anything could not be written.
  bool Finish();
  // "Could not write '<index>': <reason>".
  std::string FailureText() const;

 private:
  // The modern list's open items: the database's, and its list of other files.
  void OpenItem(const std::string& baseName, const std::string& label);
  void CloseItem();

  std::string path_;
  PageStyle style_ = PageStyle::kClassic;
  std::string item_;  // the base name whose item is open; empty when none is
  bool exportsOpen_ = false;
  std::unique_ptr<PageStream> page_;
};

}  // namespace strumlet
