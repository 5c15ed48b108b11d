#include "runtime/path.h"

#include <gtest/gtest.h>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

struct SeparatorCase {
  const char* text;
  size_t expected;
};

// "表" is B1 ED, "\x95\x5C" is a GBK character whose trail byte is 0x5C.
const SeparatorCase kSeparators[] = {
    {"a\\b", 1},
    {"a/b\\c", 3},
    {"abc", Text::npos},
    {"a\\\x95\x5C", 1},          // the trail byte 0x5C is not a backslash
    {"\x95\x5C\\x", 2},
    {"", Text::npos},
};

TEST(PathSeparators, DoubleByteAware) {
  for (const SeparatorCase& c : kSeparators) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(lastPathSeparator(c.text), c.expected);
  }
  EXPECT_EQ(lastCharacterStart("a\x95\x5C"), 1u);
  EXPECT_EQ(lastCharacterStart("a\\"), 1u);
  EXPECT_EQ(lastCharacterStart(""), 0u);
  // A lead byte at the very end stands alone.
  EXPECT_EQ(nextCharacter(Text("a\x95"), 1), 2u);
  EXPECT_STREQ(nextCharacter("\x95"), "");
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
      {"\\\\?\\C:\\a", 7}, {"\\\\srv", 5}, {"\\\\srv\\乗\\x", 9},  // 乗 is 81 5C: no separator inside
  };
  for (const Row& row : rows) EXPECT_EQ(rootPrefixLength(row.path), row.root) << row.path;
}

TEST(PathExists, ExactPathsOnly) {
  testsupport::TempFolder dir("path_exists");
  ASSERT_TRUE(testsupport::writeBytes(dir / "file.txt", "x"));
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  struct Row {
    std::string path;
    bool exists;
    DWORD error;  // the reason when nothing is there
  };
  const Row rows[] = {
      {dir / "file.txt", true, 0}, {dir / "sub", true, 0}, {dir / "sub\\", true, 0}, {"C:\\", true, 0},
      {dir / "missing", false, ERROR_FILE_NOT_FOUND}, {dir / "missing\\x", false, ERROR_PATH_NOT_FOUND},
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
