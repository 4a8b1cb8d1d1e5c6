// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssetStore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <vector>

#include "GdImage.h"
#include "strumlet/core/DataFolder.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Handles.h"
#include "strumlet/core/StartDirectory.h"
#include "strumlet/render/Assets.h"

namespace strumlet {

namespace {

// No real asset comes near this; a larger file (or an endless device) is not read further and
// then fails to decode.
constexpr std::size_t kMaxAssetBytes = 1 << 20;

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  bytes.clear();
  unsigned char buffer[4096];
  std::size_t got;
  while (bytes.size() <= kMaxAssetBytes &&
         (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  if (bytes.size() > kMaxAssetBytes) bytes.clear();
  return !std::ferror(file.get());
}

// Pictures this small are all an asset needs; a header claiming more would make the decoder
// allocate without bound, so such a file counts as one that does not decode.
constexpr uint32_t kMaxAssetSide = 1024;

bool PlausiblePng(const std::vector<unsigned char>& bytes) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 24 ||
      !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
    return false;
  }
  auto be32 = [&](std::size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | uint32_t{bytes[at + 3]};
  };
  return be32(16) <= kMaxAssetSide && be32(20) <= kMaxAssetSide;
}

// Loads one asset into `image`; otherwise a kMissing Error naming the file. A file that is found
// but does not decode is not skipped in favour of a later folder: the user should hear about the
// broken file.
Result<void> LoadAsset(const std::string& name, GdImageHandle& image) {
  std::vector<std::string> folders{StartDirectory()};
  for (const auto& folder : AssetFallbackFolders()) folders.push_back(folder);
  std::vector<unsigned char> bytes;
  for (const auto& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = JoinPath(folder, name);
    if (!ReadWholeFile(path, bytes)) continue;
    if (PlausiblePng(bytes)) {
      image.reset(gdImageCreateFromPngPtr(static_cast<int>(bytes.size()), bytes.data()));
    }
    if (image) return {};
    return Error{Error::Kind::kMissing, path, "does not decode", 0};
  }
  return Error{Error::Kind::kMissing, JoinPath(StartDirectory(), name), "not found", 0};
}

struct AssetStore {
  std::mutex mutex;
  std::atomic<bool> loaded{false};
  DiagramAssets assets;
};

AssetStore& Store() {
  // Never destroyed: diagrams on other threads may still use the images while the process ends.
  static AssetStore* store = new AssetStore;
  return *store;
}

}  // namespace

std::vector<std::string>& AssetFallbackFolders() {
  static std::vector<std::string> folders = [] {
    std::vector<std::string> found{InstalledDataFolder()};
    if (RunsFromBuildTree()) found.push_back(BuildTreeDataFolder());
    return found;
  }();
  return folders;
}

Result<void> LoadDiagramAssets() {
  AssetStore& store = Store();
  std::lock_guard lock(store.mutex);
  if (store.loaded) return {};
  // All or nothing: what loaded before a failure is freed, so a later call starts afresh.
  GdImageHandle brush;
  std::array<GdImageHandle, kGlyphCount> glyphs;
  if (Result<void> loaded = LoadAsset(kAssetFileNames[0], brush); !loaded) return loaded;
  for (int k = 0; k < kGlyphCount; ++k) {
    if (Result<void> loaded = LoadAsset(kAssetFileNames[1 + k], glyphs[k]); !loaded) {
      return loaded;
    }
  }
  store.assets.brush = brush.release();
  for (int k = 0; k < kGlyphCount; ++k) store.assets.glyphs[k] = glyphs[k].release();
  store.loaded = true;
  return {};
}

const DiagramAssets* GetDiagramAssets() {
  AssetStore& store = Store();
  if (store.loaded) return &store.assets;
  return LoadDiagramAssets() ? &store.assets : nullptr;
}

std::string MissingAssetMessage(const std::string& path) {
  return "The program will exit because it could not find a very important file: " + path;
}

}  // namespace strumlet
