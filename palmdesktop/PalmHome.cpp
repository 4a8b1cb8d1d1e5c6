// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PalmHome.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/FileCopy.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/palm/PalmEntryPoints.h"

namespace strumlet::palmdesktop {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// New users get ids below this, far from the J-Pilot handheld's.
constexpr uint32_t kUserIdCeiling = 0x40000000;

// A folder name for a new user: the name with every character a folder name should not hold
// replaced by "_", made unique with a number.
std::string FolderFor(const std::string& name, const std::unordered_set<std::string>& taken) {
  std::string base;
  for (unsigned char c : name) base += (c < 0x20 || c == '/' || c == '\\' || c == 0x7F) ? '_' : c;
  // The Palm Desktop folder's own entries are no user's, and a leading dot (".lock", our writers'
  // temporary files) would hide the folder.
  if (base.front() == '.' || !IsValidUserFolder(base) || base == kJPilotFolder) base = "_" + base;
  if (base.size() > kMaxUserFolder - 4) base.resize(kMaxUserFolder - 4);
  std::string folder = base;
  for (int n = 2; taken.count(folder); ++n) folder = base + "-" + std::to_string(n);
  return folder;
}

// Which file a path names and when it last changed. While all of it stays the same, so does
// the file: our writers replace a file by renaming a new one over it (a new inode), and a write
// in place changes the change time.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  mode_t mode = 0;
  timespec modified{};
  timespec changed{};

  static FileStamp Of(const struct stat& st) {
    return FileStamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mode, st.st_mtim, st.st_ctim};
  }
  static FileStamp OfPath(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 ? Of(st) : FileStamp{};
  }
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && mode == other.mode && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
  }
};

// Reads the whole regular file open at `fd` from its start. 0, or an errno value (EFBIG past
// `limit`). `stamp`, when given, gets the stamp of the file read.
int ReadOpenFile(int fd, std::string& text, std::size_t limit, FileStamp* stamp = nullptr) {
  text.clear();
  struct stat st {};
  if (fstat(fd, &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  if (static_cast<std::size_t>(st.st_size) > limit) return EFBIG;
  text.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    if (text.size() + static_cast<std::size_t>(got) > limit) return EFBIG;
    text.append(buffer, static_cast<std::size_t>(got));
    at += got;
  }
  if (stamp) *stamp = FileStamp::Of(st);
  return 0;
}

int ReadStampedFile(const std::string& path, std::string& text, std::size_t limit,
                    FileStamp& stamp) {
  text.clear();
  strumlet::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return errno;
  return ReadOpenFile(fd.get(), text, limit, &stamp);
}

// The users a users file holds, then the J-Pilot handheld that `settings` (its jpilot.rc, when
// there is one) names, unless a user of the file has its name, id or folder.
std::vector<User> UsersFrom(std::string_view usersText,
                            const std::optional<std::string>& settings) {
  std::vector<User> users;
  for (auto& entry : ParseUsersFile(usersText)) {
    users.push_back(User{entry.id, std::move(entry.folder), std::move(entry.name), false});
  }
  if (!settings) return users;
  auto name = ParseJPilotUser(*settings);
  if (!name) return users;
  for (const auto& user : users) {
    if (user.name == *name || user.id == kJPilotUserId || user.folder == kJPilotFolder) {
      return users;
    }
  }
  users.push_back(User{kJPilotUserId, kJPilotFolder, std::move(*name), true});
  return users;
}

// The list last read, and what it was read from.
struct UsersCache {
  std::mutex mutex;
  std::string home;
  std::string jpilot;
  FileStamp users;
  FileStamp settings;
  std::shared_ptr<const UserList> list;
};

UsersCache& Cache() {
  static UsersCache cache;
  return cache;
}

}  // namespace

std::string PalmHome() {
  std::string home = Environment("STRUMLET_PALM_HOME");
  if (home.empty()) {
    std::string data = Environment("XDG_DATA_HOME");
    if (data.empty() || data.front() != '/') {
      const std::string user = Environment("HOME");
      if (user.empty()) return "";
      data = user + "/.local/share";
    }
    home = data + "/strumletviewer/palm";
  }
  // Named from the root: the paths we hand out (the root, the core folder, J-Pilot's install
  // list, the Backup link's target) must lead to the same place whatever folder a reader
  // starts from.
  home = WithoutTrailingSlashes(AbsoluteFromHere(home));
  if (!MakeFolders(home)) return "";
  return home;
}

std::string JPilotHome() {
  std::string base = Environment("JPILOT_HOME");
  if (base.empty()) base = Environment("HOME");
  base = AbsoluteFromHere(base);
  if (base.empty()) return "";
  const std::string folder = WithoutTrailingSlashes(base).native() + "/.jpilot";
  return IsDirectory(folder) ? folder : "";
}

UserList::UserList(std::vector<User> users) : users_(std::move(users)) {
  byId_.reserve(users_.size());
  byName_.reserve(users_.size());
  for (std::size_t i = 0; i < users_.size(); ++i) {
    byId_.emplace(users_[i].id, i);
    byName_.emplace(users_[i].name, i);
  }
}

const User* UserList::FindById(uint32_t id) const {
  const auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : &users_[found->second];
}

const User* UserList::FindByName(std::string_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : &users_[found->second];
}

std::shared_ptr<const UserList> CurrentUsers(const std::string& home) {
  if (home.empty()) return std::make_shared<const UserList>();
  const std::string usersPath = home + "/users";
  const std::string jpilot = JPilotHome();
  const std::string settingsPath = jpilot.empty() ? std::string() : jpilot + "/jpilot.rc";
  FileStamp usersStamp = FileStamp::OfPath(usersPath);
  FileStamp settingsStamp = FileStamp::OfPath(settingsPath);
  UsersCache& cache = Cache();
  {
    const std::lock_guard<std::mutex> hold(cache.mutex);
    if (cache.list && cache.home == home && cache.jpilot == jpilot && cache.users == usersStamp &&
        cache.settings == settingsStamp) {
      return cache.list;
    }
  }
  // The stamps of what was read, not of what was looked at before: a file replaced in between
  // is then read again on the next call.
  std::string usersText;
  if (ReadStampedFile(usersPath, usersText, kMaxUsersFileSize, usersStamp) != 0) usersText.clear();
  std::optional<std::string> settings;
  if (!settingsPath.empty()) {
    std::string text;
    if (ReadStampedFile(settingsPath, text, 1 << 20, settingsStamp) == 0) {
      settings = std::move(text);
    }
  }
  auto list = std::make_shared<const UserList>(UsersFrom(usersText, settings));
  const std::lock_guard<std::mutex> hold(cache.mutex);
  cache.home = home;
  cache.jpilot = jpilot;
  cache.users = usersStamp;
  cache.settings = settingsStamp;
  cache.list = list;
  return list;
}

std::optional<User> FindUserById(const std::string& home, uint32_t id) {
  const auto users = CurrentUsers(home);
  if (const User* user = users->FindById(id)) return *user;
  return std::nullopt;
}

std::optional<User> FindUserByName(const std::string& home, const char* name) {
  if (!name) return std::nullopt;
  const auto users = CurrentUsers(home);
  if (const User* user = users->FindByName(name)) return *user;
  return std::nullopt;
}

bool PrepareUserFolder(const std::string& home, const User& user) {
  const std::string folder = home + "/" + user.folder;
  if (!MakeFolders(folder + "/Install")) return false;
  const std::string backup = folder + "/Backup";
  if (!user.jpilot) return MakeFolders(backup);
  const std::string jpilot = JPilotHome();
  if (jpilot.empty()) return false;
  const std::string target = jpilot + "/backup";
  struct stat st {};
  if (lstat(backup.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) return true;  // a folder of the user's own: theirs to keep
    char buffer[4096];
    const ssize_t got = readlink(backup.c_str(), buffer, sizeof buffer);
    if (got >= 0 && std::string(buffer, static_cast<std::size_t>(got)) == target) return true;
  }
  // A new or outdated link of ours: made beside it and renamed over it.
  std::string temp = folder + "/.Backup-link-" + std::to_string(getpid());
  unlink(temp.c_str());
  if (symlink(target.c_str(), temp.c_str()) != 0) return false;
  if (rename(temp.c_str(), backup.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

int32_t AddUser(const std::string& home, const std::string& name, uint32_t& id) {
  if (!IsValidUserName(name)) return palm::kInvalidUserName;
  if (home.empty()) return palm::kNonspecificError;
  FileLock lock(home + "/.lock");
  if (!lock.Held()) return palm::kNonspecificError;
  // The file is changed only when it was read whole: lines we could not see would be lost.
  const std::string file = home + "/users";
  std::string text;
  if (const int error = ReadWholeFile(file, text, kMaxUsersFileSize); error == ENOENT) {
    text = FormatUsersFile({});
  } else if (error != 0) {
    return strumlet::palm::kUsersFileUnreadable;
  }
  std::optional<std::string> settings;
  if (const std::string jpilot = JPilotHome(); !jpilot.empty()) {
    settings = ReadSmallFile(jpilot + "/jpilot.rc");
  }
  std::unordered_set<std::string> folders;
  for (const auto& user : UsersFrom(text, settings)) {
    if (user.name == name) return palm::kNonspecificError;
    folders.insert(user.folder);
  }
  // Ids and folders of skipped lines count too, so mending such a line never makes a clash.
  const UsersFileClaims claims = ScanUsersFile(text);
  uint32_t next = 1;
  for (const uint32_t claimed : claims.ids) {
    if (claimed >= next && claimed < kUserIdCeiling) next = claimed + 1;
  }
  if (next >= kUserIdCeiling) return palm::kNonspecificError;
  folders.insert(claims.folders.begin(), claims.folders.end());
  const User user{next, FolderFor(name, folders), name, false};
  const std::string folder = home + "/" + user.folder;
  const bool folderExisted = access(folder.c_str(), F_OK) == 0;
  if (!PrepareUserFolder(home, user) ||
      !ReplaceFile(file, AppendUserLine(text, UserEntry{user.id, user.folder, user.name}))) {
    // A user that was not added leaves no folders behind; only empty ones we made go.
    if (!folderExisted) {
      rmdir((folder + "/Install").c_str());
      rmdir((folder + "/Backup").c_str());
      rmdir(folder.c_str());
    }
    return palm::kNonspecificError;
  }
  id = user.id;
  return palm::kOk;
}

int ReadWholeFile(const std::string& path, std::string& text, std::size_t limit) {
  text.clear();
  strumlet::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return errno;
  return ReadOpenFile(fd.get(), text, limit);
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) {
  std::string text;
  if (ReadWholeFile(path, text, limit) != 0) return std::nullopt;
  return text;
}

bool ReplaceFile(const std::string& path, const std::string& content) {
  // A new file follows the umask, as every file a program makes should: a user who keeps
  // their files to themselves keeps the users file and the conduit registry too.
  strumlet::AtomicFile::Options options;
  options.keepMode = true;
  return strumlet::WriteFileAtomically(path, content, options).has_value();
}

FileLock::FileLock(const std::string& path, bool readable)
    : fd_(open(path.c_str(),
               (readable ? O_RDWR | O_APPEND : O_WRONLY) | O_CREAT | O_CLOEXEC | O_NONBLOCK,
               0644)) {
  if (!fd_) return;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;  // the whole file; l_pid stays 0, as open-file locks want
  int command = F_OFD_SETLK;
  // A holder that never lets go (a hung program) must not hang ours: give up after a while.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (fcntl(fd_.get(), command, &lock) == 0) {
      held_ = true;
      return;
    }
    if (errno == EINVAL && command == F_OFD_SETLK) {
      command = F_SETLK;  // a kernel without open-file locks
      continue;
    }
    if (errno != EACCES && errno != EAGAIN && errno != EINTR) return;
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

int32_t AppendToJPilotQueue(const std::string& jpilotHome, const std::string& path) {
  if (path.empty() || path.front() != '/' || path.find_first_of("\r\n") != std::string::npos) {
    return palm::kInvalidInstallFile;
  }
  // Read through the locked descriptor itself: the check and the append are one step.
  FileLock lock(jpilotHome + "/jpilot.install", /*readable=*/true);
  if (!lock.Held()) return strumlet::palm::kJPilotListNotWritten;
  std::string listed;
  if (ReadOpenFile(lock.Descriptor(), listed, kMaxJPilotListSize) != 0) {
    return strumlet::palm::kJPilotListNotWritten;
  }
  std::string line = path + "\n";
  if (("\n" + listed + "\n").find("\n" + line) != std::string::npos) return palm::kAlreadyQueued;
  // A list whose last line lacks its line feed gets one first, so the two paths stay apart.
  if (!listed.empty() && listed.back() != '\n') line = "\n" + line;
  if (WriteAll(lock.Descriptor(), line.data(), line.size())) return palm::kOk;
  // Half a line would run into the next path queued: take back whatever got in.
  if (ftruncate(lock.Descriptor(), static_cast<off_t>(listed.size())) != 0) {
    // Nothing more to try; the failure is reported either way.
  }
  return strumlet::palm::kJPilotListNotWritten;
}

bool PutText(const std::string& text, char* buffer, int32_t* size) {
  if (!buffer || !size || *size <= 0) return false;
  if (text.size() + 1 > static_cast<std::size_t>(*size)) {
    buffer[0] = '\0';
    *size = static_cast<int32_t>(text.size() + 1);
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace strumlet::palmdesktop
