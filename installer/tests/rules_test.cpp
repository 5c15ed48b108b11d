// The installer's small rules, as tables.
#include <gtest/gtest.h>

#include <string>

#include "installer/game_search.h"
#include "installer/installation_run.h"

namespace installer {
namespace {

TEST(GameFolder, AllButTheLastThirteenBytes) {
  struct Case {
    const char* exePath;
    const char* folder;
  } cases[] = {
      {"D:\\Games\\Unturned\\Unturned.exe", "D:\\Games\\Unturned"},  // 30 bytes: the first 17
      {"E:\\Unturned.exe", "E:"},                                    // a drive root: the bare drive
      {"D:\\G\\UNTURNED.EXE", "D:\\G"},
      {"C:\\游戏\\Unturned\\Unturned.exe", "C:\\游戏\\Unturned"},
      {"", ""},                                                      // nothing found: n is -13
      {"Unturned.exe", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(gameFolderOf(c.exePath), c.folder) << c.exePath;
}

TEST(GameSearch, NamesMatchIgnoringAsciiCaseOnly) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  } cases[] = {
      {L"Unturned.exe", L"Unturned.exe", true},
      {L"UNTURNED.EXE", L"Unturned.exe", true},
      {L"unturned.exe", L"Unturned.exe", true},
      {L"Unturned.exe.bak", L"Unturned.exe", false},
      {L"Unturned.ex", L"Unturned.exe", false},
      {L"Unturned exe", L"Unturned.exe", false},
      {L"\u00D3", L"\u00F3", false},  // letters beyond ASCII are never folded
      {L"", L"", true},
  };
  for (const auto& c : cases) EXPECT_EQ(sameNameIgnoringAsciiCase(c.a, c.b), c.same) << c.a;
}

TEST(GameSearch, FolderLinksAreJunctionsAndSymbolicLinks) {
  struct Case {
    const char* label;
    DWORD attributes;
    DWORD tag;
    bool link;
  } cases[] = {
      {"plain folder", FILE_ATTRIBUTE_DIRECTORY, 0, false},
      {"plain folder, stray tag", FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_SYMLINK, false},
      // B:\ok is no reparse point: what cannot be read as a mounted volume stays a link.
      {"junction", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT, true},
      {"symbolic link", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK, true},
      {"link without a reported tag", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0, true},
      {"cloud placeholder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0x9000601A, false},
      {"deduplicated folder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0x80000013, false},
  };
  for (const auto& c : cases) {
    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = c.attributes;
    entry.dwReserved0 = c.tag;
    lstrcpyW(entry.cFileName, L"ok");
    EXPECT_EQ(isFolderLink(entry, L"B:\\"), c.link) << c.label;
  }
}

// Reparse data of the mount-point form: the path buffer holds the substitute name, a zero,
// the print name and a zero, or the two the other way round.
std::string mountPointData(DWORD tag, const std::wstring& substitute, const std::wstring& print,
                           bool printNameFirst = false) {
  const std::wstring first = printNameFirst ? print : substitute;
  const std::wstring second = printNameFirst ? substitute : print;
  std::wstring names = first + L'\0' + second + L'\0';
  const WORD firstOffset = 0;
  const WORD secondOffset = static_cast<WORD>((first.size() + 1) * sizeof(wchar_t));
  const WORD fields[6] = {static_cast<WORD>(8 + names.size() * sizeof(wchar_t)), 0,
                          printNameFirst ? secondOffset : firstOffset,
                          static_cast<WORD>(substitute.size() * sizeof(wchar_t)),
                          printNameFirst ? firstOffset : secondOffset,
                          static_cast<WORD>(print.size() * sizeof(wchar_t))};
  std::string data(reinterpret_cast<const char*>(&tag), sizeof tag);
  data.append(reinterpret_cast<const char*>(fields), sizeof fields);
  data.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
  return data;
}

TEST(GameSearch, AMountPointIsAVolumeOnlyWhenItsTargetNamesOne) {
  const std::wstring volume = L"\\??\\Volume{5b3a2c10-8e4f-11ee-9c1d-806e6f6e6963}\\";
  const std::wstring folder = L"\\??\\C:\\Games";
  const std::string whole = mountPointData(IO_REPARSE_TAG_MOUNT_POINT, volume, L"");
  struct Case {
    const char* label;
    std::string data;
    bool volume;
  } cases[] = {
      {"a mounted volume", whole, true},
      {"its name after the print name", mountPointData(IO_REPARSE_TAG_MOUNT_POINT, volume, L"D:\\x", true), true},
      {"a junction", mountPointData(IO_REPARSE_TAG_MOUNT_POINT, folder, L"C:\\Games"), false},
      {"a junction printed as a volume", mountPointData(IO_REPARSE_TAG_MOUNT_POINT, folder, volume), false},
      {"a junction to a folder of a volume", mountPointData(IO_REPARSE_TAG_MOUNT_POINT, volume + L"Games", L""), false},
      {"a volume without its root's backslash",
       mountPointData(IO_REPARSE_TAG_MOUNT_POINT, volume.substr(0, volume.size() - 1), L""), false},
      {"a volume whose GUID is no GUID",
       mountPointData(IO_REPARSE_TAG_MOUNT_POINT, L"\\??\\Volume{5b3a2c10-8e4f-11ee-9c1d-806e6f6e696x}\\", L""), false},
      {"a symbolic link to a volume", mountPointData(IO_REPARSE_TAG_SYMLINK, volume, L""), false},
      {"a name shorter than the prefix", mountPointData(IO_REPARSE_TAG_MOUNT_POINT, L"\\??\\Vol", L""), false},
      {"data cut inside the name", whole.substr(0, 16 + 10), false},
      {"no more than the header", whole.substr(0, 15), false},
  };
  for (const auto& c : cases) EXPECT_EQ(reparseDataNamesVolume(c.data.data(), c.data.size()), c.volume) << c.label;
}

TEST(FailureMessage, NamesTheArchiveTheFolderAndTheLikelyCause) {
  struct Case {
    DWORD error;
    const char* cause;
  } cases[] = {
      {ERROR_ACCESS_DENIED, "管理员身份运行"},
      {ERROR_SHARING_VIOLATION, "被其他程序占用"},
      {ERROR_PATH_NOT_FOUND, "游戏目录不存在"},
      {ERROR_FILE_NOT_FOUND, "游戏目录不存在"},
      {ERROR_DISK_FULL, "磁盘空间不足"},
      {ERROR_HANDLE_DISK_FULL, "磁盘空间不足"},
      {ERROR_FILENAME_EXCED_RANGE, "路径太长"},
      {1234, "错误代码：1234"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(failureCause(c.error).find(c.cause), runtime::Text::npos) << c.error;
  }

  // Something in the way is named with its path, and the administrator advice is not given.
  const payload::EmbeddedArchive& extras = payload::embeddedArchives()[1];
  const struct Obstacle {
    unzip::FailureCause obstacle;
    const char* blocker;
    const char* cause;
  } obstacles[] = {
      {unzip::FailureCause::FileInTheWay, "D:\\G\\Unturned\\Extras\\Maps", "一个文件与要建立的文件夹同名"},
      {unzip::FailureCause::FolderInTheWay, "D:\\G\\Unturned\\Extras\\a.dat", "一个文件夹与要写入的文件同名"},
      {unzip::FailureCause::PathTooLong, "D:\\G\\Unturned\\Extras\\长", "路径太长"},
  };
  for (const Obstacle& o : obstacles) {
    InstallFailure failure{&extras, InstallStep::Unpack, "D:\\G\\Unturned\\Extras", ERROR_ALREADY_EXISTS};
    failure.obstacle = o.obstacle;
    failure.blocker = o.blocker;
    const runtime::Text text = failureMessage(failure);
    EXPECT_NE(text.find(o.cause), runtime::Text::npos) << o.blocker;
    EXPECT_NE(text.find(runtime::joinText("\r\n", o.blocker, "\r\n")), runtime::Text::npos) << o.blocker;
    EXPECT_EQ(text.find("管理员身份运行"), runtime::Text::npos) << o.blocker;
  }

  const payload::EmbeddedArchive& maps = payload::embeddedArchives()[3];
  const InstallFailure unpack{&maps, InstallStep::Unpack, "D:\\Game\\Unturned\\Maps", ERROR_ACCESS_DENIED};
  const runtime::Text text = failureMessage(unpack);
  EXPECT_EQ(text.rfind("汉化失败！", 0), 0u);
  EXPECT_NE(text.find("Maps.zip"), runtime::Text::npos);
  EXPECT_NE(text.find("D:\\Game\\Unturned\\Maps"), runtime::Text::npos);
  EXPECT_NE(text.find("管理员身份运行"), runtime::Text::npos);

  const InstallFailure write{&payload::embeddedArchives()[0], InstallStep::Write, "D:\\x\\Translations.zip",
                             ERROR_PATH_NOT_FOUND};
  EXPECT_NE(failureMessage(write).find("未能写入汉化文件“Translations.zip”"), runtime::Text::npos);
}

}  // namespace
}  // namespace installer
