#include "PalmHome.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "pdb/AtomicFile.h"
#include "pdb/FileCopy.h"

namespace strumlet::palmdesktop {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A folder named relative to the current directory, named from the root instead: the paths we
// hand out (the root, the core folder, J-Pilot's install list, the Backup link's target) must
// lead to the same place whatever folder a reader starts from.
std::string Absolute(std::string path) {
  if (path.empty() || path.front() == '/') return path;
  char buffer[4096];
  if (!getcwd(buffer, sizeof buffer)) return "";
  std::string folder = buffer;
  if (folder.back() != '/') folder += '/';
  return folder + path;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder name for a new user: the name with every character a folder name should not hold
// replaced by "_", made unique with a number.
std::string FolderFor(const std::string& name, const std::vector<User>& users) {
  std::string base;
  for (unsigned char c : name) base += (c < 0x20 || c == '/' || c == '\\' || c == 0x7F) ? '_' : c;
  if (base == "." || base == ".." || base == "core" || base == kJPilotFolder) base = "_" + base;
  if (base.size() > kMaxUserFolder - 4) base.resize(kMaxUserFolder - 4);
  std::string folder = base;
  for (int n = 2;; ++n) {
    bool taken = false;
    for (const auto& user : users) taken = taken || user.folder == folder;
    if (!taken) return folder;
    folder = base + "-" + std::to_string(n);
  }
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
  home = WithoutTrailingSlashes(Absolute(home));
  if (!MakeFolders(home)) return "";
  return home;
}

std::string JPilotHome() {
  std::string base = Environment("JPILOT_HOME");
  if (base.empty()) base = Environment("HOME");
  base = Absolute(base);
  if (base.empty()) return "";
  const std::string folder = WithoutTrailingSlashes(base) + "/.jpilot";
  return IsDirectory(folder) ? folder : "";
}

std::vector<User> LoadUsers(const std::string& home) {
  std::vector<User> users;
  if (home.empty()) return users;
  if (const auto text = ReadSmallFile(home + "/users")) {
    for (auto& entry : ParseUsersFile(*text)) {
      users.push_back(User{entry.id, std::move(entry.folder), std::move(entry.name), false});
    }
  }
  const std::string jpilot = JPilotHome();
  if (jpilot.empty()) return users;
  const auto settings = ReadSmallFile(jpilot + "/jpilot.rc");
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

std::optional<User> FindUserById(const std::string& home, uint32_t id) {
  for (auto& user : LoadUsers(home)) {
    if (user.id == id) return std::move(user);
  }
  return std::nullopt;
}

std::optional<User> FindUserByName(const std::string& home, const char* name) {
  if (!name) return std::nullopt;
  for (auto& user : LoadUsers(home)) {
    if (user.name == name) return std::move(user);
  }
  return std::nullopt;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return IsDirectory(path);
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
  if (!IsValidUserName(name)) return -505;
  if (home.empty()) return -1;
  FileLock lock(home + "/.lock");
  if (!lock.Held()) return -1;
  std::vector<UserEntry> entries;
  if (const auto text = ReadSmallFile(home + "/users")) entries = ParseUsersFile(*text);
  const std::vector<User> users = LoadUsers(home);
  uint32_t next = 1;
  for (const auto& user : users) {
    if (user.name == name) return -1;
    if (user.id >= next && user.id < 0x40000000) next = user.id + 1;
  }
  const User user{next, FolderFor(name, users), name, false};
  entries.push_back(UserEntry{user.id, user.folder, user.name});
  if (!PrepareUserFolder(home, user)) return -1;
  if (!ReplaceFile(home + "/users", FormatUsersFile(entries))) return -1;
  id = user.id;
  return 0;
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || text.size() + static_cast<std::size_t>(got) > limit) {
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return text;
}

bool ReplaceFile(const std::string& path, const std::string& content) {
  strumlet::AtomicFile::Options options;
  options.mode = 0644;
  options.exactMode = true;
  return strumlet::WriteFileAtomically(path, content, options) == 0;
}

FileLock::FileLock(const std::string& path, bool append) {
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0),
             0644);
  if (fd_ < 0) return;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  // A holder that never lets go (a hung program) must not hang ours: give up after a while.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (fcntl(fd_, F_SETLK, &lock) == 0) {
      held_ = true;
      return;
    }
    if (errno != EACCES && errno != EAGAIN && errno != EINTR) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

int32_t AppendToJPilotQueue(const std::string& jpilotHome, const std::string& path) {
  if (path.empty() || path.front() != '/' || path.find_first_of("\r\n") != std::string::npos) {
    return -513;
  }
  const std::string queue = jpilotHome + "/jpilot.install";
  FileLock lock(queue, true);
  if (!lock.Held()) return -504;
  const auto listed = ReadSmallFile(queue, 16 << 20);
  if (!listed) return -504;
  std::string line = path + "\n";
  if (("\n" + *listed + "\n").find("\n" + line) != std::string::npos) return -512;
  // A list whose last line lacks its line feed gets one first, so the two paths stay apart.
  if (!listed->empty() && listed->back() != '\n') line = "\n" + line;
  return WriteAll(lock.Descriptor(), line.data(), line.size()) ? 0 : -504;
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
