#include <gtest/gtest.h>

#include <string>

#include "unzip/entry_names.h"

namespace {

TEST(EntryNames, NamesThatLeaveTheTargetAreRefused) {
  struct Row {
    std::string name;
    bool confined;
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
      {"乗..\\x", true},
      {"乗\\..\\x", false},
      {"乗/../x", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(unzip::isConfinedEntryName(row.name.c_str()), row.confined) << row.name;
  }
  EXPECT_FALSE(unzip::isConfinedEntryName(nullptr));
}

}  // namespace
