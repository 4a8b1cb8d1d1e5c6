// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/html/IndexWriter.h"

#include <cerrno>

#include "strumlet/html/HtmlText.h"
#include "strumlet/html/ModernPage.h"

namespace strumlet {

bool IndexWriter::Open(const std::filesystem::path& indexPath, const std::filesystem::path& folder,
                       PageStyle style) {
  path_ = indexPath.native();
  style_ = style;
  page_ = std::make_unique<PageStream>(indexPath);
  if (!page_->ok()) return false;
  if (style_ == PageStyle::kModern) {
    WriteModernHead(*page_, "index", false);
    page_->Print(
        "<header>\n<p class=\"site\"><a href=\"%s\">Strumlet</a> Index</p>\n<h1>Index for "
        "folder: %s</h1>\n</header>\n<main>\n<ul>\n",
        kSiteAddress, EscapeUtf8Html(folder.native()).c_str());
    return true;
  }
  page_->Print(
      "<html>\n<head>\n<title>Strumlet - %s</title> \n<meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=iso-8859-1\">\n</head>\n<body "
      "bgcolor=\"#FFFFFF\"><div align=\"center\">\n<p><font size=\"+2\"><b><a "
      "href=\"%s\">Strumlet</a> Index for folder: %s</b>\n</font></p>",
      "index.html", kSiteAddress, EscapeHtmlName(folder.native()).c_str());
  page_->Print("<hr size=\"1\">");
  return true;
}

void IndexWriter::OpenItem(const std::string& baseName, const std::string& label) {
  CloseItem();
  item_ = baseName;
  page_->Print("<li>%s", label.c_str());
}

void IndexWriter::CloseItem() {
  if (item_.empty()) return;
  page_->Print(exportsOpen_ ? "</ul></li>\n" : "</li>\n");
  item_.clear();
  exportsOpen_ = false;
}

void IndexWriter::AddPage(const std::string& baseName) {
  const std::string link = PercentEncode(baseName);
  if (style_ == PageStyle::kModern) {
    OpenItem(baseName,
             "<a href=\"" + link + "/" + link + ".html\">" + EscapeUtf8Html(baseName) + "</a>");
    return;
  }
  page_->Print("\n\t<br><a href=\"%s/%s.html\">%s</a>", link.c_str(), link.c_str(),
               EscapeHtmlName(baseName).c_str());
}

void IndexWriter::AddLink(const std::string& baseName, const std::string& fileName,
                          const std::string& text) {
  if (style_ == PageStyle::kModern) {
    // A database without a page still gets its item, named by its base name.
    if (item_ != baseName || baseName.empty()) OpenItem(baseName, EscapeUtf8Html(baseName));
    if (!exportsOpen_) page_->Print("\n<ul>");
    exportsOpen_ = true;
    page_->Print("<li><a href=\"%s/%s\">%s</a></li>", PercentEncode(baseName).c_str(),
                 PercentEncode(fileName).c_str(), EscapeUtf8Html(text).c_str());
    return;
  }
  page_->Print("\n\t<br><a href=\"%s/%s\">%s</a>", PercentEncode(baseName).c_str(),
               PercentEncode(fileName).c_str(), EscapeHtmlName(text).c_str());
}

void IndexWriter::AddError(const std::string& fileName) {
  if (style_ == PageStyle::kModern) {
    CloseItem();
    page_->Print("<li>%s - ERROR</li>\n", EscapeUtf8Html(fileName).c_str());
    return;
  }
  page_->Print("\n\t<br>%s - ERROR", EscapeHtmlName(fileName).c_str());
}

bool IndexWriter::Finish() {
  if (style_ == PageStyle::kModern) {
    CloseItem();
    page_->Print("</ul>\n</main>\n");
    WriteModernFooter(*page_, "HTML Created: ");
    return page_->Close();
  }
  WritePageFooter(*page_, "<br><br>HTML Created: %s");
  return page_->Close();
}

std::string IndexWriter::FailureText() const {
  return WriteFailureText(path_, page_ && page_->error() ? page_->error() : EIO);
}

}  // namespace strumlet
