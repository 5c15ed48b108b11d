// The embedded catalogue: rows, names, and constants that hold exactly the bytes of the
// payload files (figures from expected_payload.h, computed from the same files at build
// time), lying in the image's read-only data and writing out intact.
#include <windows.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "expected_payload.h"
#include "payload/catalogue.h"
#include "runtime/bytes.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "runtime/handles.h"

namespace {

using payload_expected::FileDigest;

struct Row {
  const char* archiveFileName;
  const char* targetFolderName;
  FileDigest digest;
};

const Row kRows[payload::kEmbeddedArchiveCount] = {
    {"\\Translations.zip", "\\Translations", payload_expected::kTranslationsZip},
    {"\\Extras.zip", "\\Extras", payload_expected::kExtrasZip},
    {"\\Localization.zip", "\\Localization", payload_expected::kLocalizationZip},
    {"\\Maps.zip", "\\Maps", payload_expected::kMapsZip},
    {"\\Bundles.zip", "\\Bundles", payload_expected::kBundlesZip},
};

uint32_t crcOf(const runtime::ByteSetHeader* block) {
  return static_cast<uint32_t>(crc32(0, block->data(), static_cast<uInt>(block->count)));
}

// The entry count of the end-of-central-directory record in the last 22 bytes, -1 if none.
int32_t endRecordEntries(const runtime::ByteSetHeader* block) {
  if (block->count < 22) return -1;
  const uint8_t* end = block->data() + block->count - 22;
  if (std::memcmp(end, "PK\x05\x06", 4) != 0) return -1;
  return end[10] | (end[11] << 8);
}

void expectBlockMatches(const runtime::ByteSetHeader* block, const FileDigest& digest) {
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->dimensions, 1);
  EXPECT_EQ(block->count, digest.size);
  EXPECT_EQ(crcOf(block), digest.crc32);
  ASSERT_GE(block->count, 4);
  EXPECT_EQ(std::memcmp(block->data(), "PK\x03\x04", 4), 0) << "local header signature";
  EXPECT_EQ(endRecordEntries(block), digest.entries);
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
  runtime::FileHandle file = runtime::openExisting(path.c_str(), GENERIC_READ, FILE_SHARE_READ);
  std::vector<uint8_t> bytes;
  if (!file) return bytes;
  uint8_t buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return bytes;
}

void expectWritesIntact(const runtime::ByteSetHeader* block, const std::string& path) {
  runtime::ByteSet constant = runtime::ByteSet::constant(block);
  ASSERT_TRUE(runtime::writeFile(path, {constant.view()})) << path;
  std::vector<uint8_t> back = readWholeFile(path);
  ASSERT_EQ(back.size(), static_cast<size_t>(block->count)) << path;
  EXPECT_EQ(std::memcmp(back.data(), block->data(), back.size()), 0) << path;
  EXPECT_TRUE(runtime::deleteFile(path)) << path;
}

// True when p lies in a read-only page of this program's own image.
bool inReadOnlyImage(const void* p) {
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(p, &info, sizeof info) != sizeof info) return false;
  return info.AllocationBase == GetModuleHandleA(nullptr) && info.Type == MEM_IMAGE &&
         info.Protect == PAGE_READONLY;
}

TEST(Catalogue, RowsHaveTheirNamesInOrder) {
  const payload::EmbeddedArchive* rows = payload::embeddedArchives();
  ASSERT_NE(rows, nullptr);
  for (int i = 0; i < payload::kEmbeddedArchiveCount; ++i) {
    SCOPED_TRACE(kRows[i].archiveFileName);
    EXPECT_STREQ(rows[i].archiveFileName, kRows[i].archiveFileName);
    EXPECT_STREQ(rows[i].targetFolderName, kRows[i].targetFolderName);
    // Both are appended to a folder without a trailing backslash.
    std::string file = rows[i].archiveFileName;
    std::string folder = rows[i].targetFolderName;
    EXPECT_EQ(file.front(), '\\');
    EXPECT_NE(file.back(), '\\');
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(file, folder + ".zip");
  }
}

TEST(Catalogue, ArchiveBlocksHoldExactlyTheirFiles) {
  const payload::EmbeddedArchive* rows = payload::embeddedArchives();
  for (int i = 0; i < payload::kEmbeddedArchiveCount; ++i) {
    SCOPED_TRACE(kRows[i].archiveFileName);
    expectBlockMatches(rows[i].data, kRows[i].digest);
  }
}

TEST(Catalogue, BlocksAreDistinct) {
  const payload::EmbeddedArchive* rows = payload::embeddedArchives();
  for (int i = 0; i < payload::kEmbeddedArchiveCount; ++i) {
    EXPECT_NE(rows[i].data, payload::helpDocument());
    for (int j = i + 1; j < payload::kEmbeddedArchiveCount; ++j) EXPECT_NE(rows[i].data, rows[j].data);
  }
}

TEST(Catalogue, HelpDocumentHoldsExactlyItsFile) {
  expectBlockMatches(payload::helpDocument(), payload_expected::kHelpDocument);
}

TEST(Catalogue, HelpDocumentNameIsUtf8) {
  // As the W functions get it: 获取游戏目录.docx on every system.
  EXPECT_EQ(runtime::toWide(payload::kHelpDocumentName), L"获取游戏目录.docx");
}

TEST(Catalogue, ConstantsLieInReadOnlyImageDataAndAreNeverCopied) {
  std::vector<const runtime::ByteSetHeader*> blocks;
  for (int i = 0; i < payload::kEmbeddedArchiveCount; ++i) blocks.push_back(payload::embeddedArchives()[i].data);
  blocks.push_back(payload::helpDocument());
  for (const runtime::ByteSetHeader* block : blocks) {
    EXPECT_TRUE(inReadOnlyImage(block));
    EXPECT_TRUE(inReadOnlyImage(block->data() + block->count - 1));
    runtime::ByteSet constant = runtime::ByteSet::constant(block);
    EXPECT_EQ(constant.block(), block);
    EXPECT_EQ(constant.data(), block->data());
    EXPECT_EQ(constant.size(), block->count);
  }
}

TEST(Catalogue, EachArchiveWritesOutIntact) {
  const payload::EmbeddedArchive* rows = payload::embeddedArchives();
  for (int i = 0; i < payload::kEmbeddedArchiveCount; ++i) {
    SCOPED_TRACE(rows[i].archiveFileName);
    expectWritesIntact(rows[i].data, std::string("D:") + rows[i].archiveFileName);
  }
}

TEST(Catalogue, HelpDocumentWritesOutIntactUnderItsName) {
  expectWritesIntact(payload::helpDocument(), std::string("D:\\") + payload::kHelpDocumentName);
}

}  // namespace
