// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "TestCommon.h"
#include "strumlet/core/AtomicFile.h"
#include "strumlet/core/Result.h"

namespace strumlet {
namespace {

Result<std::string> Named(bool ok) {
  if (!ok) return Error{Error::Kind::kMissing, "/res/0.png", "not found", ENOENT};
  return "0.png";
}

TEST(Result, AnErrorMadeOfTextsIsNeverTakenForATextValue) {
  const Result<std::string> failed = Named(false);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().kind, Error::Kind::kMissing);
  EXPECT_EQ(failed.error().path, "/res/0.png");
  EXPECT_EQ(failed.error().reason, "not found");
  EXPECT_EQ(failed.error().code, ENOENT);
  EXPECT_EQ(failed.value_or("Error"), "Error");

  const Result<std::string> named = Named(true);
  ASSERT_TRUE(named);
  EXPECT_EQ(*named, "0.png");
  EXPECT_EQ(named->size(), 5u);
  EXPECT_EQ(named.value_or("Error"), "0.png");
}

TEST(Result, SuccessIsNotTheValueItHolds) {
  // A held false, zero or empty text is still a success.
  const Result<bool> no = false;
  EXPECT_TRUE(no);
  EXPECT_FALSE(*no);
  const Result<int> zero = 0;
  EXPECT_TRUE(zero.has_value());
  const Result<std::string> empty = std::string();
  EXPECT_TRUE(empty);
}

TEST(Result, UsingTheMissingHalfThrowsInsteadOfReadingGarbage) {
  const Result<std::string> failed = Named(false);
  try {
    (void)failed.value();
    FAIL() << "no exception";
  } catch (const BadResultAccess& e) {
    EXPECT_NE(std::string(e.what()).find("/res/0.png"), std::string::npos) << e.what();
  }
  EXPECT_THROW((void)*failed, BadResultAccess);
  EXPECT_THROW((void)Named(true).error(), std::logic_error);

  const Result<void> done;
  EXPECT_TRUE(done);
  EXPECT_NO_THROW(done.value());
  EXPECT_THROW((void)done.error(), std::logic_error);
  const Result<void> undone = Error{Error::Kind::kIo, "/out", {}, EIO};
  EXPECT_FALSE(undone);
  EXPECT_THROW(undone.value(), BadResultAccess);
  EXPECT_EQ(undone.error().code, EIO);
}

TEST(Result, AValueThatCanOnlyBeMovedIsMovedOutWhole) {
  Result<std::unique_ptr<int>> held = std::make_unique<int>(7);
  std::unique_ptr<int> taken = std::move(held).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 7);
  EXPECT_EQ(*held, nullptr);  // moved from, still a value

  // A copy keeps its own value.
  Result<std::string> first = std::string("a");
  Result<std::string> second = first;
  *second += "b";
  EXPECT_EQ(*first, "a");
  EXPECT_EQ(*second, "ab");
}

TEST(WriteFileAtomically, AFailureNamesThePathAndKeepsTheErrno) {
  testing::TempFolder folder;
  const std::string path = folder / "page.html";
  ASSERT_TRUE(WriteFileAtomically(path, "old"));

  AtomicFile::Options keep;
  keep.replace = false;
  const Result<void> refused = WriteFileAtomically(path, "new", keep);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().kind, Error::Kind::kIo);
  EXPECT_EQ(refused.error().path, path);
  EXPECT_EQ(refused.error().code, EEXIST);

  const Result<void> nowhere = WriteFileAtomically(folder / "no/page.html", "new");
  ASSERT_FALSE(nowhere);
  EXPECT_EQ(nowhere.error().path, folder / "no/page.html");
  EXPECT_EQ(nowhere.error().code, ENOENT);

  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A new target is made without a look at it first; what already stands at the name is looked at
// only when that rename refuses, and a folder or a pipe there still stops the write.
TEST(WriteFileAtomically, ReplacesFilesAndLinksButNeverAFolderOrAPipe) {
  testing::TempFolder folder;
  const auto read = [](const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  ASSERT_TRUE(WriteFileAtomically(folder / "new.png", "new"));
  EXPECT_EQ(read(folder / "new.png"), "new");
  ASSERT_TRUE(WriteFileAtomically(folder / "new.png", "newer"));
  EXPECT_EQ(read(folder / "new.png"), "newer");

  ASSERT_TRUE(WriteFileAtomically(folder / "victim", "kept"));
  std::filesystem::create_symlink(folder / "victim", folder / "link.png");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.png", "own"));
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "link.png"));
  EXPECT_EQ(read(folder / "link.png"), "own");
  EXPECT_EQ(read(folder / "victim"), "kept");

  std::filesystem::create_directory(folder / "folder.png");
  const Result<void> onFolder = WriteFileAtomically(folder / "folder.png", "x");
  ASSERT_FALSE(onFolder);
  EXPECT_EQ(onFolder.error().code, EISDIR);
  ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0666), 0);
  const Result<void> onPipe = WriteFileAtomically(folder / "pipe.png", "x");
  ASSERT_FALSE(onPipe);
  EXPECT_EQ(onPipe.error().code, EEXIST);
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe.png"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.png"));
  // No temporary file is left behind by the refused writes.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 5);
}

}  // namespace
}  // namespace strumlet
