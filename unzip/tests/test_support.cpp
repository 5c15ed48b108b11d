#include "unzip/tests/test_support.h"

#include <zlib.h>

#include <algorithm>

#include "runtime/handles.h"

namespace unziptest {

namespace {

std::wstring wide(const std::string& path) { return runtime::toWide(path); }

}  // namespace

std::string freshFolder(const std::string& name) {
  const std::string path = "D:\\" + name;
  removeTree(path);
  CreateDirectoryW(wide(path).c_str(), nullptr);
  return path;
}

void removeTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide(path).c_str());
    return;
  }
  WIN32_FIND_DATAW data;
  runtime::FindHandle search(FindFirstFileW(wide(path + "\\*").c_str(), &data));
  if (search) {
    do {
      const std::string name = runtime::toUtf8(data.cFileName);
      if (name != "." && name != "..") removeTree(path + "\\" + name);
    } while (FindNextFileW(search.get(), &data));
  }
  search.reset();
  RemoveDirectoryW(wide(path).c_str());
}

std::string gbk(const std::string& utf8) {
  const std::wstring text = wide(utf8);
  const int length = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

bool readFile(const std::string& path, Bytes& bytes) {
  runtime::FileHandle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return true;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
  runtime::FileHandle file(
      CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size());
}

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace {

void walk(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
  WIN32_FIND_DATAW data;
  runtime::FindHandle search(FindFirstFileW(wide(root + "\\" + relative + "*").c_str(), &data));
  if (!search) return;
  do {
    const std::string name = runtime::toUtf8(data.cFileName);
    if (name == "." || name == "..") continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      out.push_back(relative + name + "\\");
      walk(root, relative + name + "\\", out);
    } else {
      out.push_back(relative + name);
    }
  } while (FindNextFileW(search.get(), &data));
}

}  // namespace

std::vector<std::string> listTree(const std::string& root) {
  std::vector<std::string> out;
  walk(root, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

std::map<std::string, Bytes> readTree(const std::string& root) {
  std::map<std::string, Bytes> out;
  for (const std::string& relative : listTree(root)) {
    if (relative.back() == '\\') continue;
    readFile(root + "\\" + relative, out[relative]);
  }
  return out;
}

std::string programFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string folder = runtime::toUtf8(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesW(wide(path).c_str()); }

bool hasNormalAttributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes == FILE_ATTRIBUTE_NORMAL || attributes == FILE_ATTRIBUTE_ARCHIVE;
}

bool timesOf(const std::string& path, FILETIME& creation, FILETIME& access, FILETIME& write) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
  creation = data.ftCreationTime;
  access = data.ftLastAccessTime;
  write = data.ftLastWriteTime;
  return true;
}

FILETIME fileTimeOf(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(year);
  system.wMonth = static_cast<WORD>(month);
  system.wDay = static_cast<WORD>(day);
  system.wHour = static_cast<WORD>(hour);
  system.wMinute = static_cast<WORD>(minute);
  system.wSecond = static_cast<WORD>(second);
  FILETIME out{};
  SystemTimeToFileTime(&system, &out);
  return out;
}

uint64_t ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TestEntry folderEntry(const std::string& name, uint32_t external) {
  TestEntry entry;
  entry.name = name;
  entry.method = 0;
  entry.external = external;
  return entry;
}

uint32_t dosDateTime(int year, int month, int day, int hour, int minute, int second) {
  const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  const uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
  return (date << 16) | time;
}

void put16(Bytes& bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

void put32(Bytes& bytes, size_t offset, uint32_t value) {
  put16(bytes, offset, static_cast<uint16_t>(value & 0xFFFF));
  put16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t get32(const Bytes& bytes, size_t offset) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])); };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

namespace {

void append16(Bytes& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void append32(Bytes& out, uint32_t value) {
  append16(out, static_cast<uint16_t>(value & 0xFFFF));
  append16(out, static_cast<uint16_t>(value >> 16));
}

Bytes rawDeflate(const Bytes& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

BuiltArchive buildZip(const std::vector<TestEntry>& entries) {
  BuiltArchive built;
  Bytes central;
  for (const TestEntry& entry : entries) {
    const Bytes stored = entry.method == 8 ? rawDeflate(entry.data) : entry.data;
    uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
    if (entry.badCrc) crc ^= 0x5A5A5A5A;
    const size_t local = built.bytes.size();
    built.localOffsets.push_back(local);
    Bytes& out = built.bytes;
    append32(out, 0x04034B50);
    append16(out, 20);
    append16(out, entry.flags);
    append16(out, entry.method);
    append32(out, entry.dosDateTime);
    append32(out, crc);
    append32(out, static_cast<uint32_t>(stored.size()));
    append32(out, static_cast<uint32_t>(entry.data.size()));
    append16(out, static_cast<uint16_t>(entry.name.size()));
    append16(out, static_cast<uint16_t>(entry.localExtra.size()));
    out += entry.name;
    out += entry.localExtra;
    built.dataOffsets.push_back(out.size());
    out += stored;

    built.centralOffsets.push_back(central.size());
    append32(central, 0x02014B50);
    append16(central, 20);
    append16(central, 20);
    append16(central, entry.flags);
    append16(central, entry.method);
    append32(central, entry.dosDateTime);
    append32(central, crc);
    append32(central, static_cast<uint32_t>(stored.size()));
    append32(central, static_cast<uint32_t>(entry.data.size()));
    append16(central, static_cast<uint16_t>(entry.name.size()));
    append16(central, static_cast<uint16_t>(entry.centralExtra.size()));
    append16(central, 0);  // comment
    append16(central, 0);  // disk
    append16(central, 0);  // internal attributes
    append32(central, entry.external);
    append32(central, static_cast<uint32_t>(local));
    central += entry.name;
    central += entry.centralExtra;
  }
  const size_t centralStart = built.bytes.size();
  for (size_t& offset : built.centralOffsets) offset += centralStart;
  built.bytes += central;
  built.endOffset = built.bytes.size();
  append32(built.bytes, 0x06054B50);
  append16(built.bytes, 0);
  append16(built.bytes, 0);
  append16(built.bytes, static_cast<uint16_t>(entries.size()));
  append16(built.bytes, static_cast<uint16_t>(entries.size()));
  append32(built.bytes, static_cast<uint32_t>(central.size()));
  append32(built.bytes, static_cast<uint32_t>(centralStart));
  append16(built.bytes, 0);
  return built;
}

Bytes utBlock(uint8_t flags, const std::vector<uint32_t>& times) {
  Bytes data(1, static_cast<char>(flags));
  for (uint32_t time : times) append32(data, time);
  return extraBlock(0x5455, data);
}

Bytes extraBlock(uint16_t tag, const Bytes& data) {
  Bytes out;
  append16(out, tag);
  append16(out, static_cast<uint16_t>(data.size()));
  return out + data;
}

}  // namespace unziptest
