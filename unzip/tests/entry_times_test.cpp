#include <gtest/gtest.h>

#include "unzip/entry_times.h"
#include "unzip/tests/test_support.h"

namespace {

using unziptest::Bytes;
using unziptest::extraBlock;
using unziptest::fileTimeOf;
using unziptest::ticks;
using unziptest::utBlock;

TEST(AttributeMapping, StoredAttributesGiveWin32Flags) {
  struct Row {
    uint32_t external;
    uint32_t expected;
  };
  const Row rows[] = {
      {0x30, 0xB1},                          // Windows folder with archive flag
      {0x10, 0x91},                          // Windows folder
      {0x20, 0xA1},                          // Windows file
      {0x00, 0x81},                          // no flags: upper half 0 means not writable
      {0x01, 0x81},                          // read-only
      {0x02, 0x83},                          // hidden
      {0x04, 0x85},                          // system
      {0x27, 0xA7},                          // archive, system, hidden, read-only
      {0100644u << 16, 0x80},                // Unix file, owner may write
      {0100444u << 16, 0x81},                // Unix file, owner may not write
      {040755u << 16, 0x90},                 // Unix folder
      {(040755u << 16) | 0x10, 0x90},        // Unix folder with the MS-DOS flag too
      {(0100644u << 16) | 0x01, 0x81},       // MS-DOS read-only wins over the Unix mode
      {0x40000000u, 0x91},                   // bit 30 alone: folder, and not writable
  };
  for (const Row& row : rows) {
    EXPECT_EQ(unzip::mapAttributes(row.external), row.expected) << std::hex << "external 0x" << row.external;
  }
}

TEST(UnixTime, SecondsBecomeUtcCalendarTime) {
  struct Row {
    uint32_t seconds;
    int year, month, day, hour, minute, second;
  };
  const Row rows[] = {
      {0, 1970, 1, 1, 0, 0, 0},
      {951782400, 2000, 2, 29, 0, 0, 0},
      {1600000000, 2020, 9, 13, 12, 26, 40},
      {1709210096, 2024, 2, 29, 12, 34, 56},
      {0x7FFFFFFF, 2038, 1, 19, 3, 14, 7},
      // Read as unsigned: past the signed limit the times go on counting forward.
      {0x80000000u, 2038, 1, 19, 3, 14, 8},
      {4107542399u, 2100, 2, 28, 23, 59, 59},
      {0xFFFFFFFFu, 2106, 2, 7, 6, 28, 15},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ticks(unzip::unixTimeToFileTime(row.seconds)),
              ticks(fileTimeOf(row.year, row.month, row.day, row.hour, row.minute, row.second)))
        << row.seconds;
  }
}

TEST(DosTime, WallClockIsTakenAsUtcAndInvalidFieldsGiveNoTime) {
  FILETIME time;
  ASSERT_TRUE(unzip::dosDateTimeToFileTime(unziptest::dosDateTime(2021, 3, 4, 5, 6, 8), time));
  EXPECT_EQ(ticks(time), ticks(fileTimeOf(2021, 3, 4, 5, 6, 8)));
  ASSERT_TRUE(unzip::dosDateTimeToFileTime(unziptest::dosDateTime(1980, 1, 1, 0, 0, 0), time));
  EXPECT_EQ(ticks(time), ticks(fileTimeOf(1980, 1, 1, 0, 0, 0)));

  // Month 0 and month 13 do not exist.
  for (uint32_t invalid : {unziptest::dosDateTime(2021, 0, 4, 5, 6, 8), unziptest::dosDateTime(2021, 13, 4, 5, 6, 8)}) {
    time = fileTimeOf(2000, 1, 1, 0, 0, 0);
    EXPECT_FALSE(unzip::dosDateTimeToFileTime(invalid, time)) << std::hex << invalid;
    EXPECT_EQ(ticks(time), 0u);
  }
}

TEST(ExtendedTimestamp, BlocksAreFoundAndTimesTakenInStoredOrder) {
  const uint32_t w = 1600000000, a = 1600003600, c = 1500000000;
  const Bytes ntfs = extraBlock(0x000A, Bytes(32, '\x11'));
  Bytes utTruncated = utBlock(1, {w});
  utTruncated.resize(utTruncated.size() - 1);  // the field ends inside the write time
  Bytes utShortBlock = utBlock(7, {w, a, c});
  unziptest::put16(utShortBlock, 2, 5);  // the block says: flags and one time only
  utShortBlock += extraBlock(0x7875, Bytes(11, '\x01'));

  struct Row {
    const char* what;
    Bytes extra;
    bool write, access, creation;  // replaced?
  };
  const Row rows[] = {
      {"empty field", Bytes(), false, false, false},
      {"flags 1: write time only", utBlock(1, {w}), true, false, false},
      {"flags 7: write, access, creation", utBlock(7, {w, a, c}), true, true, true},
      {"flags 3 as Info-ZIP writes locally", utBlock(3, {w, a}), true, true, false},
      {"flags 2: the one time is the access time", utBlock(2, {a}), false, true, false},
      {"flags 4: the one time is the creation time", utBlock(4, {c}), false, false, true},
      {"NTFS block before the UT block", ntfs + utBlock(7, {w, a, c}), true, true, true},
      {"two blocks before, UT last", extraBlock(0x7875, Bytes(11, '\x01')) + ntfs + utBlock(1, {w}), true, false, false},
      {"only an NTFS block", ntfs, false, false, false},
      {"write time cut off by the field end", utTruncated, false, false, false},
      {"flags 7 but a block of one time", utShortBlock, true, false, false},
      {"UT block with no data", extraBlock(0x5455, Bytes()), false, false, false},
      {"a damaged block after the UT block", extraBlock(0x000A, Bytes(3, '\0')) + utBlock(1, {w}) + Bytes("\x0A\x00\xFF\xFF", 4),
       true, false, false},
      {"oversized first block hides the rest", Bytes("\x0A\x00\x40\x00", 4) + utBlock(1, {w}), false, false, false},
  };
  for (const Row& row : rows) {
    const FILETIME before = fileTimeOf(2001, 1, 1, 0, 0, 0);
    FILETIME write = before, access = before, creation = before;
    unzip::applyExtendedTimestamp(reinterpret_cast<const uint8_t*>(row.extra.data()), row.extra.size(), write, access,
                                  creation);
    EXPECT_EQ(ticks(write), ticks(row.write ? unzip::unixTimeToFileTime(w) : before)) << row.what;
    EXPECT_EQ(ticks(access), ticks(row.access ? unzip::unixTimeToFileTime(a) : before)) << row.what;
    EXPECT_EQ(ticks(creation), ticks(row.creation ? unzip::unixTimeToFileTime(c) : before)) << row.what;
  }
}

TEST(ExtendedTimestamp, OnlyTheFirstUtBlockCounts) {
  const Bytes extra = utBlock(1, {1600000000}) + utBlock(1, {1500000000});
  FILETIME write{}, access{}, creation{};
  unzip::applyExtendedTimestamp(reinterpret_cast<const uint8_t*>(extra.data()), extra.size(), write, access, creation);
  EXPECT_EQ(ticks(write), ticks(unzip::unixTimeToFileTime(1600000000)));
}

}  // namespace
