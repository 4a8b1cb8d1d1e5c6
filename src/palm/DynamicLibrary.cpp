// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/DynamicLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace strumlet {
namespace {

bool OursOrRoots(const struct stat& st) { return st.st_uid == 0 || st.st_uid == ::geteuid(); }

// Why another user could put other code at `path` (a path without links), or empty when nobody
// but us and root can.
std::string WhyOthersCouldChange(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return path + " cannot be examined";
  if (!S_ISREG(st.st_mode)) return {};  // the loader refuses it
  if (!OursOrRoots(st)) return path + " belongs to another user";
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "other users can write to " + path;
  // Whoever may rename or replace an entry of a folder above it may swap the file too.
  for (std::string folder = path; folder.size() > 1;) {
    const std::size_t slash = folder.find_last_of('/');
    folder.erase(slash == 0 ? 1 : slash);
    if (::stat(folder.c_str(), &st) != 0) return folder + " cannot be examined";
    if (!OursOrRoots(st)) return "the folder " + folder + " belongs to another user";
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) {
      return "other users can write to the folder " + folder;
    }
  }
  return {};
}

}  // namespace

bool DynamicLibrary::Load(const std::filesystem::path& file) {
  Reset();
  // RTLD_LOCAL: the four Palm libraries may define the same helper names; none must bind to
  // another's.
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle_ != nullptr;
}

bool DynamicLibrary::LoadPrivate(const std::filesystem::path& file, std::string& refusal) {
  Reset();
  refusal.clear();
  // The file the loader would open, with every link resolved: a link is no safer than where it
  // leads.
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(file.c_str(), nullptr),
                                                         &std::free);
  if (!real) return false;
  if (std::string why = WhyOthersCouldChange(real.get()); !why.empty()) {
    refusal = file.native() + " was not loaded: " + why +
              ". Only a library that nobody but you and root can change is loaded, since it runs "
              "as you: let only yourself write to it and its folders (chmod go-w), then try "
              "again.";
    return false;
  }
  return Load(real.get());
}

void DynamicLibrary::Reset() {
  if (handle_) {
    dlclose(handle_);
    handle_ = nullptr;
  }
}

void* DynamicLibrary::FindSymbol(const char* name) const {
  if (!handle_) return nullptr;
  return dlsym(handle_, name);
}

}  // namespace strumlet
