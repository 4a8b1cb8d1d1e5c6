// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/DatabaseFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <unordered_set>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/pdb/ByteSource.h"

namespace strumlet {

std::string DatabaseBaseName(const std::string& databasePath) {
  std::string fileName = FileName(databasePath);
  // The dots that hide a file are not where its name ends: ".x.pdb" is "x", not "", which
  // would write ".html" straight into the output folder.
  fileName.erase(0, fileName.find_first_not_of('.'));
  std::string base = fileName.substr(0, fileName.find('.'));
  return base.empty() ? std::string("database") : base;
}

namespace {

// Chords whose record offset an earlier chord of the database has: a damaged database, whose
// chords would otherwise share one picture.
std::size_t SharedRecordOffsets(const ChordCollection& chords) {
  std::unordered_set<int32_t> seen;
  seen.reserve(chords.size());
  std::size_t shared = 0;
  for (const ChordRecord& chord : chords) shared += seen.insert(chord.recordOffset).second ? 0 : 1;
  return shared;
}

int TellSharedOffsets(const std::string& path, const ChordDatabase& db, int read) {
  if (read != 0) return read;
  const std::size_t shared = SharedRecordOffsets(db.chords);
  if (shared > 0) {
    ShowMessage("", CountedFault("'" + path +
                                     "' is damaged: a chord shares its record offset with an "
                                     "earlier chord; each still gets a diagram of its own.",
                                 shared));
  }
  return read;
}

// Whether the open file starts with a database header, whatever its name; it is then read again
// from its start.
bool FileStartsWithDatabaseHeader(std::FILE* file) {
  uint8_t head[68];
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return StartsWithDatabaseHeader(std::span<const uint8_t>(head, got));
}

// Keeps what the reader says about one file, so that the user gets one message for it that
// names the file, however many faults the reader met.
class FileMessages final : public Messenger {
 public:
  FileMessages() : previous_(SetMessenger(this)) {}
  ~FileMessages() override { SetMessenger(previous_); }
  FileMessages(const FileMessages&) = delete;
  FileMessages& operator=(const FileMessages&) = delete;

  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    if (messages_.empty()) {
      caption_ = caption;
      icon_ = icon;
    }
    messages_.push_back(text);
  }

  // Hands the texts on as one message; a text that speaks of "the database" names the file
  // instead, and when none names it a last line does, with `problem` or as damaged.
  void Tell(const std::string& path, const std::string& problem) {
    SetMessenger(previous_);
    if (messages_.empty()) return;
    const std::string named = "'" + path + "'";
    std::string text;
    bool naming = false;
    for (std::string line : messages_) {
      if (line.rfind("The database ", 0) == 0) line.replace(0, 12, named);
      naming |= line.find(named) != std::string::npos;
      text += (text.empty() ? "" : "\n") + line;
    }
    if (!naming) text += "\n" + named + " " + (problem.empty() ? "is damaged" : problem) + ".";
    messages_.clear();
    strumlet::ShowMessage(caption_, text, icon_);
  }

 private:
  Messenger* previous_;
  std::vector<std::string> messages_;
  std::string caption_;
  MessageIcon icon_ = MessageIcon::None;
};

bool LooksLikeText(const unsigned char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = bytes[i];
    if (c == 0 || c == 0x7F || (c < 0x20 && std::strchr("\t\n\r\f", c) == nullptr)) return false;
  }
  return true;
}

bool IsNameCharacter(unsigned char c) { return c >= 0x20 && c < 0x7F; }

int ReadInto(const std::string& path, int sortOrder, ChordDatabase& db);

}  // namespace

std::string DatabaseProblem(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return "cannot be read: " + ErrorText(errno);
  unsigned char head[512];
  const std::size_t got = std::fread(head, 1, sizeof head, file.get());
  if (std::ferror(file.get())) return "cannot be read: " + ErrorText(errno ? errno : EIO);
  if (got == 0) return "is empty";
  if (got >= 68 && std::memcmp(head + 64, "STRM", 4) == 0) return {};
  if (LooksLikeText(head, got)) return "is a text file, not a Palm database";
  bool named = got >= 68;
  for (std::size_t i = 60; named && i < 68; ++i) named = IsNameCharacter(head[i]);
  if (named) {
    return "is a Palm database of another program (creator '" +
           std::string(reinterpret_cast<const char*>(head + 64), 4) + "'), not a chord database";
  }
  return "is not a Palm database";
}

int ReadDatabaseFile(const std::string& path, int sortOrder, ChordDatabase& db) {
  FileMessages messages;
  const int read = ReadInto(path, sortOrder, db);
  messages.Tell(path, read == -1 || read == 0 ? DatabaseProblem(path) : std::string());
  return read;
}

namespace {

int ReadInto(const std::string& path, int sortOrder, ChordDatabase& db) {
  db = ChordDatabase{};
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return kDatabaseMissing;
  }
  // Only a plain file is opened: a folder cannot be read and a pipe could block for ever.
  if (!S_ISREG(info.st_mode)) {
    ShowMessage("", "Could not read '" + path + "': it is not a plain file.");
    return kDatabaseUnreadable;
  }
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    const int error = errno;
    ShowMessage("", "Could not read '" + path + "': " + ErrorText(error));
    return kDatabaseUnreadable;
  }
  FileSource source(file.get());
  // A read error is named with its reason; the readers' own messages would call the file
  // truncated or foreign.
  auto readFailed = [&] {
    if (source.error() == 0) return false;
    db = ChordDatabase{};
    ShowMessage("", "Could not read '" + path + "': " + ErrorText(source.error()));
    return true;
  };
  if (EndsInPdb(path) || FileStartsWithDatabaseHeader(file.get())) {
    const int read = ParseDatabase(source, sortOrder, db);
    return readFailed() ? kDatabaseUnreadable : TellSharedOffsets(path, db, read);
  }
  try {
    LoadArchivedCollection(source, sortOrder, db);
  } catch (const ArchiveException& e) {
    if (readFailed()) return kDatabaseUnreadable;
    // Negated so that no cause code can pass for a success.
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(e.cause());
  } catch (const std::exception& e) {
    ShowMessage("", "'" + path + "' could not be read: " + e.what());
    return -static_cast<int>(ArchiveException::kGeneric);
  }
  return readFailed() ? kDatabaseUnreadable : TellSharedOffsets(path, db, 0);
}

}  // namespace

}  // namespace strumlet
