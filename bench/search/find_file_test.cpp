// The listing step of the two-listing walk: its attribute filter and its search slot.
#include "bench/search/find_file.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/tests/test_support.h"

namespace searchbench {
namespace {

using testsupport::TempFolder;

std::set<std::string> enumerate(const std::string& pattern, int32_t mask, bool maskOmitted) {
  std::set<std::string> names;
  SearchHandle search;
  for (runtime::Text entry = findFile(pattern, mask, maskOmitted, search); !entry.empty();
       entry = findFile("", mask, maskOmitted, search)) {
    names.insert(entry);
  }
  EXPECT_FALSE(search);  // a finished search is closed and its slot empty
  return names;
}

TEST(FindFile, AttributeFilters) {
  TempFolder dir("find");
  ASSERT_TRUE(testsupport::writeBytes(dir / "a.txt", "x"));
  ASSERT_TRUE(testsupport::writeBytes(dir / "hidden.txt", "x"));
  SetFileAttributesA((dir / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  CreateDirectoryA((dir / "Unturned.exe").c_str(), nullptr);  // a folder with a file's name

  const std::string all = dir / "*.*";
  EXPECT_EQ(enumerate(all, 0, true), (std::set<std::string>{"a.txt", "hidden.txt"}));
  EXPECT_EQ(enumerate(all, 0x10, false), (std::set<std::string>{".", "..", "sub", "Unturned.exe"}));
  EXPECT_EQ(enumerate(all, 0x02, false), (std::set<std::string>{"hidden.txt"}));
  EXPECT_EQ(enumerate(all, 0x10 | 0x80, false), enumerate(all, 0x10, false));  // mask reduced to 0x37
  EXPECT_EQ(enumerate(dir / "Unturned.exe", 0, true), std::set<std::string>{});
  EXPECT_EQ(enumerate(dir / "nothing*", 0x10, false), std::set<std::string>{});
}

TEST(FindFile, NewPatternClosesTheOpenSearch) {
  TempFolder dir("find_restart");
  ASSERT_TRUE(testsupport::writeBytes(dir / "one", "x"));
  ASSERT_TRUE(testsupport::writeBytes(dir / "two", "x"));
  SearchHandle search;
  const runtime::Text first = findFile(dir / "*", 0, true, search);
  ASSERT_FALSE(first.empty());
  const runtime::Text again = findFile(dir / "two", 0, true, search);
  EXPECT_EQ(again, "two");
  EXPECT_TRUE(search);
  // Continuing now continues the new search, which has no second match.
  EXPECT_EQ(findFile("", 0, true, search), "");
  EXPECT_FALSE(search);
  EXPECT_EQ(findFile("", 0, true, search), "");  // no open search: nothing
  closeFind(search);                              // closing an empty slot does nothing
}

}  // namespace
}  // namespace searchbench
