// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/html/IndexWriter.h"

#include <cerrno>

#include "strumlet/html/HtmlText.h"
#include "strumlet/html/PageWriter.h"

namespace strumlet {

bool IndexWriter::Open(const std::filesystem::path& indexPath,
                       const std::filesystem::path& folder) {
  path_ = indexPath.native();
  page_ = std::make_unique<PageStream>(indexPath);
  if (!page_->ok()) return false;
  page_->Print(
      "<html>\n<head>\n<title>Strumlet - %s</title> \n<meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=iso-8859-1\">\n</head>\n<body "
      "bgcolor=\"#FFFFFF\"><div align=\"center\">\n<p><font size=\"+2\"><b><a "
      "href=\"%s\">Strumlet</a> Index for folder: %s</b>\n</font></p>",
      "index.html", kSiteAddress, EscapeHtmlName(folder.native()).c_str());
  page_->Print("<hr size=\"1\">");
  return true;
}

void IndexWriter::AddPage(const std::string& baseName) {
  const std::string link = PercentEncode(baseName);
  page_->Print("\n\t<br><a href=\"%s/%s.html\">%s</a>", link.c_str(), link.c_str(),
               EscapeHtmlName(baseName).c_str());
}

void IndexWriter::AddLink(const std::string& baseName, const std::string& fileName,
                          const std::string& text) {
  page_->Print("\n\t<br><a href=\"%s/%s\">%s</a>", PercentEncode(baseName).c_str(),
               PercentEncode(fileName).c_str(), EscapeHtmlName(text).c_str());
}

void IndexWriter::AddError(const std::string& fileName) {
  page_->Print("\n\t<br>%s - ERROR", EscapeHtmlName(fileName).c_str());
}

bool IndexWriter::Finish() {
  WritePageFooter(*page_, "<br><br>HTML Created: %s");
  return page_->Close();
}

std::string IndexWriter::FailureText() const {
  return WriteFailureText(path_, page_ && page_->error() ? page_->error() : EIO);
}

}  // namespace strumlet
