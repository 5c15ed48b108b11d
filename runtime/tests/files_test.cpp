#include "runtime/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

using testsupport::TempFolder;

ByteView viewOf(const std::string& s) {
  return ByteView{reinterpret_cast<const uint8_t*>(s.data()), static_cast<int32_t>(s.size())};
}

TEST(WriteFile, WritesPartsInOrder) {
  TempFolder dir("write_parts");
  const std::string a = "PK\x03\x04", b = "", c = "tail";
  ASSERT_TRUE(writeFile(dir / "a.bin", {viewOf(a), viewOf(b), viewOf(c)}));
  EXPECT_EQ(testsupport::readFileOr(dir / "a.bin", "?"), "PK\x03\x04tail");
}

TEST(WriteFile, ReplacesAnExistingFile) {
  TempFolder dir("write_replace");
  ASSERT_TRUE(testsupport::writeBytes(dir / "f", std::string(1000, 'x')));
  ASSERT_TRUE(writeFile(dir / "f", {viewOf("new")}));
  EXPECT_EQ(testsupport::readFileOr(dir / "f", "?"), "new");
}

TEST(WriteFile, OnlyEmptyByteSetsGiveAZeroByteFile) {
  TempFolder dir("write_empty");
  ASSERT_TRUE(testsupport::writeBytes(dir / "f", "old contents"));
  EXPECT_TRUE(writeFile(dir / "f", {ByteView{}, viewOf("")}));
  EXPECT_EQ(testsupport::readFileOr(dir / "f", "?"), "");
  EXPECT_TRUE(writeFile(dir / "g", {ByteView{}}));
  EXPECT_EQ(testsupport::readFileOr(dir / "g", "?"), "");
}

TEST(WriteFile, MissingFolderFailsAndCreatesNothing) {
  TempFolder dir("write_missing");
  DWORD error = 0;
  EXPECT_FALSE(writeFile(dir / "no\\such\\file.zip", {viewOf("x")}, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(testsupport::listFolder(dir.path()).empty());
  EXPECT_FALSE(writeFile("", {viewOf("x")}));
}

TEST(WriteFile, ReadOnlyFileFailsAndStaysUnchanged) {
  TempFolder dir("write_readonly");
  ASSERT_TRUE(testsupport::writeBytes(dir / "ro", "keep"));
  ASSERT_TRUE(SetFileAttributesA((dir / "ro").c_str(), FILE_ATTRIBUTE_READONLY));
  DWORD error = 0;
  EXPECT_FALSE(writeFile(dir / "ro", {viewOf("overwrite")}, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(testsupport::readFileOr(dir / "ro", "?"), "keep");
}

TEST(WriteFile, FileHeldOpenElsewhereFails) {
  TempFolder dir("write_held");
  ASSERT_TRUE(testsupport::writeBytes(dir / "held", "keep"));
  FileHandle held = openExisting((dir / "held").c_str(), GENERIC_READ, 0);
  ASSERT_TRUE(held);
  DWORD error = 0;
  EXPECT_FALSE(writeFile(dir / "held", {viewOf("x")}, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  held.reset();
  EXPECT_EQ(testsupport::readFileOr(dir / "held", "?"), "keep");
}

TEST(FileExists, Table) {
  TempFolder dir("exists");
  ASSERT_TRUE(testsupport::writeBytes(dir / "file.txt", "x"));
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  ASSERT_TRUE(createAlways(dir / "게임.txt", GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL));
  struct Case {
    std::string path;
    bool exists;
  } cases[] = {
      {dir / "file.txt", true},
      {dir / "FILE.TXT", true},       // the system's matching ignores case
      {dir / "sub", true},            // a folder counts
      {dir / "게임.txt", true},       // a name outside the ANSI code page
      {dir / "*.txt", true},          // wildcards match
      {dir / "*.zip", false},
      {dir / "missing", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(fileExists(c.path), c.exists);
  }
}

TEST(FileDeletion, Table) {
  TempFolder dir("delete");
  ASSERT_TRUE(testsupport::writeBytes(dir / "plain", "x"));
  ASSERT_TRUE(testsupport::writeBytes(dir / "ro", "x"));
  SetFileAttributesA((dir / "ro").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  EXPECT_TRUE(deleteFile(dir / "plain"));
  EXPECT_FALSE(fileExists(dir / "plain"));
  EXPECT_FALSE(deleteFile(dir / "plain"));  // already gone
  EXPECT_FALSE(deleteFile(dir / "ro"));
  EXPECT_TRUE(fileExists(dir / "ro"));
  EXPECT_FALSE(deleteFile(dir / "sub"));
  ASSERT_TRUE(createAlways(dir / "게임", GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(deleteFile(dir / "게임"));
  EXPECT_FALSE(fileExists(dir / "게임"));
}

TEST(Handles, RejectNullAndInvalid) {
  EXPECT_FALSE(FileHandle(nullptr));
  EXPECT_FALSE(FileHandle(INVALID_HANDLE_VALUE));
  FileHandle missing = openExisting("C:\\no\\such\\file", GENERIC_READ, 0);
  EXPECT_FALSE(missing);
  EXPECT_TRUE(missing.reset());  // nothing to close
}

}  // namespace
}  // namespace runtime
