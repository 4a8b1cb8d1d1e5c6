// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/DocManager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "strumlet/core/StartDirectory.h"
#include "strumlet/html/PageWriter.h"

namespace strumlet {

namespace fs = std::filesystem;

CDocManager::CDocManager(const ProcessingSettings& settings, DocumentWindowFactory& windows,
                         RecentFileList* recentFiles)
    : settings_(settings),
      windows_(windows),
      recentFiles_(recentFiles),
      opener_([](CStrumletViewerDoc& document, const std::string& path) {
        return document.OnOpenDocument(path);
      }) {}

CDocManager::~CDocManager() = default;

std::string CDocManager::CanonicalPath(const std::string& path) {
  if (path.empty()) {
    return path;
  }
  const std::string absolute =
      path.front() == '/' ? path : JoinPath(StartDirectory(), path).native();
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::path(absolute), error);
  std::string result = error ? fs::path(absolute).lexically_normal().string() : resolved.string();
  // A folder keeps no trailing "/", so "Out" and "Out/" are one document.
  while (result.size() > 1 && result.back() == '/') {
    result.pop_back();
  }
  return result;
}

bool CDocManager::ServesFile(const std::string& path) const {
  std::error_code error;
  const fs::path file = fs::canonical(fs::path(path), error);
  if (error || !file.is_absolute()) {
    return false;
  }
  for (const auto& entry : documents_) {
    if (entry->pageFolder.empty()) {
      continue;
    }
    const fs::path inside = file.lexically_relative(entry->pageFolder);
    if (!inside.empty() && *inside.begin() != "..") {
      return true;
    }
  }
  return false;
}

std::string CDocManager::PathOf(const CStrumletViewerDoc* document) const {
  for (const auto& entry : documents_) {
    if (entry->document.get() == document) {
      return entry->path;
    }
  }
  return {};
}

CDocManager::Entry* CDocManager::AddDocument(const std::string& title) {
  auto owned = std::make_unique<Entry>();
  owned->document = std::make_unique<CStrumletViewerDoc>(settings_);
  // The window describes every diagram it shows, whatever the pages on disk say.
  owned->document->SetCollectDiagramWords(true);
  if (!title.empty()) {
    owned->document->SetTitle(title);
  }
  Entry& entry = *owned;
  documents_.push_back(std::move(owned));
  CStrumletViewerDoc* document = entry.document.get();
  entry.window = windows_.CreateDocumentWindow(*document, [this, document] { Forget(document); });
  if (entry.window == nullptr) {
    Forget(document);
    return nullptr;
  }
  return &entry;
}

void CDocManager::Forget(const CStrumletViewerDoc* document) {
  std::erase_if(documents_, [document](const std::unique_ptr<Entry>& entry) {
    return entry->document.get() == document;
  });
}

namespace {

// Whether pages made with `a` are those `b` would make: the path the Open command proposes
// next plays no part.
bool SamePages(ProcessingSettings a, ProcessingSettings b) {
  a.m_strDefaultPath.clear();
  b.m_strDefaultPath.clear();
  return a == b;
}

}  // namespace

bool CDocManager::Convert(Entry& entry, const std::string& path) {
  if (!opener_(*entry.document, path)) {
    return false;
  }
  entry.madeWith = settings_;
  CStrumletViewerDoc& document = *entry.document;
  if (!document.PagePath.empty()) {
    std::error_code error;
    const fs::path folder =
        fs::canonical(fs::path(CanonicalPath(document.PagePath)).parent_path(), error);
    if (!error) {
      entry.pageFolder = folder.string();
    }
  }
  return true;
}

CStrumletViewerDoc* CDocManager::OpenDocumentFile(const std::string& path) {
  const std::string canonical = CanonicalPath(path);
  for (const auto& entry : documents_) {
    if (!entry->path.empty() && entry->path == canonical) {
      // Pages made with other options are made again, in the same window.
      if (!SamePages(entry->madeWith, settings_) && Convert(*entry, canonical) &&
          entry->window != nullptr) {
        entry->window->Reload();
      } else if (entry->window != nullptr) {
        entry->window->Activate();
      }
      return entry->document.get();
    }
  }

  Entry* added = AddDocument();
  if (added == nullptr) {
    return nullptr;
  }
  CStrumletViewerDoc* document = added->document.get();
  DocumentWindow* window = added->window;
  // The document's path is the one it was asked for, so a database that names itself differently
  // is still found again by the name the user gave.
  if (!Convert(*added, canonical)) {
    added->window = nullptr;
    Forget(document);
    window->Discard();
    return nullptr;
  }
  added->path = canonical;
  // As the framework does: once open, a document is titled by the file name of its path.
  document->SetTitle(fs::path(canonical).filename().string());
  if (recentFiles_ != nullptr) {
    recentFiles_->Add(canonical);
  }
  window->InitialUpdate();
  return document;
}

CStrumletViewerDoc* CDocManager::OpenNewDocument() {
  Entry* added = AddDocument("Strumlet" + std::to_string(++untitledCount_));
  if (added == nullptr) {
    return nullptr;
  }
  added->window->InitialUpdate();
  return added->document.get();
}

}  // namespace strumlet
