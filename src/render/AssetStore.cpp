#include "render/AssetStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "pdb/DataFolder.h"
#include "pdb/Messenger.h"
#include "pdb/StartDirectory.h"

namespace strumlet {
namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// No real asset comes near this; a larger file (or an endless device) is not read further and
// then fails to decode.
constexpr std::size_t kMaxAssetBytes = 1 << 20;

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.clear();
  unsigned char buffer[4096];
  std::size_t got;
  while (bytes.size() <= kMaxAssetBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  if (bytes.size() > kMaxAssetBytes) bytes.clear();
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
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

[[noreturn]] void FailOnAsset(const std::string& path) {
  ShowMessage("Error",
              "The program will exit because it could not find a very important file: " + path,
              MessageIcon::Information);
  std::exit(1);
}

// Loads one asset, or ends the process. A file that is found but does not decode is not
// skipped in favour of a later folder: the user should hear about the broken file.
gdImagePtr LoadAsset(const std::string& name) {
  std::vector<std::string> folders{StartDirectory()};
  for (const auto& folder : AssetFallbackFolders()) folders.push_back(folder);
  std::vector<unsigned char> bytes;
  for (const auto& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = JoinPath(folder, name);
    if (!ReadWholeFile(path, bytes)) continue;
    gdImagePtr image = PlausiblePng(bytes)
                           ? gdImageCreateFromPngPtr(static_cast<int>(bytes.size()), bytes.data())
                           : nullptr;
    if (!image) FailOnAsset(path);
    return image;
  }
  FailOnAsset(JoinPath(StartDirectory(), name));
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

const DiagramAssets& GetDiagramAssets() {
  static DiagramAssets assets;
  static std::once_flag once;
  std::call_once(once, [] {
    DiagramAssets loaded;
    loaded.brush = LoadAsset(kAssetFileNames[0]);
    for (int k = 0; k < kGlyphCount; ++k) loaded.glyphs[k] = LoadAsset(kAssetFileNames[1 + k]);
    assets = loaded;
  });
  return assets;
}

}  // namespace strumlet
