#include <gtest/gtest.h>

#include <string>

#include "unzip/entry_names.h"

namespace {

TEST(EntryNames, NamesThatLeaveTheTargetOrThatWindowsCannotMakeAreRefused) {
  struct Row {
    std::string name;
    bool usable;
  };
  const Row rows[] = {
      // The required refusals.
      {"../x", false},
      {"a/../../x", false},
      {"/x", false},
      {"\\x", false},
      {"C:\\x", false},
      {"C:x", false},
      {"\\\\server\\s\\x", false},
      {"a/b/../../../c", false},
      {"\\\\?\\C:\\x", false},
      {"\\\\.\\PhysicalDrive0", false},
      // Parent references in other spellings that Windows reads the same way.
      {"..", false},
      {"a/..", false},
      {"a\\..\\..\\x", false},
      {"a/.../b", false},
      {"a/.. /b", false},
      {"a/ ../b", false},
      {"a/. ./b", false},
      // Streams and devices.
      {"a/x:stream", false},
      {"CON", false},
      {"a/con.txt", false},
      {"LPT1", false},
      {"dir/com9.log", false},
      {"nul ", false},
      {"Aux.dat", false},
      // Characters no Windows name holds, as characters of their own.
      {"a<b", false},
      {"a>b", false},
      {"a\"b", false},
      {"a|b", false},
      {"a?b", false},
      {"a*", false},
      {"a\tb", false},
      {"a/\x1f", false},
      // Not well formed GBK: UTF-8 "中" (E4 B8 AD) leaves the lead byte AD before "/".
      {"\xE4\xB8\xAD/", false},
      {"\xE4\xB8\xAD/x.txt", false},
      {"a\x95", false},
      {"a\x95\x7f", false},
      // A folder component ending in a dot or a space; the last component is trimmed.
      {"a./x", false},
      {"a /x", false},
      {"Maps/a./", false},
      {"a.", true},
      {"b ", true},
      // Plain relative names stay.
      {"Schinese.translation", true},
      {"Maps/PEI_Space/Schinese.dat", true},
      {"Maps/", true},
      {"./a", true},
      {"a/./b", true},
      {"a//b", true},
      {".hidden", true},
      {"a..b", true},
      {"..a", true},
      {"a/...txt", true},
      {"console", true},
      {"com0", true},
      {"comx.txt", true},
      {"地图/太空站.dat", true},
      // GBK: "乗" is 0x81 0x5C; its trail byte is no backslash.
      {"乗..", true},
      {"乗\\..\\x", false},
      {"乗/../x", false},
      // "乗" is no folder, "亅" (81 7C) holds no "|".
      {"乗/x", true},
      {"\x81\x7C.dat", true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(unzip::isUsableEntryName(row.name.c_str()), row.usable) << row.name;
  }
  EXPECT_FALSE(unzip::isUsableEntryName(nullptr));
}

}  // namespace
