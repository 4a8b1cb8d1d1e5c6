// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/DynamicLibrary.h"

#include <dlfcn.h>

namespace strumlet {

bool DynamicLibrary::Load(const std::string& file) {
  Reset();
  // RTLD_LOCAL: the four Palm libraries may define the same helper names; none must bind to
  // another's.
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle_ != nullptr;
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
