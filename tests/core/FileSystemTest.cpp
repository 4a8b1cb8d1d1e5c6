// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TestCommon.h"

namespace strumlet {
namespace {

// Latin-1 bytes that are no UTF-8: a path must come back with exactly these.
const std::string kLatin1 = "Gitarre \xe4\xf6\xfc";

TEST(PathHelpers, NamesThatAreNoUtf8KeepTheirBytes) {
  const std::filesystem::path folder = "/out/" + kLatin1 + "/";
  EXPECT_EQ(JoinPath(folder, kLatin1 + ".pdb"), "/out/" + kLatin1 + "/" + kLatin1 + ".pdb");
  EXPECT_EQ(FileName(std::filesystem::path("/in/" + kLatin1 + ".pdb")), kLatin1 + ".pdb");
  EXPECT_EQ(WithSlash("/out/" + kLatin1), "/out/" + kLatin1 + "/");
  EXPECT_EQ(WithoutTrailingSlashes(folder), "/out/" + kLatin1);
  EXPECT_EQ(AbsolutePath(kLatin1 + "/../" + kLatin1, "/base"), "/base/" + kLatin1);
}

TEST(PathHelpers, FolderEndsAndAbsolutePaths) {
  EXPECT_EQ(WithSlash(""), "/");
  EXPECT_EQ(WithSlash("/a/"), "/a/");
  EXPECT_EQ(WithoutTrailingSlashes("///"), "/");
  EXPECT_EQ(WithoutTrailingSlashes("a//"), "a");
  EXPECT_EQ(AbsoluteFromHere("/already"), "/already");
  EXPECT_EQ(AbsoluteFromHere(""), "");
  EXPECT_EQ(AbsoluteFromHere("x/./y"),
            (std::filesystem::current_path() / "x/y").lexically_normal().native());
}

TEST(PathHelpers, MakeFoldersCreatesEveryMissingParent) {
  testing::TempFolder temp;
  const std::string deep = temp / (kLatin1 + "/a/" + kLatin1);
  EXPECT_FALSE(PathExists(deep));
  ASSERT_TRUE(MakeFolders(deep, 0700));
  EXPECT_TRUE(IsDirectory(deep));
  struct stat info {};
  ASSERT_EQ(::stat(deep.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u);
  EXPECT_TRUE(MakeFolders(deep));  // there already
  // A file in the way is no folder.
  const std::string file = temp / "file";
  {
    std::FILE* f = std::fopen(file.c_str(), "w");
    std::fclose(f);
  }
  EXPECT_TRUE(PathExists(file));
  EXPECT_FALSE(MakeFolders(file + "/below"));
  EXPECT_FALSE(MakeFolders(""));
}

}  // namespace
}  // namespace strumlet
