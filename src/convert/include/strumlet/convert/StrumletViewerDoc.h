// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/core/FolderLock.h"
#include "strumlet/export/ChordStrum.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/pdb/DatabaseFile.h"
#include "strumlet/render/ChordDiagram.h"

namespace strumlet {

class ChordSynth;

// How far a conversion has come; databasesTotal is 1 for a single database.
struct ConversionProgress {
  std::size_t databasesDone = 0;
  std::size_t databasesTotal = 0;
  std::size_t chordsDone = 0;   // of the database being converted
  std::size_t chordsTotal = 0;  // of the database being converted
  std::string database;         // path of the database being converted; empty between them
  // The output folder another conversion is writing into, while this one waits for it.
  std::string waitingFor;
};

// What one open did, for callers that need more than its yes or no (the command line).
struct ConversionSummary {
  bool invalidInput = false;   // neither a database file nor an accessible folder
  bool invalidOutput = false;  // the output folder of a folder run is not accessible
  int databases = 0;           // databases taken on
  int failures = 0;            // of those: no page, a reading failure, or read only in part
  bool indexFailed = false;    // the folder index could not be written
  bool listingFailed = false;  // the folder could not be listed; nothing was converted
  bool outputBusy = false;     // another conversion kept the output folder; nothing was converted
  bool unusableFont = false;   // the font file cannot be read; nothing was converted
  bool noDatabases = false;    // the folder holds no chord database; its old index stays
  bool stopped = false;        // asked to stop, the run ended before its last database
  // The diagram asset that could not be loaded; nothing was converted then. The front end tells
  // the user (MissingAssetMessage in render/Assets.h, caption "Error", information icon) and
  // ends the program with status 1.
  std::string missingAsset;
};

// One opened database file or folder: runs the conversion when opened and keeps the page to
// show. The run options are copied from the processing settings at the start of every open.
//
// Threads: OnOpenDocument draws a page's diagrams on helper threads, but every Messenger call
// and every progress callback happens on the thread that called OnOpenDocument, and nothing
// below the front ends ends the process. The open is synchronous: it returns when all is done.
class CStrumletViewerDoc {
 public:
  // Per-database results besides the reader's own failure codes.
  static constexpr int kNoPage = 0;
  static constexpr int kPngPage = 1;
  static constexpr int kJpegPage = 2;
  // No image type selected, but the extra output was written.
  static constexpr int kOtherOutput = 3;
  static constexpr int kSvgPage = 4;

  // A file the front end writes beside each database's page (the command line's ChordPro,
  // MusicXML and JSON files),
  // so that this layer needs to know nothing of its format.
  struct ExtraOutput {
    std::string extension;  // the file is BaseName + extension in the destination folder
    std::string linkLabel;  // the folder index links it as BaseName + linkLabel
    // Writes the file of the database just read to `path`; false when it could not be written
    // (the user has been told).
    std::function<bool(const ChordDatabase& db, const std::string& baseName, int sortOrder,
                       const std::filesystem::path& path)>
        write;
  };

  // `settings` must outlive the document; it is read at the start of every open.
  explicit CStrumletViewerDoc(const ProcessingSettings& settings);
  ~CStrumletViewerDoc();

  // Converts the database file or every database of the folder at `path`. False when there is
  // nothing to show: the path or output folder is unusable, a diagram asset is missing
  // (summary().missingAsset names it; nothing is written then, nothing has been said), a
  // single database's page was not made, the folder holds no database, or the run was stopped
  // (the databases converted by then keep their files; the index is not replaced). A reading
  // failure of a single database still returns true, with no page. The assets are loaded here, on
  // the calling thread, before any drawing.
  bool OnOpenDocument(const std::filesystem::path& path);

  // Reads one database and writes its pages and the extra output; returns kNoPage, kPngPage,
  // kJpegPage, kSvgPage (the page of the kind written last), kOtherOutput (no image type selected,
  // the extra output written) or the reading failure code (negative). `baseName`, when given,
  // replaces the database's own (DatabaseBaseName); a folder run gives it to keep databases of one
  // base name apart.
  int ProcessDatabase(const std::filesystem::path& databasePath,
                      const std::filesystem::path& outputFolder, const std::string& baseName = {});

  // Sets BaseName (`baseName`, or else the database's own) and DestinationFolder for the
  // database and makes sure the folder exists.
  bool PrepareDestinationFolder(const std::filesystem::path& databasePath,
                                const std::filesystem::path& outputFolder,
                                const std::string& baseName = {});

  // Writes the page of the database read last, with images of `kind`; false when something
  // could not be written (the user has been told).
  bool WriteDatabasePage(ImageKind kind);

  // Asks the open under way to end after the database it is writing, from any thread (or a
  // signal handler); false takes the request back before the next open.
  void RequestStop(bool stop = true) { stopRequested_ = stop; }

  // The database a page written by this document was made from, for exporting the page shown.
  struct PageSource {
    std::filesystem::path database;
    std::string baseName;
    std::filesystem::path folder;  // the page's destination folder
    int sortOrder = 0;
  };
  // Page path to its source, for the pages this document wrote.
  const std::map<std::filesystem::path, PageSource>& PageSources() const { return pageSources_; }

  void SetProgressCallback(std::function<void(const ConversionProgress&)> callback) {
    progressCallback_ = std::move(callback);
  }
  // Writes `output` (in place of any given before) for every database from the next open on;
  // a database whose extra output could not be written counts as failed. Without image types
  // only the extra outputs are made.
  void SetExtraOutput(ExtraOutput output) {
    extraOutputs_.clear();
    AddExtraOutput(std::move(output));
  }
  // Writes `output` too, after those given before.
  void AddExtraOutput(ExtraOutput output) { extraOutputs_.push_back(std::move(output)); }
  // How long an open waits for another conversion into the same output folder to end.
  void SetLockPatience(std::chrono::milliseconds patience) { lockPatience_ = patience; }
  // Threads drawing one page's diagrams; 0 (the default) means one per core.
  void SetRenderThreads(unsigned threads) { renderThreads_ = threads; }

  const std::string& GetTitle() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const ConversionSummary& summary() const { return summary_; }
  const ChordDatabase& database() const { return database_; }

  // The words of a page's diagrams: image file name, as the page writes it, to the diagram's
  // description (DescribeDiagram) escaped for an HTML attribute.
  using DiagramWordMap = std::unordered_map<std::string, std::string>;
  // When on (the window), every page written keeps its diagrams' words, so that the page shown
  // can always describe its diagrams, whether or not the files on disk do.
  void SetCollectDiagramWords(bool on) { collectWords_ = on; }
  // Page path to the words of its diagrams, for the pages this document wrote.
  const std::map<std::string, std::shared_ptr<const DiagramWordMap>>& PageWords() const {
    return pageWords_;
  }
  // The same pages' chords as they sound, by their image file name (unescaped), for playing a
  // clicked diagram; collected with the words.
  using DiagramStrumMap = std::unordered_map<std::string, ChordStrum>;
  const std::map<std::string, std::shared_ptr<const DiagramStrumMap>>& PageStrums() const {
    return pageStrums_;
  }

  // Run options, copied at the start of every open; the page and diagram ones are read from the
  // page options made then (PageOptionsFor), which the pages are written with.
  bool WriteJpeg = false;
  bool WritePng = false;
  bool WriteSvg = false;
  bool WriteSound = false;  // audio files of the chords, linked by the pages
  int ImagePercent = 0;
  bool FrameImages = false;
  int SortOrder = 0;
  double NameFontSize = 0.0;
  double LabelFontSize = 14.0;

  std::string BaseName;
  std::filesystem::path DestinationFolder;
  // The page to show; set once, by whichever step first finds it empty.
  std::filesystem::path PagePath;

 private:
  void CopyRunOptions();
  // Writes the audio file of every chord of the database read last that sounds, beside its
  // images, and keeps their names for the pages; false when one could not be written or there is
  // no synthesiser (the user has been told, once a run for the synthesiser).
  bool WriteChordSounds();
  bool WritesImages() const;
  bool LoadAssets();
  void FolderRun(const std::filesystem::path& folder, const std::filesystem::path& outputFolder,
                 const FolderLock& lock);
  // Takes the lock of `folder`, waiting for another conversion (the progress watcher is told);
  // 0 or the errno value of FolderLock::Acquire.
  int LockFolder(const std::filesystem::path& folder, FolderLock& lock);
  // Takes the lock of the output folder. False, after telling the user, when another conversion
  // kept it too long or the folder cannot be written.
  bool LockOutputFolder(const std::filesystem::path& outputFolder, FolderLock& lock);
  // The bytes a base name may have in `outputFolder`, with room for the longest file name
  // ending this run gives it.
  std::size_t NameRoom(const std::filesystem::path& outputFolder) const;
  void Report();
  bool AllExtraWritten() const;
  // True when every output asked for was written for the database just processed.
  bool Converted(int result) const;

  const ProcessingSettings& settings_;
  PageOptions pageOptions_;  // of the open under way
  ChordDatabase database_;
  std::string title_;
  ConversionSummary summary_;
  ConversionProgress progress_;
  std::function<void(const ConversionProgress&)> progressCallback_;
  unsigned renderThreads_ = 0;
  std::chrono::milliseconds lockPatience_{std::chrono::minutes(1)};
  std::vector<ExtraOutput> extraOutputs_;
  std::vector<bool> extraWritten_;  // per extra output, for the database processed last
  bool collectWords_ = false;
  // The destination folder of the database being converted, held while its files are written.
  FolderLock databaseLock_;
  // Why PrepareDestinationFolder failed, to follow the folder's name; empty when not known.
  std::string destinationProblem_;
  bool destinationBusy_ = false;  // another conversion kept the destination folder
  std::map<std::string, std::shared_ptr<const DiagramWordMap>> pageWords_;
  std::map<std::string, std::shared_ptr<const DiagramStrumMap>> pageStrums_;
  std::map<std::filesystem::path, PageSource> pageSources_;
  // The sound files of the database being converted, per chord ("" for none).
  std::vector<std::string> soundFiles_;
  std::shared_ptr<ChordSynth> synth_;  // made at the first database that wants sound
  bool synthFailed_ = false;           // and told, for the rest of the open
  std::atomic<bool> stopRequested_{false};
};

// The base names the databases of one folder run are written under (file name -> base name),
// so that no database's output replaces another's. Databases whose base names are equal,
// ignoring letter case, are taken in file-name order: the first keeps the base name, the next
// get "-2", "-3", ... appended, skipping names another database of the run has. The result
// depends only on the set of file names, so a second run over the same folder replaces the
// first run's files.
// The base name each database of one run writes under: distinct ignoring letter case, and cut
// to `maxBytes` where the database's own is longer.
std::map<std::string, std::string> DistinctBaseNames(const std::vector<std::string>& fileNames,
                                                     std::size_t maxBytes = SIZE_MAX);

}  // namespace strumlet
