// The walk of the drives, on drives mapped for this test: B: prepared on the host (a game,
// a game too deep to use, an unreadable folder, folder links), D: and E: filled by the cases
// themselves. Files are made, listed and removed through the W functions, so that names
// beyond the system's code page (Korean, an emoji) work on any code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "installer/game_search.h"
#include "installer/globals.h"
#include "runtime/handles.h"
#include "runtime/path.h"

namespace installer {
namespace {

using runtime::toUtf8;
using runtime::toWide;

void makeFolder(const std::string& path) {
  const std::wstring wide = toWide(path);
  for (size_t i = 3; i <= wide.size(); ++i) {
    if (i == wide.size() || wide[i] == L'\\') CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
  }
}

void makeFile(const std::string& path) {
  // Creates the folders on the way, then a small file.
  makeFolder(path.substr(0, path.rfind('\\')));
  const runtime::FileHandle file = runtime::createAlways(path, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(file) << path;
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.get(), "MZ", 2, &written, nullptr)) << path;
}

void removeTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  const runtime::FindHandle search(FindFirstFileW((path + L"\\*").c_str(), &entry));
  if (search) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path + L"\\" + name);
      } else {
        DeleteFileW((path + L"\\" + name).c_str());
      }
    } while (FindNextFileW(search.get(), &entry));
  }
  RemoveDirectoryW(path.c_str());
}

// root: "D:\".
void clearDrive(const wchar_t* root) {
  WIN32_FIND_DATAW entry;
  const runtime::FindHandle search(FindFirstFileW((std::wstring(root) + L"*").c_str(), &entry));
  if (!search) return;
  std::vector<std::wstring> names;
  do {
    if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..") names.push_back(entry.cFileName);
  } while (FindNextFileW(search.get(), &entry));
  for (const std::wstring& name : names) {
    removeTree(root + name);
    DeleteFileW((root + name).c_str());
  }
}

// The walk as the first program did it, written out plainly: roots in order, a folder's own
// files (in listing order) before its sub-folders (in listing order), every match overwriting
// the one before. What the program must still find: folder links are not entered, and a match
// whose path has limit UTF-16 units or more is passed over.
struct Reference {
  size_t limit = runtime::kFilePathLimit;
  std::wstring last;
  std::vector<std::wstring> all;  // every match, in walk order

  void walk(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const runtime::FindHandle search(FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!search) return;
    std::vector<std::wstring> subfolders;
    do {
      const std::wstring name = entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name != L"." && name != L".." && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          subfolders.push_back(name);
        }
      } else if (_wcsicmp(name.c_str(), L"Unturned.exe") == 0 && folder.size() + name.size() < limit) {
        last = folder + name;
        all.push_back(last);
      }
    } while (FindNextFileW(search.get(), &entry));
    for (const std::wstring& sub : subfolders) walk(folder + sub + L"\\");
  }
  void walkRoots(const std::vector<std::string>& roots) {
    for (const std::string& root : roots) {
      std::wstring folder = toWide(root);
      if (folder.back() != L'\\') folder += L'\\';
      walk(folder);
    }
  }
};

class Search : public testing::Test {
 protected:
  void SetUp() override {
    clearDrive(L"D:\\");
    clearDrive(L"E:\\");
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
  // Below B:\ok, whose own game comes first, a folder of 247 units holds a second one: its
  // listing fits in a path, its game's path of 260 units (MAX_PATH) does not.
  Reference plain;
  plain.limit = SIZE_MAX;
  plain.walk(L"B:\\ok\\");
  ASSERT_EQ(plain.last.size(), 260u);  // a walk without the rule ends on it
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

// A folder of 246 units: its game's path, at 259 units, is the longest one the system takes.
const std::string kLongestUsable =
    "D:\\" + std::string(100, 'a') + "\\" + std::string(100, 'b') + "\\" + std::string(41, 'c') + "\\Unturned.exe";
std::string repeated(const char* character, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += character;
  return text;
}
// The same length in UTF-16 units, three bytes to a character in its first folder (80 of
// them: the host's file names hold 255 bytes).
const std::string kLongestUsableChinese =
    "D:\\" + repeated("游", 80) + "\\" + std::string(100, 'b') + "\\" + std::string(61, 'c') + "\\Unturned.exe";
// An emoji takes two UTF-16 units: 259 characters, 260 units.
const std::string kTooLongByAnEmoji =
    "D:\\" + std::string(99, 'a') + "🎮\\" + std::string(100, 'b') + "\\" + std::string(41, 'c') + "\\Unturned.exe";

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
    {"Korean folder names", {"D:\\게임\\Unturned\\Unturned.exe"}, {}, "D:\\게임\\Unturned\\Unturned.exe"},
    {"an emoji in a folder name", {"D:\\🎮 games\\Unturned\\Unturned.exe"}, {}, "D:\\🎮 games\\Unturned\\Unturned.exe"},
    {"a path of 259 units still counts", {kLongestUsable}, {}, kLongestUsable.c_str()},
    {"units are counted, not bytes", {kLongestUsableChinese}, {}, kLongestUsableChinese.c_str()},
    {"an emoji counts two units", {kTooLongByAnEmoji}, {}, ""},
};

TEST_F(Search, FolderTable) {
  for (const FolderCase& c : kFolderCases) {
    SCOPED_TRACE(c.label);
    clearDrive(L"D:\\");
    for (const std::string& f : c.files) makeFile(f);
    for (const std::string& f : c.folders) makeFolder(f);
    std::string expected = c.expected ? c.expected : "";
    if (!c.expected) {
      Reference reference;
      reference.walk(L"D:\\");
      expected = toUtf8(reference.last);
    }
    gameExePath.clear();
    searchFolder("D:", kGameExeName);  // no trailing backslash: one is added
    EXPECT_EQ(gameExePath, expected);
    gameExePath.clear();
    searchFolder("D:\\", kGameExeName);
    EXPECT_EQ(gameExePath, expected);
  }
}

// Trees drawn from a fixed seed over D: and E:, walked with B: (links, an unreadable folder,
// a game too deep to use) in several places of the list of roots: the program's walk must
// end on the reference walk's last match, every time.
class TreeDraw {
 public:
  explicit TreeDraw(uint32_t seed) : random_(seed) {}

  // The paths made, in the order they were made.
  std::vector<std::string> grow(const std::string& root) {
    made_.clear();
    withMatches_ = below(5) != 0;  // one tree in five holds no match at all
    growFolder(root, 0);
    return made_;
  }
  uint32_t below(uint32_t n) { return random_() % n; }

 private:
  void growFolder(const std::string& folder, int depth) {
    static const char* const kMatches[] = {"Unturned.exe", "Unturned.exe", "UNTURNED.EXE", "unturned.exe"};
    static const char* const kOthers[] = {"readme.txt", "Unturned.exe.bak", "Unturned.ex", "data.bin"};
    if (withMatches_ && below(5) == 0) addFile(folder + "\\" + kMatches[below(4)]);
    if (below(3) == 0) addFile(folder + "\\" + kOthers[below(4)]);
    if (depth == 4) return;
    static const char* const kFolders[] = {"Unturned", "Games", "steamapps", "common", "Backup", "게임", "🎮",
                                           "游戏", "Unturned.exe", "a", "zz", "Program Files"};
    constexpr uint32_t kFolderCount = sizeof kFolders / sizeof kFolders[0];
    const uint32_t count = below(depth == 0 ? 5 : 4);
    uint32_t used = 0;  // a bit per name: no name twice in one folder
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t pick = below(kFolderCount);
      if (used & (1u << pick)) continue;
      used |= 1u << pick;
      const std::string sub = folder + "\\" + kFolders[pick];
      if (!CreateDirectoryW(toWide(sub).c_str(), nullptr)) continue;
      made_.push_back(sub + "\\");
      growFolder(sub, depth + 1);
    }
  }
  // A name already taken by a folder (or a file by a folder's name) is passed over.
  void addFile(const std::string& path) {
    const runtime::FileHandle file = runtime::createAlways(path, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    if (file) made_.push_back(path);
  }

  std::mt19937 random_;
  bool withMatches_ = true;
  std::vector<std::string> made_;
};

TEST_F(Search, TheWalkFromTheFarEndEndsOnTheForwardWalksLastMatch) {
  const std::vector<std::vector<std::string>> kRootLists = {
      {"D:\\", "E:\\"}, {"B:\\", "D:", "E:\\"}, {"D:\\", "B:\\", "E:"}, {"D:\\", "E:\\", "B:"}, {"E:", "D:\\"}};
  constexpr int kTrees = 300;
  // What the table must hold, counted from the reference walk.
  int none = 0, severalDrives = 0, atARoot = 0, deep = 0, insideAnotherGame = 0, onB = 0;
  for (int tree = 0; tree < kTrees; ++tree) {
    clearDrive(L"D:\\");
    clearDrive(L"E:\\");
    TreeDraw draw(20261210u + static_cast<uint32_t>(tree));
    std::string made;
    for (const char* root : {"D:", "E:"}) {
      for (const std::string& path : draw.grow(root)) made += "  " + path + "\n";
    }
    const std::vector<std::string>& roots = kRootLists[draw.below(static_cast<uint32_t>(kRootLists.size()))];
    Reference reference;
    reference.walkRoots(roots);
    const std::string expected = toUtf8(reference.last);

    gameExePath = "stale";
    searchFolders(roots, kGameExeName);
    std::string rootList;
    for (const std::string& root : roots) rootList += root + " ";
    ASSERT_EQ(gameExePath, expected.empty() ? "stale" : expected)
        << "tree " << tree << ", roots " << rootList << "\n" << made;

    none += expected.empty();
    std::string drives;
    for (const std::wstring& match : reference.all) {
      if (drives.find(static_cast<char>(match[0])) == std::string::npos) drives += static_cast<char>(match[0]);
    }
    severalDrives += drives.size() >= 2;
    atARoot += !expected.empty() && expected.find('\\', 3) == std::string::npos;
    deep += std::count(expected.begin(), expected.end(), '\\') >= 4;
    onB += !expected.empty() && expected[0] == 'B';
    for (const std::wstring& match : reference.all) {
      const std::wstring folder = match.substr(0, match.rfind(L'\\') + 1);
      if (match != reference.last && reference.last.compare(0, folder.size(), folder) == 0 &&
          reference.last.find(L'\\', folder.size()) != std::wstring::npos) {
        ++insideAnotherGame;
        break;
      }
    }
  }
  EXPECT_GE(none, 10);
  EXPECT_GE(severalDrives, 50);
  EXPECT_GE(atARoot, 10);
  EXPECT_GE(deep, 50);
  EXPECT_GE(insideAnotherGame, 20);
  EXPECT_GE(onB, 20);
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
