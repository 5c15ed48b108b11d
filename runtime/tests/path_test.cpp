#include "runtime/path.h"

#include <gtest/gtest.h>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

struct SeparatorCase {
  const char* text;
  size_t expected;
};

// UTF-8: no byte of "游戏" (E6 B8 B8 E6 88 8F) is a separator.
const SeparatorCase kSeparators[] = {
    {"a\\b", 1},
    {"a/b\\c", 3},
    {"abc", Text::npos},
    {"游戏\\x", 6},
    {"a\\游戏", 1},
    {"", Text::npos},
};

TEST(PathSeparators, LastSeparator) {
  for (const SeparatorCase& c : kSeparators) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(lastPathSeparator(c.text), c.expected);
  }
}

TEST(PathSeparators, TrailingBackslash) {
  struct Row {
    std::string in, out;
  };
  const Row rows[] = {{"", "\\"}, {"a", "a\\"}, {"a\\", "a\\"}, {"D:\\", "D:\\"}, {"a/", "a/\\"}, {"乗", "乗\\"},
                      {"表\\", "表\\"}};
  for (const Row& row : rows) {
    std::string text = row.in;
    ensureTrailingBackslash(text);
    EXPECT_EQ(text, row.out) << row.in;
    EXPECT_EQ(hasTrailingBackslash(row.in), row.in == row.out) << row.in;
  }
}

TEST(PathRoots, RootPrefixLength) {
  struct Row {
    const char* path;
    size_t root;
  };
  const Row rows[] = {
      {"C:\\Games\\U", 3}, {"C:\\", 3},  {"C:", 2},   {"C:x", 2},          {"\\x", 1},
      {"/x", 1},           {"x\\y", 0},  {"", 0},     {"\\\\srv\\share\\a\\b", 12},
      {"\\\\?\\C:\\a", 7}, {"\\\\srv", 5}, {"\\\\srv\\游戏\\x", 13},
  };
  for (const Row& row : rows) EXPECT_EQ(rootPrefixLength(row.path), row.root) << row.path;
}

TEST(PathExists, ExactPathsOnly) {
  testsupport::TempFolder dir("path_exists");
  ASSERT_TRUE(testsupport::writeBytes(dir / "file.txt", "x"));
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  // A name no ANSI code page holds whole: only the W functions find it.
  CreateDirectoryW(toWide(dir / "게임 🎮").c_str(), nullptr);
  struct Row {
    std::string path;
    bool exists;
    DWORD error;  // the reason when nothing is there
  };
  const Row rows[] = {
      {dir / "file.txt", true, 0}, {dir / "sub", true, 0}, {dir / "sub\\", true, 0}, {"C:\\", true, 0},
      {dir / "게임 🎮", true, 0}, {dir / "missing", false, ERROR_FILE_NOT_FOUND}, {dir / "missing\\x", false, ERROR_PATH_NOT_FOUND},
      {"", false, ERROR_INVALID_NAME},
  };
  for (const Row& row : rows) {
    DWORD error = 0;
    EXPECT_EQ(pathExists(row.path, &error), row.exists) << row.path;
    EXPECT_EQ(error, row.error) << row.path;
  }
  EXPECT_FALSE(pathExists(dir / "*.txt"));  // unlike fileExists, no wildcards
}

}  // namespace
}  // namespace runtime
