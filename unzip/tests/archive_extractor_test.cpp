#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "unzip/archive_extractor.h"
#include "unzip/tests/failing_file_layer.h"
#include "unzip/tests/test_support.h"
#include "unzip/unzip_component.h"

namespace {

using unziptest::Bytes;
using unziptest::FakeOwner;
using unziptest::TestEntry;
using Tree = std::vector<std::string>;

TestEntry fileEntry(const std::string& name, const Bytes& data, uint32_t external = 0x20) {
  TestEntry entry;
  entry.name = name;
  entry.data = data;
  entry.external = external;
  return entry;
}

std::string writeArchive(const std::string& path, const std::vector<TestEntry>& entries) {
  unziptest::writeFile(path, unziptest::buildZip(entries).bytes);
  return path;
}

const std::vector<TestEntry>& mapsArchive() {
  static const std::vector<TestEntry> entries = {
      unziptest::folderEntry("Maps/"), unziptest::folderEntry("Maps/PEI_Space/", 0x30),
      fileEntry("Maps/PEI_Space/Schinese.dat", "space station"), fileEntry("Readme.txt", Bytes(40000, 'r'))};
  return entries;
}
const Tree kMapsTree = {"Maps\\", "Maps\\PEI_Space\\", "Maps\\PEI_Space\\Schinese.dat", "Readme.txt"};

TEST(Extract, TargetFolderForms) {
  struct Row {
    const char* what;
    std::string target;  // below the test folder
    bool trailingBackslash;
  };
  const Row rows[] = {
      {"existing, no backslash", "t", false},
      {"existing, with backslash", "t", true},
      {"missing with missing parents", "p\\q\\r", false},
      {"missing, with backslash", "p\\q\\r", true},
      {"names no ANSI code page holds whole", "游戏\\게임 🎮", true},
  };
  for (const Row& row : rows) {
    const std::string folder = unziptest::freshFolder("ex_forms");
    const std::string archive = writeArchive(folder + "\\a.zip", mapsArchive());
    const std::string target = folder + "\\" + row.target;
    if (row.target == "t") CreateDirectoryW(runtime::toWide(target).c_str(), nullptr);
    FakeOwner owner;
    EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), (target + (row.trailingBackslash ? "\\" : "")).c_str()), 1)
        << row.what;
    EXPECT_EQ(unziptest::listTree(target), kMapsTree) << row.what;
    Bytes got;
    EXPECT_TRUE(unziptest::readFile(target + "\\Maps\\PEI_Space\\Schinese.dat", got));
    EXPECT_EQ(got, "space station");
  }
  EXPECT_TRUE(unziptest::isFolder("D:\\ex_forms\\游戏\\게임 🎮\\Maps"));
  EXPECT_EQ(unziptest::listTree("D:\\ex_forms").size(), 2 + 1 + kMapsTree.size());
}

TEST(Extract, ResultsForArchivesTargetsAndEntries) {
  const Bytes empty22("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
  const Bytes valid = unziptest::buildZip(mapsArchive()).bytes;
  struct Row {
    const char* what;
    std::function<std::string(const std::string& folder)> archive;  // returns the archive path
    std::string target;                                               // below the test folder
    int32_t expected;
    Tree tree;  // of the target folder afterwards; "-" for "does not exist"
    // Why, as kept at the call that failed; with SystemError, that call's error code.
    unzip::FailureCause cause = unzip::FailureCause::None;
    DWORD systemError = 0;
    // A file of a former run, below the target, that another handle holds open without
    // sharing during the run.
    std::string heldOldFile = "";
    // What the failure names (in the way, or too long), below the target; "" not compared.
    std::string failurePath = "";
    // Reads of the archive file that take in this byte fail (the tests' file layer), with
    // ERROR_CRC as a damaged disk gives it; 0: none.
    uint64_t failReadAt = 0;
  };
  const auto damaged = unzip::FailureCause::DamagedArchive;
  const auto system = unzip::FailureCause::SystemError;
  const auto fileInTheWay = unzip::FailureCause::FileInTheWay;
  const auto folderInTheWay = unzip::FailureCause::FolderInTheWay;
  const auto tooLong = unzip::FailureCause::PathTooLong;
  const auto bytes = [](Bytes content) {
    return [content](const std::string& folder) {
      unziptest::writeFile(folder + "\\a.zip", content);
      return folder + "\\a.zip";
    };
  };
  const auto entries = [](std::vector<TestEntry> list) {
    return [list](const std::string& folder) { return writeArchive(folder + "\\a.zip", list); };
  };
  // A folder entry whose path below the target D:\ex_results\t, with its backslash, has
  // that length.
  const auto longFolderName = [](size_t length) {
    return std::string(length - std::strlen("D:\\ex_results\\t\\") - 1, 'd');
  };
  const auto longFolder = [&](size_t length) {
    return [=](const std::string& folder) {
      return writeArchive(folder + "\\a.zip", {unziptest::folderEntry(longFolderName(length) + "/")});
    };
  };
  // The same below the target D:\ex_results\游×100: 115 UTF-16 units with its backslashes,
  // 315 bytes of UTF-8. Windows counts the units.
  const std::string wideTarget = [] {
    std::string t;
    for (int i = 0; i < 100; ++i) t += "游";
    return t;
  }();
  const auto wideFolderName = [](size_t units) { return std::string(units - 115 - 1, 'd'); };
  const auto wideFolder = [&](size_t units) {
    return [=](const std::string& folder) {
      return writeArchive(folder + "\\a.zip", {unziptest::folderEntry(wideFolderName(units) + "/")});
    };
  };
  const auto flagged = [](TestEntry entry) {
    entry.flags |= 0x0800;
    return entry;
  };
  std::vector<Row> rows = {
      {"one file at the root", entries({fileEntry("Schinese.translation", "t")}), "t", 1, {"Schinese.translation"}},
      {"missing archive", [](const std::string& f) { return f + "\\none.zip"; }, "t", -1, {"-"}, system,
       ERROR_FILE_NOT_FOUND},
      {"archive path names a folder", [](const std::string& f) { return f; }, "t", 0, {}, system, ERROR_ACCESS_DENIED},
      {"22-byte empty archive", bytes(empty22), "t", 0, {}, damaged},
      {"other signature", bytes("MZ" + valid.substr(2)), "t", 0, {}, damaged},
      {"value at offset 24 is 0", bytes([&] {
         Bytes b = unziptest::buildZip({fileEntry("", "x")}).bytes;
         return b;
       }()), "t", 0, {}, damaged},
      {"no central directory", bytes(valid.substr(0, valid.size() / 2)), "t", 0, {}, damaged},
      {"folder entry whose folder exists", entries({unziptest::folderEntry("t2/"), unziptest::folderEntry("t2/")}), "t",
       1, {"t2\\"}},
      {"name ending in / without the folder flag", entries({fileEntry("x/", "data")}), "t", 0, {}, damaged},
      {"file in a folder that has no folder entry", entries({fileEntry("sub/f.txt", "data")}), "t", 0, {}, system,
       ERROR_PATH_NOT_FOUND},
      // Without the UTF-8 flag a name is code page 936 on every system; with it, UTF-8.
      {"code page 936 names", entries({unziptest::folderEntry(unziptest::gbk("地图/")),
                                       fileEntry(unziptest::gbk("地图/乗.txt"), "gbk")}), "t", 1,
       {"地图\\", "地图\\乗.txt"}},
      {"UTF-8 names with the flag", entries({flagged(unziptest::folderEntry("게임/")),
                                             flagged(fileEntry("게임/🎮 地图.txt", "utf-8"))}), "t", 1,
       {"게임\\", "게임\\🎮 地图.txt"}},
      {"encrypted entry", entries([] {
         TestEntry e = fileEntry("secret.txt", "s");
         e.flags = 1;
         return std::vector<TestEntry>{fileEntry("first.txt", "1"), e};
       }()), "t", 0, {}, damaged},
      {"unsupported method before the end", entries([] {
         TestEntry e = fileEntry("odd.bin", "s");
         e.method = 14;
         return std::vector<TestEntry>{fileEntry("first.txt", "1"), e, fileEntry("last.txt", "3")};
       }()), "t", 0, {}, damaged},
      // CreateDirectoryW answers ERROR_ALREADY_EXISTS for a file of the folder's name too.
      {"empty folder entry blocked by a file", entries({fileEntry("Maps", "f"), unziptest::folderEntry("Maps/")}),
       "t", 0, {"Maps"}, fileInTheWay, ERROR_ALREADY_EXISTS, "", "Maps"},
      {"folder entry with a file, blocked by a file",
       entries({fileEntry("Maps", "f"), unziptest::folderEntry("Maps/"), fileEntry("Maps/x.txt", "x")}), "t", 0,
       {"Maps"}, fileInTheWay, ERROR_ALREADY_EXISTS, "", "Maps"},
      // No file replaces a folder; the folder's own files stay.
      {"file entry blocked by a folder",
       entries({unziptest::folderEntry("Maps/"), fileEntry("Maps/x.txt", "x"), fileEntry("Maps", "f")}), "t", 0,
       {"Maps\\", "Maps\\x.txt"}, folderInTheWay, ERROR_ALREADY_EXISTS, "", "Maps"},
      // The move over a file held open fails with ERROR_ACCESS_DENIED; the cause is the holder.
      {"file of a former run held open", entries({fileEntry("first.txt", "1"), fileEntry("held.dat", "new")}), "t", 0,
       {"first.txt", "held.dat"}, system, ERROR_SHARING_VIOLATION, "held.dat"},
      // Names Windows cannot make as they stand are the archive's fault, not the system's.
      {"a character no Windows name holds", entries({fileEntry("first.txt", "1"), fileEntry("a|b.txt", "x")}), "t", 0,
       {"first.txt"}, damaged},
      {"UTF-8 bytes without the flag: no code page 936 text", entries({unziptest::folderEntry("\xE4\xB8\xAD/"), fileEntry("\xE4\xB8\xAD/x.txt", "x")}),
       "t", 0, {}, damaged},
      // CreateDirectoryW takes folder paths of up to 247 UTF-16 units (Wine makes longer ones).
      {"a folder path of 247 units", longFolder(247), "t", 1, {longFolderName(247) + "\\"}},
      {"a folder path of 248 units", longFolder(248), "t", 0, {}, tooLong, ERROR_FILENAME_EXCED_RANGE, "",
       longFolderName(248) + "\\"},
      {"a folder path of 247 units in 447 bytes", wideFolder(247), wideTarget, 1, {wideFolderName(247) + "\\"}},
      {"a folder path of 248 units in 448 bytes", wideFolder(248), wideTarget, 0, {}, tooLong,
       ERROR_FILENAME_EXCED_RANGE, "", wideFolderName(248) + "\\"},
      // A read of the archive file that fails keeps its own code: the second entry's data are
      // read from the file after the first entry was written.
      {"a read of the archive file fails", entries({fileEntry("first.txt", "1"), [] {
         TestEntry big = fileEntry("big.bin", Bytes(300000, 'b'));
         big.method = 0;
         return big;
       }()}),
       "t", 0, {"first.txt"}, system, ERROR_CRC, "", "", 200000},
      {"CRC-32 mismatch", entries([] {
         TestEntry e = fileEntry("bad.txt", "contents");
         e.badCrc = true;
         return std::vector<TestEntry>{e};
       }()), "t", 0, {}, damaged},
  };
  for (size_t length = 0; length < 32; ++length) {
    rows.push_back({"short archive", bytes(valid.substr(0, length)), "t", 0, {}, damaged});
  }
  for (const Row& row : rows) {
    const std::string folder = unziptest::freshFolder("ex_results");
    const std::string archive = row.archive(folder);
    const std::string target = folder + "\\" + row.target;
    HANDLE held = INVALID_HANDLE_VALUE;
    if (!row.heldOldFile.empty()) {
      CreateDirectoryW(runtime::toWide(target).c_str(), nullptr);
      unziptest::writeFile(target + "\\" + row.heldOldFile, "old");
      held = CreateFileA((target + "\\" + row.heldOldFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    if (row.failReadAt != 0) {
      ASSERT_TRUE(unziptest::failingLayerInstalled());
      unziptest::failReadsAt(row.failReadAt, ERROR_CRC);
    }
    FakeOwner owner;
    unzip::ExtractionFailure failure;
    EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), target.c_str(), &failure), row.expected) << row.what;
    unziptest::failNoReads();
    if (!row.failurePath.empty()) {
      EXPECT_EQ(failure.path, target + "\\" + row.failurePath) << row.what;
    }
    if (held != INVALID_HANDLE_VALUE) {
      CloseHandle(held);
      Bytes got;
      EXPECT_TRUE(unziptest::readFile(target + "\\" + row.heldOldFile, got));
      EXPECT_EQ(got, "old") << row.what;
    }
    EXPECT_EQ(failure.cause, row.cause) << row.what;
    EXPECT_EQ(failure.systemError, row.systemError) << row.what;
    if (row.tree == Tree{"-"}) {
      EXPECT_FALSE(unziptest::isFolder(target)) << row.what;
    } else {
      EXPECT_EQ(unziptest::listTree(target), row.tree) << row.what;
    }
  }
}

TEST(Extract, TargetNamingAFileFailsAtTheFirstEntry) {
  for (const auto& first : {unziptest::folderEntry("Maps/"), fileEntry("f.txt", "x")}) {
    const std::string folder = unziptest::freshFolder("ex_file_target");
    const std::string archive = writeArchive(folder + "\\a.zip", {first});
    unziptest::writeFile(folder + "\\target", "a file");
    EXPECT_EQ(unzip::unzipArchive(nullptr, archive.c_str(), (folder + "\\target").c_str()), 0) << first.name;
    EXPECT_EQ(unziptest::listTree(folder), (Tree{"a.zip", "target"}));
  }
}

TEST(Extract, TextsNotGivenOrEmpty) {
  const std::string folder = unziptest::freshFolder("ex_texts");
  const std::string archive = writeArchive(folder + "\\a.zip", mapsArchive());
  FakeOwner owner;
  EXPECT_EQ(unzip::unzipArchive(&owner, nullptr, (folder + "\\t").c_str()), -1);
  EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), nullptr), -1);
  EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), ""), -1);
  EXPECT_EQ(unzip::unzipArchive(&owner, "", (folder + "\\t").c_str()), -1);
  EXPECT_EQ(owner.percents, (std::vector<int32_t>{100, 100}));  // the two runs that reached extract
  EXPECT_EQ(unziptest::listTree(folder), (Tree{"a.zip"}));
}

TEST(Extract, ProtectedFilesAreOverwrittenAndLeftNormal) {
  const std::string folder = unziptest::freshFolder("ex_protected");
  const std::string target = folder + "\\t";
  const std::vector<TestEntry> list = {fileEntry("ro.txt", "new ro", 0x21), fileEntry("hidden.txt", "new hidden", 0x22),
                                       fileEntry("system.txt", "new system", 0x24), fileEntry("all.txt", "new all", 0x27)};
  const std::string archive = writeArchive(folder + "\\a.zip", list);
  CreateDirectoryA(target.c_str(), nullptr);
  const DWORD old[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  for (size_t i = 0; i < list.size(); ++i) {
    unziptest::writeFile(target + "\\" + list[i].name, "old contents");
    SetFileAttributesA((target + "\\" + list[i].name).c_str(), old[i]);
  }
  EXPECT_EQ(unzip::unzipArchive(nullptr, archive.c_str(), target.c_str()), 1);
  for (const TestEntry& entry : list) {
    Bytes got;
    EXPECT_TRUE(unziptest::readFile(target + "\\" + entry.name, got));
    EXPECT_EQ(got, entry.data);
    EXPECT_TRUE(unziptest::hasNormalAttributes(target + "\\" + entry.name)) << entry.name;
  }
  EXPECT_EQ(unziptest::listTree(target).size(), list.size());
}

TEST(Extract, DamagedEntryKeepsTheOldFile) {
  const std::string folder = unziptest::freshFolder("ex_keep");
  const std::string target = folder + "\\t";
  TestEntry damaged = fileEntry("data.bin", Bytes(30000, 'n'));
  damaged.badCrc = true;
  const std::string archive = writeArchive(folder + "\\a.zip", {fileEntry("first.txt", "1"), damaged});
  CreateDirectoryA(target.c_str(), nullptr);
  const Bytes old = "known old bytes\r\n";
  unziptest::writeFile(target + "\\data.bin", old);
  EXPECT_EQ(unzip::unzipArchive(nullptr, archive.c_str(), target.c_str()), 0);
  Bytes got;
  ASSERT_TRUE(unziptest::readFile(target + "\\data.bin", got));
  EXPECT_EQ(got, old);
  EXPECT_EQ(unziptest::listTree(folder), (Tree{"a.zip", "t\\", "t\\data.bin", "t\\first.txt"}));
}

Tree minus(const Tree& a, const Tree& b) {
  Tree out;
  for (const std::string& x : a) {
    if (std::find(b.begin(), b.end(), x) == b.end()) out.push_back(x);
  }
  return out;
}

TEST(Extract, HostileNamesAreRefusedAndNothingLeavesTheTarget) {
  const std::string rows[] = {"../x", "a/../../x", "/x", "\\x", "C:\\x", "C:x", "D:x", "\\\\server\\s\\x",
                              "a/b/../../../c", "../../../../../../x", "a\\..\\..\\x", std::string(300, 'L'),
                              "乗\\..\\..\\x", "x::$DATA", "sub/CON", "a/b/../../../in/t2/x"};
  const Tree walked = {"ex_hostile\\in\\", "ex_hostile\\in\\t\\", "ex_hostile\\in\\t\\a\\",
                       "ex_hostile\\in\\t\\a\\b\\", "ex_hostile\\in\\t\\first.txt"};
  // A name too long for the entry record already fails the count: nothing is unpacked.
  const Tree counted = {"ex_hostile\\in\\", "ex_hostile\\in\\t\\"};
  for (const std::string& name : rows) {
    for (bool asFolder : {false, true}) {
      const std::string parent = unziptest::freshFolder("ex_hostile");
      const std::string target = parent + "\\in\\t";
      TestEntry hostile = asFolder ? unziptest::folderEntry(name + "/") : fileEntry(name, "escaped");
      const std::string archive =
          writeArchive("D:\\hostile.zip", {unziptest::folderEntry("a/"), unziptest::folderEntry("a/b/"),
                                            fileEntry("first.txt", "1"), hostile});
      const Tree before = unziptest::listTree("D:\\");
      EXPECT_EQ(unzip::unzipArchive(nullptr, archive.c_str(), target.c_str()), 0) << name;
      const Tree after = unziptest::listTree("D:\\");
      EXPECT_EQ(minus(after, before), name.size() >= 260 ? counted : walked)
          << name << (asFolder ? " (folder)" : " (file)");
      EXPECT_TRUE(minus(before, after).empty()) << name;
      EXPECT_FALSE(unziptest::isFile("C:\\x") || unziptest::isFolder("C:\\x")) << name;
      unziptest::removeTree(parent);
      DeleteFileA("D:\\hostile.zip");
    }
  }
}

TEST(Extract, JoinedPathsBeyondMaxPathFailCleanly) {
  const std::string parent = unziptest::freshFolder("ex_long");
  const std::string target = parent + "\\" + std::string(100, 't');  // 108 bytes
  const std::string folderName = std::string(100, 'n');
  struct Row {
    const char* what;
    std::vector<TestEntry> entries;
    Tree tree;
  };
  const Row rows[] = {
      {"file name that fits 260 alone", {fileEntry("first.txt", "1"), fileEntry(std::string(259, 'f'), "long")},
       {"first.txt"}},
      {"folder that fits, file joined beyond",
       {fileEntry("first.txt", "1"), unziptest::folderEntry(folderName + "/"),
        fileEntry(folderName + "/" + std::string(60, 'f'), "long")},
       {"first.txt", folderName + "\\"}},
  };
  for (const Row& row : rows) {
    unziptest::removeTree(target);
    const std::string archive = writeArchive(parent + "\\a.zip", row.entries);
    EXPECT_EQ(unzip::unzipArchive(nullptr, archive.c_str(), target.c_str()), 0) << row.what;
    EXPECT_EQ(unziptest::listTree(target), row.tree) << row.what;
  }
}

TEST(Progress, PercentagesOfARun) {
  const std::string folder = unziptest::freshFolder("pr_run");
  const std::string archive = writeArchive(folder + "\\a.zip", mapsArchive());
  FakeOwner owner;
  ASSERT_EQ(unzip::unzipArchive(&owner, archive.c_str(), (folder + "\\t").c_str()), 1);
  EXPECT_EQ(owner.percents, (std::vector<int32_t>{0, 25, 50, 75, 100}));
}

TEST(Progress, HandlerAnswersAndWindowState) {
  struct Row {
    const char* what;
    unzip::EventOutcome answer;
    int32_t answerAfterEntry;  // answer from this notification on; before it, no handler
    bool windowExists;
    bool closeWindowInHandler;
    std::vector<int32_t> percents;
    size_t filesOnDisk;
  };
  const Row rows[] = {
      {"no handler bound", {false, false, 0}, 0, true, false, {0, 25, 50, 75, 100}, 4},
      {"handler returns true", {true, true, 1}, 0, true, false, {0, 25, 50, 75, 100}, 4},
      {"handler returns nothing", {true, false, 0}, 0, true, false, {0, 25, 50, 75, 100}, 4},
      {"handler returns false after entry 1", {true, true, 0}, 1, true, false, {0, 25}, 2},
      {"handler returns false after entry 0", {true, true, 0}, 0, true, false, {0}, 1},
      {"handler returns false and closes the window", {true, true, 0}, 0, true, true, {0}, 4},
      {"window gone: nothing raised", {true, true, 0}, 0, false, false, {}, 4},
  };
  for (const Row& row : rows) {
    const std::string folder = unziptest::freshFolder("pr_answers");
    const std::string archive = writeArchive(folder + "\\a.zip", mapsArchive());
    FakeOwner owner;
    owner.window = row.windowExists;
    owner.onEvent = [&](FakeOwner& self, int32_t) {
      self.answer = self.percents.size() > static_cast<size_t>(row.answerAfterEntry) ? row.answer
                                                                                    : unzip::EventOutcome{false, false, 0};
      if (row.closeWindowInHandler) self.window = false;
    };
    EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), (folder + "\\t").c_str()), 1) << row.what;
    EXPECT_EQ(owner.percents, row.percents) << row.what;
    EXPECT_EQ(unziptest::listTree(folder + "\\t").size(), row.filesOnDisk) << row.what;
  }
}

// The window's service during an extraction: the service is asked after every record the
// count reads, after every entry and after every piece (16384 bytes) of an entry's data. Each
// answer here takes longer than a frame, so every call is a service. Calls for mapsArchive:
// 1 to 4 while counting the four entries, 5 and 6 after the two folder entries, 7 after the
// piece and 8 after the entry of Schinese.dat, 9 to 11 after the three pieces of Readme.txt
// (40000 bytes), 12 after it.
int serviceCalls = 0;
int stopAtCall = 0;
bool stillWantedUntilTheStop() {
  Sleep(20);
  return ++serviceCalls != stopAtCall;
}

TEST(FrameService, AStopRollsTheEntryInProgressBackAndEndsTheRun) {
  struct Row {
    const char* what;
    int stopAt;  // 0: never
    bool oldReadme;
    Tree tree;
    int calls;
  };
  const Tree noReadme(kMapsTree.begin(), kMapsTree.end() - 1);
  const Row rows[] = {
      {"never stopped", 0, false, kMapsTree, 12},
      {"while counting", 2, false, {}, 2},
      {"after a folder entry", 6, false, {"Maps\\", "Maps\\PEI_Space\\"}, 6},
      {"after the last piece of a small entry", 7, false, {"Maps\\", "Maps\\PEI_Space\\"}, 7},
      {"in the middle of a large new entry", 10, false, noReadme, 10},
      {"in the middle of a large entry replacing a file", 10, true, kMapsTree, 10},
      {"after the last entry", 12, false, kMapsTree, 12},
  };
  const Bytes old = "the previous readme";
  for (const Row& row : rows) {
    const std::string folder = unziptest::freshFolder("fs_stop");
    const std::string archive = writeArchive(folder + "\\a.zip", mapsArchive());
    const std::string target = folder + "\\t";
    CreateDirectoryA(target.c_str(), nullptr);
    if (row.oldReadme) unziptest::writeFile(target + "\\Readme.txt", old);
    serviceCalls = 0;
    stopAtCall = row.stopAt;
    runtime::FrameService frames(stillWantedUntilTheStop);
    Sleep(20);  // the first call is due too
    FakeOwner owner;
    EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), target.c_str(), nullptr, &frames), 1) << row.what;
    EXPECT_EQ(serviceCalls, row.calls) << row.what;
    // No temporary file, no file of the entry in progress; an old file keeps its bytes.
    EXPECT_EQ(unziptest::listTree(target), row.tree) << row.what;
    Bytes got;
    if (row.oldReadme) {
      ASSERT_TRUE(unziptest::readFile(target + "\\Readme.txt", got));
      EXPECT_EQ(got, old) << row.what;
    } else if (row.tree == kMapsTree) {
      ASSERT_TRUE(unziptest::readFile(target + "\\Readme.txt", got));
      EXPECT_EQ(got, Bytes(40000, 'r')) << row.what;
    }
  }
}

TEST(Progress, FailuresNotifyOnceMoreWithTheTotal) {
  struct Row {
    const char* what;
    std::vector<TestEntry> entries;
    std::vector<int32_t> percents;
  };
  TestEntry odd = fileEntry("odd.bin", "s");
  odd.method = 14;
  TestEntry bad = fileEntry("bad.txt", "contents");
  bad.badCrc = true;
  const Row rows[] = {
      // Counting meets the damaged entry: nothing is unpacked, one notification of 0 of 0.
      {"unreadable entry", {fileEntry("first.txt", "1"), odd, fileEntry("last.txt", "3")}, {100}},
      // Counted fine, the data fail: the failure exit reports done = total.
      {"CRC-32 mismatch in the third entry", {fileEntry("a", "1"), fileEntry("b", "2"), bad, fileEntry("d", "4")},
       {0, 25, 100}},
  };
  for (const Row& row : rows) {
    const std::string folder = unziptest::freshFolder("pr_fail");
    const std::string archive = writeArchive(folder + "\\a.zip", row.entries);
    FakeOwner owner;
    EXPECT_EQ(unzip::unzipArchive(&owner, archive.c_str(), (folder + "\\t").c_str()), 0) << row.what;
    EXPECT_EQ(owner.percents, row.percents) << row.what;
  }
}

TEST(Progress, PercentageArithmetic) {
  struct Row {
    uint32_t done, total;
    int32_t percent;
  };
  const Row rows[] = {{0, 4, 0}, {1, 3, 33}, {2, 3, 66}, {3, 3, 100}, {5405, 5406, 99}, {0, 0, 100},
                      {0x80000000u, 0xFFFFFFFFu, 50}};
  for (const Row& row : rows) EXPECT_EQ(unzip::progressPercentage(row.done, row.total), row.percent);
}

// Without a callback nothing is counted and a damaged entry is met by the walk itself.
TEST(ArchiveExtractor, StateAndTheWalkWithoutCallback) {
  unzip::ArchiveExtractor extractor;
  EXPECT_EQ(extractor.owner(), nullptr);
  EXPECT_EQ(extractor.cancelRequested(), 0);
  EXPECT_EQ(extractor.progressCallback(), nullptr);
  EXPECT_EQ(extractor.currentPath(), "");
  EXPECT_EQ(extractor.totalEntries(), 0);
  EXPECT_EQ(extractor.doneIndex(), 0);
  extractor.notifyProgress();  // no callback: nothing

  TestEntry odd = fileEntry("odd.bin", "s");
  odd.method = 14;
  const std::string folder = unziptest::freshFolder("ae_walk");
  const std::string archive = writeArchive(folder + "\\a.zip", {fileEntry("first.txt", "1"), odd});
  FakeOwner owner;
  extractor.setOwner(&owner);
  EXPECT_EQ(extractor.extract(archive.c_str(), (folder + "\\t").c_str()), 0);
  EXPECT_EQ(unziptest::listTree(folder + "\\t"), (Tree{"first.txt"}));
  EXPECT_EQ(extractor.currentPath(), folder + "\\t\\first.txt");
  EXPECT_EQ(extractor.owner(), &owner);
  EXPECT_TRUE(owner.percents.empty());

  // A cancel request is tested after every entry, one made before the run included.
  extractor.setCancel(1);
  EXPECT_EQ(extractor.extract(archive.c_str(), (folder + "\\t2").c_str()), 1);
  EXPECT_EQ(unziptest::listTree(folder + "\\t2"), (Tree{"first.txt"}));

  extractor.setProgressCallback(unzip::componentProgress);
  extractor.setCancel(1);
  extractor.setProgressCallback(unzip::componentProgress);  // resets the cancel request
  EXPECT_EQ(extractor.cancelRequested(), 0);
  EXPECT_EQ(extractor.progressCallback(), &unzip::componentProgress);
  extractor.reset();
  EXPECT_EQ(extractor.progressCallback(), nullptr);
  EXPECT_EQ(extractor.currentPath(), folder + "\\t2\\first.txt");
}

TEST(PathHelpers, SlashesToBackslashes) {
  struct Row {
    std::string in, out;
  };
  const Row slashes[] = {{"Maps/PEI_Space/Schinese.dat", "Maps\\PEI_Space\\Schinese.dat"}, {"a\\b/", "a\\b\\"},
                         {"地图/乗", "地图\\乗"}, {"", ""}};
  for (const Row& row : slashes) {
    std::string text = row.in;
    unzip::slashesToBackslashes(text);
    EXPECT_EQ(text, row.out) << row.in;
  }
}

TEST(PathHelpers, CreateDirectoryPath) {
  const std::string root = unziptest::freshFolder("ph_dirs");
  unziptest::writeFile(root + "\\file", "x");
  struct Row {
    std::string path;
    bool recursive, result;
    std::string mustExist;
  };
  const Row rows[] = {
      {root + "\\a\\b\\c", true, true, root + "\\a\\b\\c"},
      {root + "\\a\\b\\c\\", true, true, root + "\\a\\b\\c"},  // all there already
      {"D:\\", true, true, "D:\\"},
      {root + "\\게임 🎮\\x", true, true, root + "\\게임 🎮\\x"},
      {root + "\\file\\x", true, false, ""},
      {root + "\\one", false, true, root + "\\one"},
      {root + "\\two\\three", false, false, ""},
      {"Q:\\nowhere\\x", true, false, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(unzip::createDirectoryPath(row.path, row.recursive), row.result) << row.path;
    if (!row.mustExist.empty()) {
      EXPECT_TRUE(unziptest::isFolder(row.mustExist)) << row.path;
    }
  }
  EXPECT_EQ(unziptest::listTree(root),
            (Tree{"a\\", "a\\b\\", "a\\b\\c\\", "file", "one\\", "게임 🎮\\", "게임 🎮\\x\\"}));
}

TEST(PathHelpers, IsZipFile) {
  const std::string folder = unziptest::freshFolder("ph_iszip");
  const Bytes valid = unziptest::buildZip({fileEntry("f", "x")}).bytes;
  Bytes bigName = valid;
  unziptest::put16(bigName, 26, 0x8000);  // offset 24 read as a negative number
  struct Row {
    const char* what;
    Bytes bytes;
    bool expected;
  };
  const Row rows[] = {
      {"valid", valid, true},
      {"first 32 bytes only", valid.substr(0, 32), true},
      {"31 bytes", valid.substr(0, 31), false},
      {"empty", "", false},
      {"end record first", Bytes("PK\x05\x06", 4) + valid.substr(4), false},
      {"name length 0 and small size", [&] { Bytes b = valid; unziptest::put32(b, 24, 0); return b; }(), false},
      {"negative value at 24", bigName, false},
      {"size high half alone", [&] { Bytes b = valid; unziptest::put32(b, 24, 1); return b; }(), true},
  };
  for (const Row& row : rows) {
    unziptest::writeFile(folder + "\\f.zip", row.bytes);
    EXPECT_EQ(unzip::isZipFile(folder + "\\f.zip"), row.expected) << row.what;
  }
  EXPECT_FALSE(unzip::isZipFile(folder));
  EXPECT_FALSE(unzip::isZipFile(folder + "\\missing.zip"));
}

}  // namespace
