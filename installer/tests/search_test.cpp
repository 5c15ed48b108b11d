// The walk of the drives, on drives mapped for this test: B: prepared on the host (a game,
// a game too deep to use, an unreadable folder, folder links), D: and E: filled by the cases
// themselves.
#include <gtest/gtest.h>

#include <string>

#include "installer/game_search.h"
#include "installer/globals.h"
#include "runtime/tests/test_support.h"

namespace installer {
namespace {

using testsupport::removeTree;

void makeFile(const std::string& path) {
  // Creates the folders on the way, then an empty file.
  for (size_t i = 3; i < path.size(); ++i) {
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  ASSERT_TRUE(testsupport::writeBytes(path, "MZ")) << path;
}

void makeFolder(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

void clearDrive(const char* root) {
  for (const std::string& name : testsupport::listFolder(root)) removeTree(std::string(root) + name);
}

// The last match of a plain walk in the order FindFirstFile lists, files before folders:
// the expectation where the file system's listing order decides.
void referenceWalk(const std::string& folder, std::string& last) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    const std::string name = entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != "..") subfolders.push_back(name);
    } else if (_stricmp(name.c_str(), "Unturned.exe") == 0) {
      last = folder + name;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  for (const std::string& sub : subfolders) referenceWalk(folder + sub + "\\", last);
}

class Search : public testing::Test {
 protected:
  void SetUp() override {
    clearDrive("D:\\");
    clearDrive("E:\\");
  }
  void TearDown() override { SetUp(); }
};

TEST_F(Search, LinksAreNotEnteredAndUnreadableFoldersPassQuietly) {
  // B:\loop\back leads to B:\ and B:\alias to B:\ok; entering either would end on a longer
  // path. B:\noaccess cannot be listed, so its game is never seen. D: and E: are empty.
  findGameOnAllDrives();
  EXPECT_EQ(gameExePath, "B:\\ok\\Unturned.exe");
}

TEST_F(Search, AMatchTooLongToUseDoesNotReplaceAnEarlierOne) {
  // Below B:\ok, whose own game comes first, a folder of 247 bytes holds a second one: its
  // listing fits in a path, its game's path of 260 bytes (MAX_PATH) does not.
  std::string plainLast;
  referenceWalk("B:\\ok\\", plainLast);
  ASSERT_EQ(plainLast.size(), 260u) << plainLast;  // a walk without the rule ends on it
  gameExePath.clear();
  searchFolder("B:\\ok", kGameExeName);
  EXPECT_EQ(gameExePath, "B:\\ok\\Unturned.exe");
}

TEST_F(Search, TheGameOnTheLaterDriveWins) {
  makeFile("D:\\Games\\Unturned\\Unturned.exe");
  makeFile("E:\\Steam\\steamapps\\common\\Unturned\\Unturned.exe");
  findGameOnAllDrives();
  EXPECT_EQ(gameExePath, "E:\\Steam\\steamapps\\common\\Unturned\\Unturned.exe");
}

TEST_F(Search, AGameInADriveRootGivesFifteenBytes) {
  makeFile("D:\\Games\\Unturned\\Unturned.exe");
  makeFile("E:\\Unturned.exe");
  findGameOnAllDrives();
  EXPECT_EQ(gameExePath, "E:\\Unturned.exe");
  EXPECT_EQ(gameExePath.size(), 15u);
}

TEST_F(Search, AnEmptyLaterDriveChangesNothing) {
  makeFile("D:\\Games\\Unturned\\Unturned.exe");
  findGameOnAllDrives();
  EXPECT_EQ(gameExePath, "D:\\Games\\Unturned\\Unturned.exe");
}

// A folder of 246 bytes: its game's path, at 259 bytes, is the longest one the system takes.
const std::string kLongestUsable =
    "D:\\" + std::string(100, 'a') + "\\" + std::string(100, 'b') + "\\" + std::string(41, 'c') + "\\Unturned.exe";

struct FolderCase {
  const char* label;
  std::vector<std::string> files;
  std::vector<std::string> folders;
  const char* expected;  // nullptr: the reference walk decides (listing order)
};

const FolderCase kFolderCases[] = {
    {"capitals match and keep their capitals", {"D:\\G\\UNTURNED.EXE"}, {}, "D:\\G\\UNTURNED.EXE"},
    {"a folder with the name is no match", {}, {"D:\\x\\Unturned.exe"}, ""},
    {"but it is walked into", {"D:\\x\\Unturned.exe\\Unturned.exe"}, {}, "D:\\x\\Unturned.exe\\Unturned.exe"},
    {"a deeper match later in the walk wins",
     {"D:\\a\\Unturned\\Unturned.exe", "D:\\a\\Unturned\\Backup\\old\\Unturned.exe"}, {},
     "D:\\a\\Unturned\\Backup\\old\\Unturned.exe"},
    {"a folder's own file comes before its sub-folders",
     {"D:\\p\\sub\\Unturned.exe", "D:\\p\\Unturned.exe"}, {}, "D:\\p\\sub\\Unturned.exe"},
    {"sub-folders in listing order", {"D:\\one\\Unturned.exe", "D:\\two\\Unturned.exe", "D:\\three\\Unturned.exe"}, {},
     nullptr},
    {"similar names are no match", {"D:\\q\\Unturned.exe.bak", "D:\\q\\Unturned.ex", "D:\\q\\xUnturned.exe"}, {}, ""},
    {"Chinese folder names", {"D:\\游戏\\表格\\Unturned\\Unturned.exe"}, {}, "D:\\游戏\\表格\\Unturned\\Unturned.exe"},
    {"a path of 259 bytes still counts", {kLongestUsable}, {}, kLongestUsable.c_str()},
};

TEST_F(Search, FolderTable) {
  for (const FolderCase& c : kFolderCases) {
    SCOPED_TRACE(c.label);
    clearDrive("D:\\");
    for (const std::string& f : c.files) makeFile(f);
    for (const std::string& f : c.folders) makeFolder(f);
    std::string expected = c.expected ? c.expected : "";
    if (!c.expected) referenceWalk("D:\\", expected);
    gameExePath.clear();
    searchFolder("D:", kGameExeName);  // no trailing backslash: one is added
    EXPECT_EQ(gameExePath, expected);
    gameExePath.clear();
    searchFolder("D:\\", kGameExeName);
    EXPECT_EQ(gameExePath, expected);
  }
}

TEST_F(Search, NothingAnywhereLeavesThePathEmpty) {
  makeFolder("D:\\empty\\deep\\er");
  gameExePath = "stale";
  searchFolder("D:\\", kGameExeName);
  EXPECT_EQ(gameExePath, "stale");  // the walk alone never clears it
  findGameOnAllDrives();            // the search of all drives does, then finds B:'s
  EXPECT_EQ(gameExePath, "B:\\ok\\Unturned.exe");
}

}  // namespace
}  // namespace installer
