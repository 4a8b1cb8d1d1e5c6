// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AssetStore.h"
#include "RenderTestSupport.h"
#include "strumlet/render/Assets.h"

extern char** environ;

namespace strumlet {
namespace {

namespace fs = std::filesystem;

struct ChildResult {
  int exitStatus = -1;
  std::string errorOutput;
};

// Runs this test executable as the drawing child, started in `startFolder`.
ChildResult RunChild(const std::string& startFolder, const std::string& outFolder) {
  ChildResult result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, startFolder.c_str());
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  const std::string self = test::SelfPath();
  char* args[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--missing-asset-child"),
                  const_cast<char*>(outFolder.c_str()), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned == 0) {
    char buffer[512];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
      result.errorOutput.append(buffer, got);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  close(pipeFds[0]);
  return result;
}

// The first two lines the child wrote on standard error (a leak-checked build may add more).
std::string FirstLine(const std::string& text) {
  const std::size_t first = text.find('\n');
  return first == std::string::npos ? text : text.substr(0, text.find('\n', first + 1) + 1);
}

// The render layer names the failed file to its caller, shows nothing and leaves the ending of
// the process to the front end (the child's own status 3).
std::string Message(const std::string& path) { return "missing: " + path + "\nmessages: 0\n"; }

void CopyAssets(const std::string& to, const std::string& except) {
  for (const char* name : kAssetFileNames) {
    if (name != except) fs::copy_file(fs::path(STRUMLET_TEST_RES_DIR) / name, fs::path(to) / name);
  }
}

TEST(MissingAsset, NamesTheBrushInTheStartDirectoryAndExits) {
  test::TempFolder start, out;
  const ChildResult r = RunChild(start.path(), out.path());
  EXPECT_EQ(r.exitStatus, 3);
  EXPECT_EQ(FirstLine(r.errorOutput), Message(start.path() + "/width3black.png"));
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST(MissingAsset, NamesTheFirstMissingGlyph) {
  test::TempFolder start, out;
  CopyAssets(start.path(), "3.png");
  const ChildResult r = RunChild(start.path(), out.path());
  EXPECT_EQ(r.exitStatus, 3);
  EXPECT_EQ(FirstLine(r.errorOutput), Message(start.path() + "/3.png"));
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST(MissingAsset, UndecodableAssetCountsAsMissing) {
  // Not a picture at all, and a picture header claiming 100000 x 100000 pixels.
  const std::string huge("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\x01\x86\xA0\0\x01\x86\xA0\x08\x03", 26);
  for (const std::string& content : {std::string("not a picture"), huge}) {
    test::TempFolder start, out;
    CopyAssets(start.path(), "0.png");
    std::ofstream(start.path() + "/0.png", std::ios::binary) << content;
    const ChildResult r = RunChild(start.path(), out.path());
    EXPECT_EQ(r.exitStatus, 3);
    EXPECT_EQ(FirstLine(r.errorOutput), Message(start.path() + "/0.png"));
    EXPECT_TRUE(fs::is_empty(out.path()));
  }
}

TEST(MissingAsset, AllAssetsInTheStartDirectoryAreEnough) {
  test::TempFolder start, out;
  CopyAssets(start.path(), "");
  const ChildResult r = RunChild(start.path(), out.path());
  EXPECT_EQ(r.exitStatus, 0) << r.errorOutput;
  EXPECT_EQ(FirstLine(r.errorOutput), "missing: \nmessages: 0\n");
  EXPECT_TRUE(fs::exists(out.path() + "/0.png"));
  EXPECT_TRUE(fs::exists(out.path() + "/7.png"));
}

TEST(Assets, GlyphsAreFourteenSquareAndTheBrushIsSmallAndBlack) {
  ASSERT_TRUE(LoadDiagramAssets());
  const DiagramAssets& assets = *GetDiagramAssets();
  ASSERT_NE(assets.brush, nullptr);
  EXPECT_LE(gdImageSX(assets.brush), 3);
  EXPECT_LE(gdImageSY(assets.brush), 3);
  EXPECT_TRUE(test::IsDark(assets.brush, 1, 1));
  for (gdImagePtr glyph : assets.glyphs) {
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(gdImageSX(glyph), 14);
    EXPECT_EQ(gdImageSY(glyph), 14);
    // Transparent corners keep the grid lines around a dot visible.
    EXPECT_EQ(gdImageGetPixel(glyph, 0, 0), gdImageGetTransparent(glyph));
    EXPECT_TRUE(test::IsDark(glyph, 1, 7));
    EXPECT_TRUE(test::IsDark(glyph, 13, 7));
  }
}

}  // namespace
}  // namespace strumlet
