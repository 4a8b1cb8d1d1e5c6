// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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
  bool Load(const std::string& file);
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
