// Mapping of stored ZIP attributes and times to Win32 values.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace unzip {

// Win32 attributes from the 32-bit external attributes of a central-directory record. Both
// halves are read for every archive: the MS-DOS flags in the low byte and the Unix mode in
// the upper half (directory type bit 30, owner-write bit 23).
uint32_t mapAttributes(uint32_t external);

// The stored wall-clock DOS date-time taken as UTC, with no zone shift. False (and out
// zeroed) when the fields do not form a valid date and time.
bool dosDateTimeToFileTime(uint32_t dosDateTime, FILETIME& out);

// Seconds since 1970-01-01 00:00:00 UTC, read as unsigned so that values from 2038 on
// count forward (up to 2106-02-07).
FILETIME unixTimeToFileTime(uint32_t seconds);

// Scans a local extra field for the first extended-timestamp block ("UT") and replaces the
// times it carries: flag bit 0 write, bit 1 access, bit 2 creation, stored in that order.
// A time is read only when its four bytes lie within both the block and the field.
void applyExtendedTimestamp(const uint8_t* extra, size_t length, FILETIME& writeTime,
                            FILETIME& accessTime, FILETIME& creationTime);

}  // namespace unzip
