// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "strumlet/app/RecentFileList.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/convert/StrumletViewerDoc.h"

namespace strumlet {

// The window that shows one document: a child window of the main frame.
class DocumentWindow {
 public:
  virtual ~DocumentWindow() = default;
  // Brings the window to the front (a document that is opened again).
  virtual void Activate() = 0;
  // Called once, after the document is opened: the views show it and the window appears.
  virtual void InitialUpdate() = 0;
  // Destroys the window of a document that could not be opened, without showing it.
  virtual void Discard() = 0;
  // The document was converted again: the views show its new pages and the window comes forward.
  virtual void Reload() { InitialUpdate(); }
};

// Makes the windows of new documents. `closed` is to be called when the user closes the window;
// the manager then forgets the document.
class DocumentWindowFactory {
 public:
  virtual ~DocumentWindowFactory() = default;
  virtual DocumentWindow* CreateDocumentWindow(CStrumletViewerDoc& document,
                                               std::function<void()> closed) = 0;
};

// Opens documents and keeps them as long as their windows: the path made absolute, a document
// already showing it activated (converted again first when the settings differ from those its
// pages were made with), else a new document with its window converted and shown,
// or discarded when the open fails.
class CDocManager {
 public:
  // Runs one document's open operation; the default calls OnOpenDocument directly. The front end
  // puts in one that keeps the window alive during long conversions.
  using Opener = std::function<bool(CStrumletViewerDoc&, const std::string&)>;

  CDocManager(const ProcessingSettings& settings, DocumentWindowFactory& windows,
              RecentFileList* recentFiles = nullptr);
  ~CDocManager();

  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  // The document showing `path` afterwards, or nullptr when it could not be opened.
  CStrumletViewerDoc* OpenDocumentFile(const std::string& path);
  // A new, empty document ("Strumlet1", "Strumlet2", ...), whose view shows the instructions.
  CStrumletViewerDoc* OpenNewDocument();

  std::size_t DocumentCount() const { return documents_.size(); }
  // The path the document was opened from; empty for a new, empty one.
  std::string PathOf(const CStrumletViewerDoc* document) const;

  // The absolute, normalised form of `path` (symbolic links resolved when it exists), by which
  // an open document is found again.
  static std::string CanonicalPath(const std::string& path);

  // True when the file at `path`, symbolic links and ".." resolved, lies in the folder of an
  // open document's page or below it: the output of a folder run (its index and every database's
  // folder), or the one folder of a single database. The page view shows nothing else.
  bool ServesFile(const std::string& path) const;

 private:
  struct Entry {
    std::unique_ptr<CStrumletViewerDoc> document;
    std::string path;
    // The canonical folder of the document's page; empty while it has none.
    std::string pageFolder;
    DocumentWindow* window = nullptr;
    // The settings the pages shown were made with.
    ProcessingSettings madeWith;
  };
  // A new document with its window, or nullptr (and nothing kept) when no window could be made.
  Entry* AddDocument(const std::string& title = {});
  void Forget(const CStrumletViewerDoc* document);
  // Converts the entry's path with the current settings; false when the open failed.
  bool Convert(Entry& entry, const std::string& path);

  const ProcessingSettings& settings_;
  DocumentWindowFactory& windows_;
  RecentFileList* recentFiles_;
  Opener opener_;
  std::vector<std::unique_ptr<Entry>> documents_;
  int untitledCount_ = 0;
};

}  // namespace strumlet
