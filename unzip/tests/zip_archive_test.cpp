#include <gtest/gtest.h>

#include <cstring>

#include "runtime/text.h"
#include "unzip/entry_times.h"
#include "unzip/tests/test_support.h"
#include "unzip/zip_archive.h"

namespace {

using unzip::ZipEntry;
using unzip::ZipResult;
using unziptest::Bytes;
using unziptest::TestEntry;

// Writes the archive into a fresh folder and opens it.
struct OpenedArchive {
  explicit OpenedArchive(const std::string& name, const Bytes& bytes) {
    folder = unziptest::freshFolder(name);
    path = folder + "\\a.zip";
    unziptest::writeFile(path, bytes);
    archive = unzip::openArchive(path, &why);
  }
  std::string folder;
  std::string path;
  ZipResult why = ZipResult::Ok;
  std::unique_ptr<unzip::ZipArchive> archive;
};

TestEntry fileEntry(const std::string& name, const Bytes& data, uint16_t method = 8) {
  TestEntry entry;
  entry.name = name;
  entry.data = data;
  entry.method = method;
  return entry;
}

Bytes pattern(size_t size) {
  Bytes out(size, '\0');
  uint32_t x = 12345;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245 + 12345;
    out[i] = static_cast<char>((i % 7 == 0) ? (x >> 16) : 'a' + i % 13);
  }
  return out;
}

TEST(OpenArchive, FailuresAreReported) {
  const std::string folder = unziptest::freshFolder("za_open");
  ZipResult why = ZipResult::Ok;
  EXPECT_EQ(unzip::openArchive(folder + "\\missing.zip", &why), nullptr);
  EXPECT_EQ(why, ZipResult::CannotOpenFile);

  unziptest::writeFile(folder + "\\junk.zip", Bytes("PK\x03\x04 not really an archive, no end record", 44));
  EXPECT_EQ(unzip::openArchive(folder + "\\junk.zip", &why), nullptr);
  EXPECT_EQ(why, ZipResult::CorruptEntry);
}

TEST(OpenArchive, RootDirectoryIsTheCurrentFolderWithABackslash) {
  OpenedArchive opened("za_root", unziptest::buildZip({fileEntry("x", "1")}).bytes);
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  std::string expected = runtime::toUtf8(current);
  if (expected.back() != '\\') expected += '\\';
  ASSERT_TRUE(opened.archive);
  EXPECT_EQ(opened.archive->rootDirectory(), expected);
  opened.archive.reset();

  // A current folder and an archive whose names no ANSI code page holds whole.
  const std::string unicode = opened.folder + "\\게임 🎮";
  ASSERT_TRUE(CreateDirectoryW(runtime::toWide(unicode).c_str(), nullptr));
  ASSERT_TRUE(MoveFileW(runtime::toWide(opened.path).c_str(), runtime::toWide(unicode + "\\게임.zip").c_str()));
  ASSERT_TRUE(SetCurrentDirectoryW(runtime::toWide(unicode).c_str()));
  auto reopened = unzip::openArchive(unicode + "\\게임.zip");
  SetCurrentDirectoryW(current);
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->rootDirectory(), unicode + "\\");
}

TEST(GetEntry, SummaryRangeCacheAndWalkingBack) {
  std::vector<TestEntry> entries = {unziptest::folderEntry("Maps/", 0x30), fileEntry("Maps/a.txt", "alpha"),
                                    fileEntry("Maps/b.txt", pattern(3000), 0), fileEntry("c.bin", "")};
  entries[1].external = 0x21;
  OpenedArchive opened("za_get", unziptest::buildZip(entries).bytes);
  ASSERT_TRUE(opened.archive);
  unzip::ZipArchive& archive = *opened.archive;

  ZipEntry summary;
  summary.name = "stale";
  summary.attributes = 7;
  ASSERT_EQ(archive.getEntry(-1, summary), ZipResult::Ok);
  EXPECT_EQ(summary.index, 4);
  EXPECT_EQ(summary.name, "");
  EXPECT_EQ(summary.attributes, 0u);

  ZipEntry entry;
  for (int32_t outside : {-2, 4, 5, 1000}) EXPECT_EQ(archive.getEntry(outside, entry), ZipResult::BadArgument) << outside;

  struct Row {
    int32_t index;
    const char* name;
    uint32_t attributes;
    int32_t uncompressed;
  };
  // Forward, the same again, back to a lower index, forward again.
  const Row rows[] = {{2, "Maps/b.txt", 0xA1, 3000}, {2, "Maps/b.txt", 0xA1, 3000}, {0, "Maps/", 0xB1, 0},
                      {1, "Maps/a.txt", 0xA1, 5},    {3, "c.bin", 0xA1, 0},        {1, "Maps/a.txt", 0xA1, 5}};
  for (const Row& row : rows) {
    ASSERT_EQ(archive.getEntry(row.index, entry), ZipResult::Ok) << row.index;
    EXPECT_EQ(entry.index, row.index);
    EXPECT_EQ(entry.name, row.name);
    EXPECT_EQ(entry.attributes, row.attributes) << row.name;
    EXPECT_EQ(entry.uncompressedSize, row.uncompressed) << row.name;
  }
  ZipEntry again;
  ASSERT_EQ(archive.getEntry(1, again), ZipResult::Ok);
  EXPECT_EQ(again.index, entry.index);
  EXPECT_EQ(again.name, entry.name);
  EXPECT_EQ(again.attributes, entry.attributes);
  for (auto time : {&ZipEntry::accessTime, &ZipEntry::creationTime, &ZipEntry::writeTime}) {
    EXPECT_EQ(unziptest::ticks(again.*time), unziptest::ticks(entry.*time));
  }
  EXPECT_EQ(again.compressedSize, entry.compressedSize);
  EXPECT_EQ(archive.closeArchive(), ZipResult::Ok);
  EXPECT_EQ(archive.getEntry(0, entry), ZipResult::BadArgument);
}

TEST(GetEntry, TimesComeFromDosFieldsOrTheUtBlock) {
  std::vector<TestEntry> entries = {fileEntry("dos", "1"), fileEntry("ut1", "2"), fileEntry("ut7", "3"),
                                    fileEntry("ntfs-then-ut", "4"), fileEntry("bad-dos", "5")};
  entries[0].dosDateTime = unziptest::dosDateTime(2019, 12, 31, 23, 59, 58);
  entries[1].localExtra = unziptest::utBlock(1, {1600000000});
  entries[2].localExtra = unziptest::utBlock(7, {1600000000, 1600003600, 1500000000});
  entries[3].localExtra = unziptest::extraBlock(0x000A, Bytes(32, '\0')) + unziptest::utBlock(1, {1600000000});
  entries[3].centralExtra = unziptest::utBlock(1, {1234567890});  // only the local field is read
  entries[4].dosDateTime = unziptest::dosDateTime(2021, 0, 1, 0, 0, 0);
  OpenedArchive opened("za_times", unziptest::buildZip(entries).bytes);
  ASSERT_TRUE(opened.archive);

  const uint64_t dos = unziptest::ticks(unziptest::fileTimeOf(2019, 12, 31, 23, 59, 58));
  const uint64_t base = unziptest::ticks(unziptest::fileTimeOf(2021, 3, 4, 5, 4, 6));
  const uint64_t w = unziptest::ticks(unzip::unixTimeToFileTime(1600000000));
  const uint64_t a = unziptest::ticks(unzip::unixTimeToFileTime(1600003600));
  const uint64_t c = unziptest::ticks(unzip::unixTimeToFileTime(1500000000));
  struct Row {
    int32_t index;
    uint64_t write, access, creation;
  };
  const Row rows[] = {{0, dos, dos, dos}, {1, w, base, base}, {2, w, a, c}, {3, w, base, base}, {4, 0, 0, 0}};
  for (const Row& row : rows) {
    ZipEntry entry;
    ASSERT_EQ(opened.archive->getEntry(row.index, entry), ZipResult::Ok);
    EXPECT_EQ(unziptest::ticks(entry.writeTime), row.write) << entry.name;
    EXPECT_EQ(unziptest::ticks(entry.accessTime), row.access) << entry.name;
    EXPECT_EQ(unziptest::ticks(entry.creationTime), row.creation) << entry.name;
  }
}

TEST(GetEntry, DamagedOrUnsupportedEntriesAreRefused) {
  struct Row {
    const char* what;
    std::function<void(unziptest::BuiltArchive&)> damage;
    ZipResult expected;
  };
  const auto local = [](unziptest::BuiltArchive& b) { return b.localOffsets[1]; };
  const auto central = [](unziptest::BuiltArchive& b) { return b.centralOffsets[1]; };
  const Row rows[] = {
      {"intact", [](unziptest::BuiltArchive&) {}, ZipResult::Ok},
      {"local signature", [&](unziptest::BuiltArchive& b) { b.bytes[local(b)] = 'Q'; }, ZipResult::CorruptEntry},
      {"local method differs", [&](unziptest::BuiltArchive& b) { unziptest::put16(b.bytes, local(b) + 8, 0); },
       ZipResult::CorruptEntry},
      {"local CRC differs", [&](unziptest::BuiltArchive& b) { unziptest::put32(b.bytes, local(b) + 14, 1); },
       ZipResult::CorruptEntry},
      {"local CRC differs under bit 3",
       [&](unziptest::BuiltArchive& b) {
         unziptest::put16(b.bytes, local(b) + 6, 8);
         unziptest::put32(b.bytes, local(b) + 14, 0);
       },
       ZipResult::Ok},
      {"local compressed size differs", [&](unziptest::BuiltArchive& b) { unziptest::put32(b.bytes, local(b) + 18, 3); },
       ZipResult::CorruptEntry},
      {"local name length differs", [&](unziptest::BuiltArchive& b) { unziptest::put16(b.bytes, local(b) + 26, 2); },
       ZipResult::CorruptEntry},
      {"local extra field past the file end",
       [&](unziptest::BuiltArchive& b) { unziptest::put16(b.bytes, local(b) + 28, 0xFFFF); }, ZipResult::ReadFailed},
      {"local header offset past the file end",
       [&](unziptest::BuiltArchive& b) { unziptest::put32(b.bytes, central(b) + 42, 0x00FFFFFF); },
       ZipResult::CorruptEntry},
      {"bzip2 method", [&](unziptest::BuiltArchive& b) {
         unziptest::put16(b.bytes, local(b) + 8, 12);
         unziptest::put16(b.bytes, central(b) + 10, 12);
       }, ZipResult::CorruptEntry},
      {"method 14", [&](unziptest::BuiltArchive& b) {
         unziptest::put16(b.bytes, local(b) + 8, 14);
         unziptest::put16(b.bytes, central(b) + 10, 14);
       }, ZipResult::CorruptEntry},
      {"encrypted", [&](unziptest::BuiltArchive& b) {
         unziptest::put16(b.bytes, local(b) + 6, 1);
         unziptest::put16(b.bytes, central(b) + 8, 1);
       }, ZipResult::CorruptEntry},
      {"zero byte in the name", [&](unziptest::BuiltArchive& b) {
         b.bytes[local(b) + 31] = 0;
         b.bytes[central(b) + 47] = 0;
       }, ZipResult::CorruptEntry},
      {"central record signature", [&](unziptest::BuiltArchive& b) { b.bytes[central(b)] = 'Q'; },
       ZipResult::CorruptEntry},
  };
  for (const Row& row : rows) {
    unziptest::BuiltArchive built = unziptest::buildZip({fileEntry("first.txt", "one"), fileEntry("second.txt", "two")});
    row.damage(built);
    OpenedArchive opened("za_damage", built.bytes);
    ASSERT_TRUE(opened.archive) << row.what;
    ZipEntry entry;
    EXPECT_EQ(opened.archive->getEntry(0, entry), ZipResult::Ok) << row.what;
    EXPECT_EQ(opened.archive->getEntry(1, entry), row.expected) << row.what;
  }
}

TEST(GetEntry, NamesOf260BytesOrMoreAreRefusedWhole) {
  for (size_t length : {259u, 260u, 300u, 1000u}) {
    OpenedArchive opened("za_long", unziptest::buildZip({fileEntry(std::string(length, 'n'), "x")}).bytes);
    ASSERT_TRUE(opened.archive);
    ZipEntry entry;
    const ZipResult result = opened.archive->getEntry(0, entry);
    if (length < 260) {
      EXPECT_EQ(result, ZipResult::Ok);
      EXPECT_EQ(entry.name.size(), length);
    } else {
      EXPECT_EQ(result, ZipResult::CorruptEntry) << length;
    }
  }
}

TEST(UnzipEntry, StoredAndDeflatedDataOfManyPieces) {
  const Bytes big = pattern(100000);  // several 16384-byte pieces
  OpenedArchive opened("za_data", unziptest::buildZip({fileEntry("stored", big, 0), fileEntry("deflated", big, 8),
                                                       fileEntry("small", "tiny", 8), fileEntry("empty", "", 0)})
                                      .bytes);
  ASSERT_TRUE(opened.archive);
  const struct {
    int32_t index;
    Bytes expected;
  } rows[] = {{0, big}, {1, big}, {2, "tiny"}, {3, ""}};
  for (const auto& row : rows) {
    const std::string target = opened.folder + "\\out" + std::to_string(row.index);
    ASSERT_EQ(opened.archive->unzipEntry(row.index, target), ZipResult::Ok) << row.index;
    Bytes got;
    ASSERT_TRUE(unziptest::readFile(target, got));
    EXPECT_EQ(got, row.expected) << row.index;
  }
  EXPECT_EQ(opened.archive->unzipEntry(4, opened.folder + "\\out4"), ZipResult::BadArgument);
  EXPECT_EQ(opened.archive->unzipEntry(-1, opened.folder + "\\outm"), ZipResult::BadArgument);
}

TEST(UnzipEntry, AnEmptyFileGetsItsTimesAndTheEntryAttributes) {
  std::vector<TestEntry> entries = {fileEntry("empty", "", 0), fileEntry("readonly", "r", 8)};
  entries[0].localExtra = unziptest::utBlock(7, {1600000000, 1600003600, 1500000000});
  entries[1].external = 0x21;
  OpenedArchive opened("za_empty", unziptest::buildZip(entries).bytes);
  ASSERT_TRUE(opened.archive);
  const std::string target = opened.folder + "\\empty.txt";
  ASSERT_EQ(opened.archive->unzipEntry(0, target), ZipResult::Ok);
  FILETIME creation, access, write;
  ASSERT_TRUE(unziptest::timesOf(target, creation, access, write));
  EXPECT_EQ(unziptest::ticks(write), unziptest::ticks(unzip::unixTimeToFileTime(1600000000)));
  EXPECT_EQ(unziptest::ticks(access), unziptest::ticks(unzip::unixTimeToFileTime(1600003600)));
  // The creation time is not checked on disk: Wine keeps none of its own on Linux.

  const std::string readOnly = opened.folder + "\\readonly.txt";
  ASSERT_EQ(opened.archive->unzipEntry(1, readOnly), ZipResult::Ok);
  EXPECT_EQ(unziptest::attributesOf(readOnly) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
            DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(unziptest::listTree(opened.folder), (std::vector<std::string>{"a.zip", "empty.txt", "readonly.txt"}));
}

TEST(UnzipEntry, FailedEntriesKeepTheOldFileAndLeaveNoTemporaryFile) {
  const Bytes data = pattern(50000);
  struct Row {
    const char* what;
    std::function<void(unziptest::BuiltArchive&)> damage;
    bool badCrc;
    ZipResult expected;
  };
  const Row rows[] = {
      {"intact", [](unziptest::BuiltArchive&) {}, false, ZipResult::Ok},
      {"CRC-32 mismatch", [](unziptest::BuiltArchive&) {}, true, ZipResult::WriteFailed},
      {"deflate data damaged",
       [](unziptest::BuiltArchive& b) {
         for (size_t i = 0; i < 40; ++i) b.bytes[b.dataOffsets[0] + 200 + i] ^= 0x55;
       },
       false, ZipResult::WriteFailed},
      {"data ends before the declared size",
       [](unziptest::BuiltArchive& b) {
         for (size_t offset : {b.localOffsets[0] + 22, b.centralOffsets[0] + 24}) unziptest::put32(b.bytes, offset, 50001);
       },
       false, ZipResult::WriteFailed},
      {"declared size shorter than the data",
       [](unziptest::BuiltArchive& b) {
         for (size_t offset : {b.localOffsets[0] + 22, b.centralOffsets[0] + 24}) unziptest::put32(b.bytes, offset, 49999);
       },
       false, ZipResult::WriteFailed},
  };
  // Without an old file the target is written straight, with one through a temporary file.
  // A held old file is open in another handle, without sharing or sharing reading and
  // deletion (as a game may hold its assets): its replacement fails.
  enum class Old { None, Plain, ReadOnly, Held, HeldReadOnly, HeldSharingDelete };
  const char* const oldNames[] = {", no old file", ", old file", ", read-only old file", ", held old file",
                                  ", held read-only old file", ", old file held sharing deletion"};
  for (const Row& row : rows) {
    for (Old old : {Old::None, Old::Plain, Old::ReadOnly, Old::Held, Old::HeldReadOnly, Old::HeldSharingDelete}) {
      const std::string what = std::string(row.what) + oldNames[static_cast<int>(old)];
      const bool held = old == Old::Held || old == Old::HeldReadOnly || old == Old::HeldSharingDelete;
      const bool readOnly = old == Old::ReadOnly || old == Old::HeldReadOnly;
      TestEntry entry = fileEntry("data.bin", data, 8);
      entry.badCrc = row.badCrc;
      unziptest::BuiltArchive built = unziptest::buildZip({entry});
      row.damage(built);
      OpenedArchive opened("za_keep", built.bytes);
      ASSERT_TRUE(opened.archive) << what;
      const std::string target = opened.folder + "\\data.bin";
      const Bytes oldBytes = "the previous file, known bytes";
      if (old != Old::None) unziptest::writeFile(target, oldBytes);
      if (readOnly) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
      const DWORD share = old == Old::HeldSharingDelete ? FILE_SHARE_READ | FILE_SHARE_DELETE : 0;
      HANDLE holder = held ? CreateFileA(target.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
      // Complete data meet the holder only at the move, which names it.
      const ZipResult expected = held && row.expected == ZipResult::Ok ? ZipResult::CannotOpenFile : row.expected;
      EXPECT_EQ(opened.archive->unzipEntry(0, target, FILE_ATTRIBUTE_NORMAL), expected) << what;
      if (expected == ZipResult::CannotOpenFile) {
        EXPECT_EQ(opened.archive->outputError(), DWORD(ERROR_SHARING_VIOLATION)) << what;
      }
      if (held) CloseHandle(holder);
      const bool written = expected == ZipResult::Ok;
      Bytes got;
      EXPECT_EQ(unziptest::readFile(target, got), written || old != Old::None) << what;
      EXPECT_EQ(got, written ? data : old == Old::None ? "" : oldBytes) << what;
      // A failed entry leaves the old file as it was, its attributes included.
      if (written || (old != Old::None && !readOnly)) {
        EXPECT_TRUE(unziptest::hasNormalAttributes(target)) << what;
      }
      if (!written && readOnly) {
        EXPECT_NE(unziptest::attributesOf(target) & FILE_ATTRIBUTE_READONLY, 0u) << what;
      }
      EXPECT_EQ(unziptest::listTree(opened.folder), (written || old != Old::None
                                                         ? std::vector<std::string>{"a.zip", "data.bin"}
                                                         : std::vector<std::string>{"a.zip"}))
          << what;
    }
  }
}

// True when the file system keeps a creation time of its own (NTFS does; Wine on Linux
// reports the last write time instead).
bool keepsCreationTimes(const std::string& folder) {
  const std::string probe = folder + "\\creation.probe";
  unziptest::writeFile(probe, "x");
  const FILETIME creation = unzip::unixTimeToFileTime(1500000000), write = unzip::unixTimeToFileTime(1600000000);
  HANDLE file = CreateFileA(probe.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, &creation, nullptr, &write);
  CloseHandle(file);
  FILETIME c, a, w;
  const bool kept = unziptest::timesOf(probe, c, a, w) && unziptest::ticks(c) == unziptest::ticks(creation);
  DeleteFileA(probe.c_str());
  return kept;
}

TEST(UnzipEntry, AWrittenFileCarriesTheEntryTimesAlsoWhereItReplacesOne) {
  TestEntry entry = fileEntry("data.bin", "new data");
  entry.localExtra = unziptest::utBlock(7, {1600000000, 1600003600, 1500000000});
  OpenedArchive opened("za_times_replaced", unziptest::buildZip({entry}).bytes);
  ASSERT_TRUE(opened.archive);
  const bool creationKept = keepsCreationTimes(opened.folder);
  const struct {
    const char* what;
    DWORD oldAttributes;  // 0: no old file
  } rows[] = {{"no old file", 0},
              {"old file", FILE_ATTRIBUTE_NORMAL},
              {"read-only old file", FILE_ATTRIBUTE_READONLY},
              {"read-only hidden system old file", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}};
  for (const auto& row : rows) {
    const std::string target = opened.folder + "\\" + row.what;
    if (row.oldAttributes != 0) {
      unziptest::writeFile(target, "old");
      // The old file's own creation time, which the name would hand on to the new file.
      HANDLE file = CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      const FILETIME oldTime = unzip::unixTimeToFileTime(1000000000);
      SetFileTime(file, &oldTime, &oldTime, &oldTime);
      CloseHandle(file);
      SetFileAttributesA(target.c_str(), row.oldAttributes);
    }
    ASSERT_EQ(opened.archive->unzipEntry(0, target, FILE_ATTRIBUTE_NORMAL), ZipResult::Ok) << row.what;
    FILETIME creation, access, write;
    ASSERT_TRUE(unziptest::timesOf(target, creation, access, write)) << row.what;
    EXPECT_EQ(unziptest::ticks(write), unziptest::ticks(unzip::unixTimeToFileTime(1600000000))) << row.what;
    EXPECT_EQ(unziptest::ticks(access), unziptest::ticks(unzip::unixTimeToFileTime(1600003600))) << row.what;
    if (creationKept) {
      EXPECT_EQ(unziptest::ticks(creation), unziptest::ticks(unzip::unixTimeToFileTime(1500000000))) << row.what;
    }
    // Set with the times in one call: FILE_ATTRIBUTE_NORMAL on Windows. Wine reports
    // FILE_ATTRIBUTE_ARCHIVE for every plain file, so here only the absence of the old
    // read-only, hidden and system bits is seen, not NORMAL against ARCHIVE.
    EXPECT_TRUE(unziptest::hasNormalAttributes(target)) << row.what;
    Bytes got;  // read after the times: reading may move the access time
    EXPECT_TRUE(unziptest::readFile(target, got));
    EXPECT_EQ(got, "new data") << row.what;
  }
  EXPECT_EQ(unziptest::listTree(opened.folder).size(), 5u);  // a.zip and the four targets, nothing else
}

TEST(UnzipEntry, TargetsThatCannotBeWritten) {
  OpenedArchive opened("za_targets", unziptest::buildZip({fileEntry("f", "data")}).bytes);
  ASSERT_TRUE(opened.archive);
  CreateDirectoryA((opened.folder + "\\folder").c_str(), nullptr);
  unziptest::writeFile(opened.folder + "\\folder\\inside", "keep");
  const std::string rows[] = {
      opened.folder + "\\missing\\f",  // absolute target: its folder is not created here
      opened.folder + "\\folder\\",    // a name ending in a separator
      opened.folder + "\\folder",      // an existing folder
      opened.folder + "\\" + std::string(260, 'x'),
  };
  for (const std::string& target : rows) {
    EXPECT_EQ(opened.archive->unzipEntry(0, target), ZipResult::CannotOpenFile) << target;
  }
  EXPECT_EQ(unziptest::listTree(opened.folder), (std::vector<std::string>{"a.zip", "folder\\", "folder\\inside"}));
}

TEST(UnzipEntry, ExistingFileIsReplacedWhole) {
  OpenedArchive opened("za_replace", unziptest::buildZip({fileEntry("f", "new")}).bytes);
  ASSERT_TRUE(opened.archive);
  const std::string target = opened.folder + "\\f.txt";
  unziptest::writeFile(target, Bytes(10000, 'o'));
  ASSERT_EQ(opened.archive->unzipEntry(0, target), ZipResult::Ok);
  Bytes got;
  ASSERT_TRUE(unziptest::readFile(target, got));
  EXPECT_EQ(got, "new");
}

TEST(UnzipEntry, RelativeTargetsGetTheirFoldersBelowTheRootDirectory) {
  OpenedArchive opened("za_relative", unziptest::buildZip({fileEntry("f", "data"), unziptest::folderEntry("made/")}).bytes);
  ASSERT_TRUE(opened.archive);
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(runtime::toWide(opened.folder).c_str()));
  auto reopened = unzip::openArchive("a.zip");
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->unzipEntry(0, "one/two/f.txt"), ZipResult::Ok);
  EXPECT_EQ(reopened->unzipEntry(0, "three\\f.txt"), ZipResult::Ok);
  EXPECT_EQ(reopened->unzipEntry(0, "../up/f.txt"), ZipResult::CannotOpenFile);  // no folder made outside
  EXPECT_EQ(reopened->unzipEntry(1, "ignored"), ZipResult::Ok);                  // a folder entry: its own name
  reopened.reset();
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(unziptest::listTree(opened.folder),
            (std::vector<std::string>{"a.zip", "made\\", "one\\", "one\\two\\", "one\\two\\f.txt", "three\\",
                                      "three\\f.txt"}));
  EXPECT_FALSE(unziptest::isFolder("D:\\up"));
}

}  // namespace
