// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace strumlet {

// A shared library loaded at run time, released when the object goes. Entry points are looked
// up by name on every use (`Find`), so a library replaced between two calls is never called
// through a stale address.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary() { Reset(); }
  DynamicLibrary(DynamicLibrary&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads `file`: a bare file name goes through the system's library search (LD_LIBRARY_PATH,
  // then the program's RUNPATH), a name with a "/" is opened as that path. Any library held
  // before is released first. Returns whether the library is now loaded.
  bool Load(const std::filesystem::path& file);
  // Loads the library at the path `file` only when no other user can have changed it: the file
  // and every folder above it belong to us or to root, and neither the file nor a folder (but a
  // sticky one, such as /tmp) can be written by its group or others. Otherwise nothing is loaded
  // and `refusal` says which file or folder is at fault and why. False with `refusal` empty when
  // the file is missing or the loader refuses it.
  bool LoadPrivate(const std::filesystem::path& file, std::string& refusal);
  bool IsLoaded() const { return handle_ != nullptr; }
  // Releases the library, if one is held.
  void Reset();

  // The entry point `name` as a function pointer of type Fn, or nullptr when the library lacks
  // it (or none is loaded).
  template <class Fn>
  Fn Find(const char* name) const {
    return reinterpret_cast<Fn>(FindSymbol(name));
  }

 private:
  void* FindSymbol(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace strumlet
