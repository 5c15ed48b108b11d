// Archives made by third-party tools and the catalogue archives, unpacked and compared byte
// for byte with the trees that the host-side script wrote with an independent reader.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "unzip/entry_times.h"
#include "unzip/tests/test_support.h"
#include "unzip/unzip_component.h"

namespace {

using unziptest::Bytes;

std::vector<std::vector<std::string>> readRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  Bytes text;
  if (!unziptest::readFile(path, text)) return rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    std::vector<std::string> row;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, '\t')) row.push_back(cell);
    rows.push_back(row);
  }
  return rows;
}

std::string fixtures() { return unziptest::programFolder() + "fixtures\\"; }

void expectSameTree(const std::string& expected, const std::string& actual, const std::string& what) {
  EXPECT_EQ(unziptest::listTree(actual), unziptest::listTree(expected)) << what;
  const auto want = unziptest::readTree(expected);
  const auto got = unziptest::readTree(actual);
  for (const auto& file : want) {
    const auto found = got.find(file.first);
    ASSERT_NE(found, got.end()) << what << ": " << file.first;
    EXPECT_TRUE(found->second == file.second) << what << ": " << file.first << " differs";
  }
}

TEST(ToolArchives, EveryToolsArchiveUnpacksToTheSourceTree) {
  const auto rows = readRows(fixtures() + "tools\\list.txt");
  ASSERT_GE(rows.size(), 6u);
  const auto times = readRows(fixtures() + "source-times.txt");
  ASSERT_EQ(times.size(), 6u);
  for (const auto& row : rows) {
    const std::string name = row[0];
    const std::string target = unziptest::freshFolder("tools") + "\\" + name.substr(0, name.size() - 4);
    unziptest::FakeOwner owner;
    ASSERT_EQ(unzip::unzipArchive(&owner, (fixtures() + "tools\\" + name).c_str(), target.c_str()), 1) << name;
    EXPECT_EQ(owner.percents.back(), 100) << name;
    expectSameTree(fixtures() + "source", target, name);
    for (const auto& time : times) {
      std::string relative = time[0];
      for (char& c : relative) c = c == '/' ? '\\' : c;
      EXPECT_TRUE(unziptest::hasNormalAttributes(target + "\\" + relative)) << name << ": " << relative;
      // Info-ZIP and bsdtar store the modification time in a "UT" block: it must arrive exactly.
      if (name.compare(0, 7, "infozip") == 0 || name == "bsdtar.zip") {
        FILETIME creation, access, write;
        ASSERT_TRUE(unziptest::timesOf(target + "\\" + relative, creation, access, write));
        EXPECT_EQ(unziptest::ticks(write),
                  unziptest::ticks(unzip::unixTimeToFileTime(static_cast<uint32_t>(std::stoul(time[1])))))
            << name << ": " << relative;
      }
    }
  }
}

TEST(CatalogueArchives, EachUnpacksCompletelyAndByteForByte) {
  const auto rows = readRows(fixtures() + "payload\\list.txt");
  if (rows.empty()) GTEST_SKIP() << "no catalogue archives were found at build time";
  for (const auto& row : rows) {
    const std::string name = row[0];
    const std::string stem = name.substr(0, name.size() - 4);
    const std::string target = unziptest::freshFolder("catalogue") + "\\" + stem;
    ASSERT_EQ(unzip::unzipArchive(nullptr, (fixtures() + "payload\\" + name).c_str(), target.c_str()), 1) << name;
    EXPECT_EQ(unziptest::listTree(target).size(), std::stoul(row[1])) << name;
    expectSameTree(fixtures() + "payload-expected\\" + stem, target, name);
    unziptest::removeTree(target);
  }
}

}  // namespace
