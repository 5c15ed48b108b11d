#include "unzip/entry_times.h"

namespace unzip {

uint32_t mapAttributes(uint32_t external) {
  uint32_t attributes = FILE_ATTRIBUTE_NORMAL;
  if ((external & (1u << 30)) != 0 || (external & 0x10) != 0) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if ((external & 0x20) != 0) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if ((external & 0x02) != 0) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if ((external & (1u << 23)) == 0 || (external & 0x01) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
  if ((external & 0x04) != 0) attributes |= FILE_ATTRIBUTE_SYSTEM;
  return attributes;
}

bool dosDateTimeToFileTime(uint32_t dosDateTime, FILETIME& out) {
  out = FILETIME{};
  FILETIME converted;
  if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime & 0xFFFF),
                             &converted)) {
    return false;
  }
  out = converted;
  return true;
}

FILETIME unixTimeToFileTime(uint32_t seconds) {
  // Days since 1970-01-01 to a proleptic Gregorian date (eras of 400 years from 0000-03-01).
  const uint32_t days = seconds / 86400;
  const uint32_t rest = seconds % 86400;
  const int64_t z = static_cast<int64_t>(days) + 719468;
  const int64_t era = z / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
  const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(year);
  system.wMonth = static_cast<WORD>(month);
  system.wDay = static_cast<WORD>(day);
  system.wHour = static_cast<WORD>(rest / 3600);
  system.wMinute = static_cast<WORD>(rest / 60 % 60);
  system.wSecond = static_cast<WORD>(rest % 60);
  FILETIME out{};
  SystemTimeToFileTime(&system, &out);
  return out;
}

namespace {

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

void applyExtendedTimestamp(const uint8_t* extra, size_t length, FILETIME& writeTime, FILETIME& accessTime,
                            FILETIME& creationTime) {
  if (extra == nullptr || length <= 4) return;
  size_t offset = 0;
  while (offset + 4 < length) {
    const uint16_t size = read16(extra + offset + 2);
    if (extra[offset] != 'U' || extra[offset + 1] != 'T') {
      offset += 4 + static_cast<size_t>(size);
      continue;
    }
    const size_t data = offset + 4;
    size_t end = data + size;
    if (end > length) end = length;
    const uint8_t flags = extra[data];
    size_t at = data + 1;
    FILETIME* const targets[3] = {&writeTime, &accessTime, &creationTime};
    for (int bit = 0; bit < 3; ++bit) {
      if ((flags & (1 << bit)) == 0) continue;
      if (at + 4 > end) break;
      *targets[bit] = unixTimeToFileTime(read32(extra + at));
      at += 4;
    }
    return;
  }
}

}  // namespace unzip
