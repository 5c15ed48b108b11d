// Helpers for the extraction tests: folders on the test drive, file bytes, folder trees,
// hand-made archives and an owner that records progress events.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "unzip/extraction_owner.h"

namespace unziptest {

using Bytes = std::string;

// D:\ followed by name: removed first if present, then created empty.
std::string freshFolder(const std::string& name);
void removeTree(const std::string& path);
// The code page 936 bytes of a UTF-8 text: how Chinese zip tools store names without the
// UTF-8 flag.
std::string gbk(const std::string& utf8);
// Paths and names in these helpers are UTF-8, as in the program.
bool readFile(const std::string& path, Bytes& bytes);
bool writeFile(const std::string& path, const Bytes& bytes);
bool isFolder(const std::string& path);
bool isFile(const std::string& path);
// Every file and folder below root, relative to it, folders ending in "\", sorted.
std::vector<std::string> listTree(const std::string& root);
// Files below root by relative path, with their bytes.
std::map<std::string, Bytes> readTree(const std::string& root);
// The folder of the test program, ending in "\".
std::string programFolder();
DWORD attributesOf(const std::string& path);
// No read-only, hidden or system flag left: a file set to FILE_ATTRIBUTE_NORMAL reads back
// as 0x80 on Windows, and Wine reports FILE_ATTRIBUTE_ARCHIVE for every plain file.
bool hasNormalAttributes(const std::string& path);
// Creation, access and write times of a file; false when it cannot be read.
bool timesOf(const std::string& path, FILETIME& creation, FILETIME& access, FILETIME& write);
FILETIME fileTimeOf(int year, int month, int day, int hour, int minute, int second);
uint64_t ticks(const FILETIME& time);

// One entry of a hand-made archive.
struct TestEntry {
  std::string name;
  Bytes data;
  uint16_t method = 8;  // 0 stored, 8 deflated; anything else is stored raw under that id
  uint16_t flags = 0;
  uint32_t external = 0x20;
  uint32_t dosDateTime = 0x52642883;  // 2021-03-04 05:04:06
  Bytes localExtra;
  Bytes centralExtra;
  bool badCrc = false;  // store a CRC-32 that does not match the data (in both headers)
};
TestEntry folderEntry(const std::string& name, uint32_t external = 0x10);
uint32_t dosDateTime(int year, int month, int day, int hour, int minute, int second);

struct BuiltArchive {
  Bytes bytes;
  std::vector<size_t> localOffsets;
  std::vector<size_t> dataOffsets;
  std::vector<size_t> centralOffsets;
  size_t endOffset = 0;
};
BuiltArchive buildZip(const std::vector<TestEntry>& entries);
void put16(Bytes& bytes, size_t offset, uint16_t value);
void put32(Bytes& bytes, size_t offset, uint32_t value);
uint32_t get32(const Bytes& bytes, size_t offset);
// An extended-timestamp block ("UT") with the given flags and times, in the stored order.
Bytes utBlock(uint8_t flags, const std::vector<uint32_t>& times);
// Any extra block: tag, size, data.
Bytes extraBlock(uint16_t tag, const Bytes& data);

// Records what the extractor raises, and answers as configured.
class FakeOwner : public unzip::ExtractionOwner {
 public:
  bool windowExists() const override { return window; }
  unzip::EventOutcome raiseProgressEvent(int32_t percent) override {
    percents.push_back(percent);
    if (onEvent) onEvent(*this, percent);
    return answer;
  }

  bool window = true;
  unzip::EventOutcome answer{false, false, 0};  // no handler bound
  std::function<void(FakeOwner&, int32_t)> onEvent;
  std::vector<int32_t> percents;
};

}  // namespace unziptest
