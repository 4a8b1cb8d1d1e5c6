// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/convert/StrumletViewerDoc.h"

#include <dirent.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string_view>
#include <vector>

#include "TellUser.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/FolderLock.h"
#include "strumlet/core/Handles.h"
#include "strumlet/export/ChordStrum.h"
#include "strumlet/html/HtmlText.h"
#include "strumlet/html/IndexWriter.h"
#include "strumlet/html/PageWriter.h"
#include "strumlet/pdb/DatabaseFile.h"
#include "strumlet/render/Assets.h"
#include "strumlet/render/DiagramText.h"
#include "strumlet/sound/ChordSound.h"
#include "strumlet/sound/ChordSynth.h"

namespace strumlet {
namespace {

constexpr const char* kApplicationTitle = "StrumletViewer";
constexpr const char* kIndexName = "index.html";

// When this process began converting: a temporary file older than that is no one's work in
// progress.
const timespec& StartTime() {
  static const timespec start = [] {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
  }();
  return start;
}

std::string NotValidPath(const std::string& path) {
  return "'" + path + "' is not a valid file or folder path.";
}

std::string BusyText(const std::string& folder, std::chrono::milliseconds patience) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience).count();
  return "Another conversion is writing into '" + folder + "'. It still was after " +
         std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
         " of waiting, so nothing was converted; try again when it has ended.";
}

// Why a folder could not be locked, to follow its name in a message.
std::string LockProblem(int error) {
  const std::string lockFile = std::string("its lock file '") + FolderLock::kFileName + "'";
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "cannot be written: " + ErrorText(error);
    case ELOOP:
      return "holds a symbolic link in place of " + lockFile;
    case EEXIST:
      return "holds something other than a plain file in place of " + lockFile;
    default:
      return "cannot be locked: " + ErrorText(error);
  }
}

// `text` cut to at most `limit` bytes, never inside a UTF-8 sequence.
std::string CutName(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

// A file of a folder run: a chord database, or a file named like one that could not be read.
struct FolderEntry {
  std::string name;
  int error = 0;  // errno of the failed open or read; 0 for a database
};

// The folder's plain, visible files that are chord databases, in the order the directory
// yields them, and the files named like databases that cannot be opened, so that the run tells
// the user of them rather than pass them over; in `skipped`, the other files named like
// databases, each with why it is none. 0, or the errno of a failed listing.
int ScanFolder(const std::string& folder, std::vector<FolderEntry>& entries,
               std::vector<std::string>& skipped) {
  FolderHandle directory(::opendir(folder.c_str()));
  if (!directory) return errno ? errno : EIO;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(directory.get());
    if (!entry) return errno;
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') {
      continue;
    }
    if (!IsRegularFile(JoinPath(folder, name))) {
      continue;
    }
    const DatabaseCheck check = CheckChordDatabase(folder, name);
    if (check.database || check.error != 0) {
      entries.push_back({name, check.error});
    } else if (IsDatabaseFileName(name)) {
      skipped.push_back("'" + name + "' " + DatabaseProblem(JoinPath(folder, name)) + ".");
    }
  }
}

bool IsPage(int result) {
  return result == CStrumletViewerDoc::kPngPage || result == CStrumletViewerDoc::kJpegPage ||
         result == CStrumletViewerDoc::kSvgPage;
}

bool IsWritten(int result) { return IsPage(result) || result == CStrumletViewerDoc::kOtherOutput; }

}  // namespace

std::map<std::string, std::string> DistinctBaseNames(const std::vector<std::string>& fileNames,
                                                     std::size_t maxBytes) {
  auto fold = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  // By base name as the file systems that ignore letter case see it; file names sorted within.
  std::map<std::string, std::vector<std::string>> groups;
  auto base = [&](const std::string& name, std::size_t room) {
    return CutName(DatabaseBaseName(name), room);
  };
  for (const std::string& name : fileNames) groups[fold(base(name, maxBytes))].push_back(name);
  std::set<std::string> taken;
  for (const auto& group : groups) taken.insert(group.first);
  std::map<std::string, std::string> result;
  for (auto& [key, names] : groups) {
    std::sort(names.begin(), names.end());
    result[names[0]] = base(names[0], maxBytes);
    int suffix = 2;
    for (std::size_t i = 1; i < names.size(); ++i) {
      std::string candidate;
      do {
        const std::string tail = "-" + std::to_string(suffix++);
        candidate = base(names[i], maxBytes - std::min(maxBytes, tail.size())) + tail;
      } while (taken.count(fold(candidate)) != 0);
      taken.insert(fold(candidate));
      result[names[i]] = candidate;
    }
  }
  return result;
}

CStrumletViewerDoc::CStrumletViewerDoc(const ProcessingSettings& settings) : settings_(settings) {}

CStrumletViewerDoc::~CStrumletViewerDoc() = default;

void CStrumletViewerDoc::CopyRunOptions() {
  WriteJpeg = settings_.m_bJpeg;
  WritePng = settings_.m_bPng;
  WriteSvg = settings_.m_bSvg;
  WriteSound = settings_.m_bSound;
  synthFailed_ = false;
  pageOptions_ = PageOptionsFor(settings_);
  ImagePercent = pageOptions_.imagePercent;
  FrameImages = pageOptions_.frameImages;
  SortOrder = pageOptions_.sortOrder;
  NameFontSize = pageOptions_.style.nameSize;
  LabelFontSize = pageOptions_.style.labelSize;
}

void CStrumletViewerDoc::Report() {
  if (progressCallback_) {
    progressCallback_(progress_);
  }
}

bool CStrumletViewerDoc::OnOpenDocument(const std::filesystem::path& opened) {
  const std::string& path = opened.native();
  CopyRunOptions();
  summary_ = {};
  progress_ = {};
  const std::string& outputFolder = settings_.m_strOutputPath;

  // A directory is a folder whatever its name ends in; a file is one database whatever the case
  // of its name, its bytes telling a database from an archived collection.
  if (IsRegularFile(path) || (EndsInPdb(path) && !IsDirectory(path))) {
    if (WritesImages() && !LoadAssets()) {
      return false;
    }
    FolderLock lock;
    if (!LockOutputFolder(outputFolder, lock)) {
      return false;
    }
    progress_.databasesTotal = 1;
    Report();
    summary_.databases = 1;
    const int result = ProcessDatabase(path, outputFolder);
    if (!Converted(result) || !database_.complete) {
      ++summary_.failures;
    }
    progress_.databasesDone = 1;
    progress_.database.clear();
    Report();
    return result != kNoPage;
  }

  if (!IsAccessibleDirectory(path)) {
    TellUser("palm file Error", NotValidPath(path));
    summary_.invalidInput = true;
    return false;
  }
  if (!IsAccessibleDirectory(outputFolder)) {
    TellUser("Invalid Destination Folder", NotValidPath(outputFolder));
    summary_.invalidOutput = true;
    return false;
  }
  if (WritesImages() && !LoadAssets()) {
    return false;
  }
  FolderLock lock;
  if (!LockOutputFolder(outputFolder, lock)) {
    return false;
  }
  FolderRun(path, outputFolder, lock);
  return !summary_.indexFailed && !summary_.listingFailed && !summary_.noDatabases &&
         !summary_.stopped;
}

int CStrumletViewerDoc::LockFolder(const std::filesystem::path& folder, FolderLock& lock) {
  const int error = lock.Acquire(folder, lockPatience_, [&] {
    progress_.waitingFor = folder;
    Report();
  });
  if (!progress_.waitingFor.empty()) {
    progress_.waitingFor.clear();
    Report();
  }
  return error;
}

bool CStrumletViewerDoc::LockOutputFolder(const std::filesystem::path& outputFolder,
                                          FolderLock& lock) {
  if (outputFolder.empty()) return true;
  const int error = LockFolder(outputFolder, lock);
  if (error == 0) return true;
  if (error == EWOULDBLOCK) {
    TellUser("", BusyText(outputFolder, lockPatience_));
    summary_.outputBusy = true;
    return false;
  }
  // A folder that is not there is told of where the output is written.
  if (error == ENOENT || error == ENOTDIR) return true;
  TellUser("Invalid Destination Folder",
           "'" + outputFolder.native() + "' " + LockProblem(error) + ".");
  summary_.invalidOutput = true;
  return false;
}

std::size_t CStrumletViewerDoc::NameRoom(const std::filesystem::path& outputFolder) const {
  const long named = ::pathconf(outputFolder.c_str(), _PC_NAME_MAX);
  const std::size_t longest = named > 0 ? static_cast<std::size_t>(named) : NAME_MAX;
  std::size_t suffix = std::string_view(".html").size();
  for (const ExtraOutput& extra : extraOutputs_) suffix = std::max(suffix, extra.extension.size());
  return longest > suffix ? longest - suffix : 1;
}

bool CStrumletViewerDoc::LoadAssets() {
  // A run that draws no images (ChordPro files only) needs none of them.
  if (!WritesImages()) {
    return true;
  }
  const Result<void> loaded = LoadDiagramAssets();
  if (!loaded) {
    summary_.missingAsset = loaded.error().path;
    return false;
  }
  // Checked once here: a font that cannot be read would leave every diagram without its name.
  if (const Result<void> font = CheckFontFile(settings_.m_strFontFile); !font) {
    TellUser("", FontProblemText(font.error()));
    summary_.unusableFont = true;
    return false;
  }
  return true;
}

void CStrumletViewerDoc::FolderRun(const std::filesystem::path& folder,
                                   const std::filesystem::path& outputFolder,
                                   const FolderLock& lock) {
  const std::string indexPath = JoinPath(outputFolder, kIndexName);
  if (PagePath.empty()) {
    PagePath = indexPath;
    SetTitle(kIndexName);
  }
  // Listed first: a folder that cannot be listed is a failure, not an empty index.
  std::vector<FolderEntry> entries;
  // What the user is told at the end besides the count: files passed over, databases not made.
  std::vector<std::string> notes;
  if (const int error = ScanFolder(folder, entries, notes); error != 0) {
    TellUser("", "Could not read '" + folder.native() + "': " + ErrorText(error));
    summary_.listingFailed = true;
    return;
  }
  std::sort(notes.begin(), notes.end());
  // An empty index would replace the one of an earlier run for nothing.
  if (entries.empty()) {
    std::string text = "No chord databases in '" + folder.native() + "'.";
    for (const std::string& note : notes) text += "\n" + note;
    TellUser("", text);
    summary_.noDatabases = true;
    return;
  }
  if (lock.held()) RemoveUnfinishedFiles(outputFolder, StartTime());
  IndexWriter index;
  if (!index.Open(indexPath, folder, pageOptions_.pageStyle)) {
    TellUser("", index.FailureText());
    summary_.indexFailed = true;
    return;
  }

  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) {
    if (entry.error == 0) names.push_back(entry.name);
  }
  const std::map<std::string, std::string> baseNames =
      DistinctBaseNames(names, NameRoom(outputFolder));
  progress_.databasesTotal = entries.size();
  Report();
  const std::size_t found = entries.size() + notes.size();
  int converted = 0;
  for (const FolderEntry& entry : entries) {
    const std::string& name = entry.name;
    // Between databases: every file written so far is whole.
    if (stopRequested_) {
      summary_.stopped = true;
      break;
    }
    ++summary_.databases;
    if (entry.error != 0) {
      TellUser("", "Could not read '" + JoinPath(folder, name).native() +
                       "': " + ErrorText(entry.error));
      index.AddError(name);
      notes.push_back("'" + name + "' was not converted.");
      ++summary_.failures;
      ++progress_.databasesDone;
      Report();
      continue;
    }
    const int result = ProcessDatabase(JoinPath(folder, name), outputFolder, baseNames.at(name));
    if (IsPage(result)) {
      index.AddPage(BaseName);
    }
    for (std::size_t i = 0; i < extraWritten_.size(); ++i) {
      if (!extraWritten_[i]) continue;
      const ExtraOutput& extra = extraOutputs_[i];
      index.AddLink(BaseName, BaseName + extra.extension, BaseName + extra.linkLabel);
    }
    if (!Converted(result)) {
      index.AddError(name);
      notes.push_back("'" + name + "' was not converted.");
    } else if (!database_.complete) {
      notes.push_back("'" + name + "' was converted only in part.");
    }
    if (!Converted(result) || !database_.complete) {
      ++summary_.failures;
    }
    converted += Converted(result) ? 1 : 0;
    ++progress_.databasesDone;
    progress_.chordsDone = progress_.chordsTotal = 0;
    progress_.database.clear();
    Report();
  }

  if (summary_.stopped) {
    // The index of the earlier run stays whole; the pages made so far are.
    TellUser("", "Stopped after " + std::to_string(progress_.databasesDone) + " of " +
                     std::to_string(entries.size()) + " databases.");
    return;
  }
  if (!index.Finish()) {
    TellUser("", index.FailureText());
    summary_.indexFailed = true;
  }
  if (!notes.empty()) {
    std::string text = "Converted " + std::to_string(converted) + " of " + std::to_string(found) +
                       (found == 1 ? " file" : " files") + " in '" + folder.native() + "'.";
    for (const std::string& note : notes) text += "\n" + note;
    TellUser("", text);
  }
}

int CStrumletViewerDoc::ProcessDatabase(const std::filesystem::path& database,
                                        const std::filesystem::path& output,
                                        const std::string& baseName) {
  const std::string& databasePath = database.native();
  const std::string& outputFolder = output.native();
  database_ = ChordDatabase{};
  extraWritten_.assign(extraOutputs_.size(), false);
  progress_.database = databasePath;
  Report();

  const Result<void> read = ReadDatabaseFile(databasePath, SortOrder, database_);
  if (const std::string text = DatabaseReadText(databasePath, database_, read); !text.empty()) {
    TellUser("", text);
  }
  if (!read) {
    const int code = DatabaseReadCode(read.error());
    return code == kDatabaseMissing ? kNoPage : code;
  }

  if (!PrepareDestinationFolder(databasePath, outputFolder, baseName)) {
    if (IsSymbolicLink(DestinationFolder)) {
      TellUser("", "'" + DestinationFolder.native() +
                       "' is a symbolic link: no output is written through one. Remove it or "
                       "choose another output folder.");
    } else if (destinationBusy_) {
      TellUser("", BusyText(DestinationFolder, lockPatience_));
    } else {
      TellUser(kApplicationTitle,
               "Error: Invalid Destination Folder" +
                   (destinationProblem_.empty()
                        ? std::string()
                        : ": '" + DestinationFolder.native() + "' " + destinationProblem_));
    }
    return kNoPage;
  }
  if (const std::string own = DatabaseBaseName(databasePath);
      BaseName != own && own.size() > NameRoom(outputFolder)) {
    TellUser("", "The name of '" + databasePath +
                     "' is too long for the names of its output files; they are named '" +
                     BaseName + "' instead.");
  }

  progress_.chordsDone = 0;
  const bool sound = WriteSound && WritesImages();
  progress_.chordsTotal = database_.chords.size() * ((WritePng ? 1 : 0) + (WriteJpeg ? 1 : 0) +
                                                     (WriteSvg ? 1 : 0) + (sound ? 1 : 0));
  Report();
  int result = kNoPage;
  bool failed = false;
  soundFiles_.clear();
  // Before the pages, which link them.
  if (sound) failed |= !WriteChordSounds();
  if (WritePng) {
    failed |= !WriteDatabasePage(ImageKind::kPng);
    result = kPngPage;
  }
  if (WriteJpeg) {
    failed |= !WriteDatabasePage(ImageKind::kJpeg);
    result = kJpegPage;
  }
  // Last, so that a run asked for SVG besides another kind leaves the page of vector diagrams.
  if (WriteSvg) {
    failed |= !WriteDatabasePage(ImageKind::kSvg);
    result = kSvgPage;
  }
  for (std::size_t i = 0; i < extraOutputs_.size(); ++i) {
    const ExtraOutput& extra = extraOutputs_[i];
    if (!extra.write) continue;
    const std::string fileName = BaseName + extra.extension;
    const std::string path = JoinPath(DestinationFolder, fileName);
    extraWritten_[i] = extra.write(database_, BaseName, SortOrder, path);
    if (extraWritten_[i] && !WritesImages()) {
      // The first file written is the one to show.
      if (result == kNoPage && PagePath.empty()) {
        PagePath = path;
        SetTitle(fileName);
      }
      result = kOtherOutput;
    }
  }
  databaseLock_ = FolderLock{};
  if (!failed && IsPage(result)) {
    pageSources_[JoinPath(DestinationFolder, BaseName + ".html")] = {databasePath, BaseName,
                                                                     DestinationFolder, SortOrder};
  }
  return failed ? kNoPage : result;
}

bool CStrumletViewerDoc::WritesImages() const { return WritePng || WriteJpeg || WriteSvg; }

bool CStrumletViewerDoc::Converted(int result) const {
  return IsWritten(result) && AllExtraWritten();
}

bool CStrumletViewerDoc::AllExtraWritten() const {
  for (std::size_t i = 0; i < extraOutputs_.size(); ++i) {
    if (extraOutputs_[i].write && (i >= extraWritten_.size() || !extraWritten_[i])) return false;
  }
  return true;
}

bool CStrumletViewerDoc::PrepareDestinationFolder(const std::filesystem::path& database,
                                                  const std::filesystem::path& output,
                                                  const std::string& baseName) {
  const std::string& databasePath = database.native();
  const std::string& outputFolder = output.native();
  databaseLock_ = FolderLock{};
  destinationProblem_.clear();
  destinationBusy_ = false;
  BaseName =
      baseName.empty() ? CutName(DatabaseBaseName(databasePath), NameRoom(outputFolder)) : baseName;
  DestinationFolder = JoinPath(outputFolder, BaseName);
  if (outputFolder.empty()) {
    return false;
  }
  struct stat info {};
  if (::lstat(DestinationFolder.c_str(), &info) == 0) {
    // A link planted in the output folder under a database's name would take its page and
    // images wherever it points.
    if (S_ISLNK(info.st_mode)) return false;
    if (!S_ISDIR(info.st_mode)) {
      destinationProblem_ = "is a file";
      return false;
    }
  } else if (::mkdir(DestinationFolder.c_str(), 0777) != 0) {
    destinationProblem_ = "cannot be created: " + ErrorText(errno);
    return false;
  }
  // Another run may have this folder as its output folder: the two take turns.
  if (const int error = LockFolder(DestinationFolder, databaseLock_); error != 0) {
    destinationBusy_ = error == EWOULDBLOCK;
    if (!destinationBusy_) destinationProblem_ = LockProblem(error);
    return false;
  }
  // What a run killed here left behind.
  RemoveUnfinishedFiles(DestinationFolder, StartTime());
  return true;
}

bool CStrumletViewerDoc::WriteDatabasePage(ImageKind kind) {
  const std::string pageName = BaseName + ".html";
  if (PagePath.empty()) {
    PagePath = JoinPath(DestinationFolder, pageName);
    SetTitle(pageName);
  }
  PageOptions options = pageOptions_;
  options.threads = renderThreads_;
  options.soundFiles = soundFiles_;
  const std::size_t offset = progress_.chordsDone;
  try {
    if (collectWords_) {
      std::vector<int32_t> offsets;
      offsets.reserve(database_.chords.size());
      for (const ChordRecord& chord : database_.chords) offsets.push_back(chord.recordOffset);
      const std::vector<std::string> names =
          DiagramFileNames(offsets, kind, options.style.leftHanded);
      auto words = std::make_shared<DiagramWordMap>();
      words->reserve(names.size());
      for (std::size_t i = 0; i < names.size(); ++i) {
        words->emplace(EscapeHtml(names[i]),
                       EscapeHtmlName(DescribeDiagram(database_.chords[i], options.style.altText)));
      }
      pageWords_[JoinPath(DestinationFolder, pageName)] = std::move(words);
      const std::vector<ChordStrum> strums = StrumsOf(database_.chords);
      auto sounds = std::make_shared<DiagramStrumMap>();
      sounds->reserve(names.size());
      for (std::size_t i = 0; i < names.size(); ++i) sounds->emplace(names[i], strums[i]);
      pageStrums_[JoinPath(DestinationFolder, pageName)] = std::move(sounds);
    }
    const PageWritten written = strumlet::WriteDatabasePage(
        database_, BaseName, DestinationFolder, kind, options, [&](std::size_t done, std::size_t) {
          progress_.chordsDone = offset + done;
          Report();
        });
    for (const Result<void>* part : {&written.images, &written.page}) {
      if (*part) continue;
      if (const std::string text = PageErrorText(part->error()); !text.empty()) {
        TellUser("", text);
      }
    }
    return written.ok();
  } catch (const std::bad_alloc&) {
    TellUser("", "There is not enough memory to draw the chords of '" + pageName + "'.");
  } catch (const std::exception& e) {
    TellUser("", "The chords of '" + pageName + "' could not be drawn: " + e.what());
  }
  return false;
}

bool CStrumletViewerDoc::WriteChordSounds() {
  if (!synth_) {
    if (synthFailed_) return false;
    Result<std::unique_ptr<ChordSynth>> opened = ChordSynth::Open({}, kSoundFileRate);
    if (!opened) {
      synthFailed_ = true;
      TellUser("", "No chord sounds are written: " + opened.error().reason +
                       (opened.error().path.empty() ? "" : " ('" + opened.error().path + "')") +
                       ". Install timgm6mb-soundfont or name a SoundFont in STRUMLET_SOUNDFONT.");
      return false;
    }
    synth_ = std::move(*opened);
  }
  std::vector<int32_t> offsets;
  offsets.reserve(database_.chords.size());
  for (const ChordRecord& chord : database_.chords) offsets.push_back(chord.recordOffset);
  // The images' names, whichever kind: the sound takes its image's stem.
  const std::vector<std::string> images =
      DiagramFileNames(offsets, ImageKind::kPng, pageOptions_.style.leftHanded);
  const std::vector<ChordStrum> strums = StrumsOf(database_.chords);
  soundFiles_.assign(strums.size(), std::string());
  std::string firstError;
  int errors = 0;
  for (std::size_t i = 0; i < strums.size(); ++i) {
    if (!strums[i].notes.empty()) {
      const std::string& image = images[i];
      const std::string file = image.substr(0, image.rfind('.')) + kSoundExtension;
      const std::string path = JoinPath(DestinationFolder, file);
      if (const Result<void> written = WriteChordSound(*synth_, strums[i], path)) {
        soundFiles_[i] = file;
      } else if (errors++ == 0) {
        const Error& error = written.error();
        firstError = error.reason.empty() ? WriteFailureText(path, error.code)
                                          : "Could not write '" + path + "': " + error.reason;
      }
    }
    ++progress_.chordsDone;
    Report();
  }
  if (errors > 0) {
    TellUser("",
             firstError + (errors > 1 ? " (" + std::to_string(errors - 1) + " more sounds of '" +
                                            BaseName + "' could not be written either)"
                                      : std::string()));
  }
  return errors == 0;
}

}  // namespace strumlet
