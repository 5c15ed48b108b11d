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
      {"LPT²", false},   // Windows reads the superscript digits as digits
      {"com¹.txt", false},
      {"com⁴", true},
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
      {"a\x7f", true},
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
      {"게임/🎮.dat", true},
      {"地图/a:b", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(unzip::isUsableEntryName(row.name), row.usable) << row.name;
  }
  EXPECT_FALSE(unzip::isUsableEntryName(std::string("a\0b", 3)));
}

// Names without the UTF-8 flag are code page 936 whatever the system's code page; with it,
// UTF-8. Bytes that are not well formed in their encoding decode to nothing.
TEST(EntryNames, DecodedByTheirFlag) {
  struct Row {
    std::string stored;
    uint32_t flags;
    bool wellFormed;
    std::string name;  // UTF-8
  };
  const Row rows[] = {
      {"Maps/PEI/Schinese.dat", 0, true, "Maps/PEI/Schinese.dat"},
      {"Maps/PEI/Schinese.dat", unzip::kUtf8NameFlag, true, "Maps/PEI/Schinese.dat"},
      {"\xB5\xD8\xCD\xBC/\x81\x5C.txt", 0, true, "地图/乗.txt"},  // 乗 is 81 5C in 936
      {"\xE5\x9C\xB0\xE5\x9B\xBE/", unzip::kUtf8NameFlag, true, "地图/"},
      {"\xEA\xB2\x8C\xEC\x9E\x84/\xF0\x9F\x8E\xAE", unzip::kUtf8NameFlag | 0x0008, true, "게임/🎮"},
      // UTF-8 bytes without the flag: E4 B8 AD is no 936 text (AD is a lead byte without
      // its trail byte before "/").
      {"\xE4\xB8\xAD/", 0, false, ""},
      {"a\x95", 0, false, ""},
      {"\xB5\xD8/", unzip::kUtf8NameFlag, false, ""},  // 936 bytes with the flag
      {"\xED\xA0\x80", unzip::kUtf8NameFlag, false, ""},  // an encoded surrogate
      {"\xC0\xAF", unzip::kUtf8NameFlag, false, ""},  // an overlong "/"
      {"", 0, true, ""},
  };
  for (const Row& row : rows) {
    std::string name = "stale";
    EXPECT_EQ(unzip::decodeEntryName(row.stored.data(), row.stored.size(), row.flags, name), row.wellFormed)
        << row.name;
    EXPECT_EQ(name, row.name) << row.name;
  }
}

}  // namespace
