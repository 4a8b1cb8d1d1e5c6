// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The state of our Palm Desktop libraries: the Palm Desktop folder and, when the user has one,
// J-Pilot's folder. Every library looks at it afresh on each call, so changes made by another
// program (or another of our libraries) are seen at once; the users are parsed again only when
// the users file or J-Pilot's settings file changed, so a caller asking user by user stays fast.
//
// Palm Desktop folder: $STRUMLET_PALM_HOME, else $XDG_DATA_HOME/strumletviewer/palm, else
// ~/.local/share/strumletviewer/palm. Inside it:
//   users            the users file (see PalmDesktopFiles.h)
//   FOLDER/Backup/   a user's backup databases; FOLDER/Install/ the files queued for the user
//   core/            the core folder; core/conduits the conduit registry
//   J-Pilot/         the J-Pilot handheld's folder: Backup is a link to J-Pilot's backup folder
//   .lock            locked (fcntl) while the users file or the registry is rewritten
// J-Pilot folder: $JPILOT_HOME/.jpilot, else ~/.jpilot, when it exists and its jpilot.rc names
// the handheld's user.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "PalmDesktopFiles.h"
#include "strumlet/core/UniqueFd.h"

namespace strumlet::palmdesktop {

// The J-Pilot handheld's folder name inside the Palm Desktop folder.
inline constexpr const char* kJPilotFolder = "J-Pilot";
// Its user id: "JPLT".
inline constexpr uint32_t kJPilotUserId = 0x4A504C54;
// The largest users file we read: room for 50,000 users of the longest names and folders.
inline constexpr std::size_t kMaxUsersFileSize = 16 << 20;
// The largest J-Pilot install list we read.
inline constexpr std::size_t kMaxJPilotListSize = 16 << 20;

struct User {
  uint32_t id = 0;
  std::string folder;
  std::string name;
  bool jpilot = false;
};

// The Palm Desktop folder without a trailing "/", created when missing; a relative
// $STRUMLET_PALM_HOME is taken from the current directory and made absolute. Empty when there
// is no home folder to put it in or it cannot be created.
std::string PalmHome();
// The J-Pilot folder ("…/.jpilot", absolute) when it exists, else empty.
std::string JPilotHome();

// Every user: those of the users file, then the J-Pilot handheld (unless a user of the file has
// its name, id or folder). Looked up by id and by name without a search.
class UserList {
 public:
  UserList() = default;
  explicit UserList(std::vector<User> users);
  // The name index points into the list's own strings.
  UserList(const UserList&) = delete;
  UserList& operator=(const UserList&) = delete;
  UserList(UserList&&) = default;
  UserList& operator=(UserList&&) = default;
  const std::vector<User>& users() const { return users_; }
  const User* FindById(uint32_t id) const;
  const User* FindByName(std::string_view name) const;

 private:
  std::vector<User> users_;
  std::unordered_map<uint32_t, std::size_t> byId_;
  std::unordered_map<std::string_view, std::size_t> byName_;  // views into users_
};

// The users of `home` as the files are now. The list last read is kept and given again while
// the users file and J-Pilot's settings file are the same files, unchanged (device, inode,
// size, change and modification times); an empty list for an empty `home`. Thread-safe.
std::shared_ptr<const UserList> CurrentUsers(const std::string& home);
std::optional<User> FindUserById(const std::string& home, uint32_t id);
std::optional<User> FindUserByName(const std::string& home, const char* name);

// Makes the folders of `user` exist (for the J-Pilot handheld: Backup as a link to J-Pilot's
// backup folder; a real folder of that name is left alone). False on failure.
bool PrepareUserFolder(const std::string& home, const User& user);

// Adds a user called `name` at the end of the users file, with a folder named after it, and
// makes its folders. Every other byte of the file stays; the new id is above every id any line
// holds, the folder one no line names and none of the Palm Desktop folder's own entries (a name
// such as "users" or ".lock" gets a folder starting with "_"). palm::kOk and the new id;
// palm::kInvalidUserName for an unusable name; palm::kUsersFileUnreadable when the file is there
// but cannot be read whole (it is left as it is); palm::kNonspecificError when the name is taken or
// the file cannot be written, and then the folders it made are gone again.
int32_t AddUser(const std::string& home, const std::string& name, uint32_t& id);

// Reads a whole regular file of at most `limit` bytes into `text`. 0, else an errno value:
// ENOENT when it is missing, EFBIG when it is larger.
int ReadWholeFile(const std::string& path, std::string& text, std::size_t limit);
// Reads a file of at most `limit` bytes. nullopt when it is missing, unreadable or larger.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit = 1 << 20);
// Replaces `path` by `content` through a temporary file and a rename, so readers see the old or
// the new file, never a part. A replaced file keeps its permission bits; a new one follows the
// umask.
bool ReplaceFile(const std::string& path, const std::string& content);

// A write lock on `path` (created if missing), waited for up to a few seconds. The lock belongs
// to this object's open file, not to the process: it excludes other threads of ours as well as
// other programs, and closing some other descriptor of the same file does not drop it. Other
// programs see an ordinary fcntl lock.
class FileLock {
 public:
  // `readable`: the descriptor may also be read (and is opened for appending).
  explicit FileLock(const std::string& path, bool readable = false);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return held_; }
  int Descriptor() const { return fd_.get(); }

 private:
  strumlet::UniqueFd fd_;  // closing it lets go
  bool held_ = false;
};

// Queues `path` (absolute, one line) in J-Pilot's install list: appended under its lock, the
// file never rewritten; the check for the path and the append are one step under the lock, and
// a line that cannot be written whole is taken back. palm::kOk queued; palm::kAlreadyQueued
// listed already; palm::kInvalidInstallFile a path that cannot be one line;
// palm::kJPilotListNotWritten the list cannot be locked, read or written.
int32_t AppendToJPilotQueue(const std::string& jpilotHome, const std::string& path);

// Copies a NUL-terminated `text` into a caller's buffer. False (and an empty buffer, when it
// has room for the terminator) when it does not fit; `size` then says what would.
bool PutText(const std::string& text, char* buffer, int32_t* size);

}  // namespace strumlet::palmdesktop
