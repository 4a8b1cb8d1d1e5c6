#pragma once

// The state of our Palm Desktop libraries: the Palm Desktop folder and, when the user has one,
// J-Pilot's folder. Every library reads it afresh on each call, so changes made by another
// program (or another of our libraries) are seen at once.
//
// Palm Desktop folder: $STRUMLET_PALM_HOME, else $XDG_DATA_HOME/strumletviewer/palm, else
// ~/.local/share/strumletviewer/palm. Inside it:
//   users            the users file (see PalmDesktopFiles.h)
//   FOLDER/Backup/   a user's backup databases; FOLDER/Install/ the files queued for the user
//   core/            the core folder; core/conduits the conduit registry
//   J-Pilot/         the J-Pilot handheld's folder: Backup is a link to J-Pilot's backup folder
//   .lock            taken (fcntl) while the users file or the registry is rewritten
// J-Pilot folder: $JPILOT_HOME/.jpilot, else ~/.jpilot, when it exists and its jpilot.rc names
// the handheld's user.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "PalmDesktopFiles.h"

namespace strumlet::palmdesktop {

// The J-Pilot handheld's folder name inside the Palm Desktop folder.
inline constexpr const char* kJPilotFolder = "J-Pilot";
// Its user id: "JPLT".
inline constexpr uint32_t kJPilotUserId = 0x4A504C54;

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
// its name, id or folder).
std::vector<User> LoadUsers(const std::string& home);
std::optional<User> FindUserById(const std::string& home, uint32_t id);
std::optional<User> FindUserByName(const std::string& home, const char* name);

// Makes the folders of `user` exist (for the J-Pilot handheld: Backup as a link to J-Pilot's
// backup folder; a real folder of that name is left alone). False on failure.
bool PrepareUserFolder(const std::string& home, const User& user);

// Adds a user called `name` to the users file, with a folder named after it, and makes its
// folders. 0 and the new id; -505 for an unusable name; -1 when the name is taken or the file
// cannot be written.
int32_t AddUser(const std::string& home, const std::string& name, uint32_t& id);

// Reads a file of at most `limit` bytes. nullopt when it is missing, unreadable or larger.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit = 1 << 20);
// Replaces `path` by `content` through a temporary file and a rename, so readers see the old or
// the new file, never a part.
bool ReplaceFile(const std::string& path, const std::string& content);
bool MakeFolders(const std::string& path);

// An fcntl write lock on `path` (created if missing), waited for up to a few seconds.
class FileLock {
 public:
  explicit FileLock(const std::string& path, bool append = false);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return held_; }
  int Descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// Queues `path` (absolute, one line) in J-Pilot's install list: appended under its lock, the
// file never rewritten. 0 queued; -512 listed already; -513 a path that cannot be one line;
// -504 the list cannot be locked or written.
int32_t AppendToJPilotQueue(const std::string& jpilotHome, const std::string& path);

// Copies a NUL-terminated `text` into a caller's buffer. False (and an empty buffer, when it
// has room for the terminator) when it does not fit; `size` then says what would.
bool PutText(const std::string& text, char* buffer, int32_t* size);

}  // namespace strumlet::palmdesktop
