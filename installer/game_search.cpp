#include "installer/game_search.h"

#include <winioctl.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "installer/globals.h"
#include "installer/run_state.h"
#include "runtime/bytes.h"
#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/path.h"
#include "runtime/system_functions.h"

namespace installer {
namespace {

bool isDotEntry(const char* name) {
  return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

// A folder name may end in a character whose trail byte is 0x5C: the test is double-byte aware.
runtime::Text withBackslash(runtime::Text folder) {
  runtime::ensureTrailingBackslash(folder);
  return folder;
}

// The system's ANSI file functions take paths of fewer than MAX_PATH bytes.
bool isUsablePath(size_t folderLength, const char* name) { return folderLength + std::strlen(name) < MAX_PATH; }

// One listing of a folder: the names of its usable matches and of its sub-folders, each in
// the order the file system lists them.
struct FolderListing {
  std::vector<runtime::Text> matches;
  std::vector<runtime::Text> subfolders;
};

FolderListing listFolder(const runtime::Text& folder, const runtime::Text& name) {
  FolderListing listing;
  WIN32_FIND_DATAA entry;
  // Listing with "*" reaches folders whose files could not be named: a match there must not
  // count. The basic level leaves out the short names; large fetches ask for bigger batches.
  runtime::FindHandle search(FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &entry,
                                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return listing;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!isDotEntry(entry.cFileName) && !isFolderLink(entry, folder)) listing.subfolders.emplace_back(entry.cFileName);
    } else if (sameNameIgnoringAsciiCase(entry.cFileName, name.c_str()) && isUsablePath(folder.size(), entry.cFileName)) {
      listing.matches.emplace_back(entry.cFileName);
    }
  } while (FindNextFileA(search.get(), &entry));
  return listing;
}

// Whether the folder at path is a mount point of a volume; false when its reparse data
// cannot be read.
bool isMountedVolume(const runtime::Text& path) {
  // No access rights are needed to read a reparse point, only the handle of the point itself.
  const runtime::FileHandle folder =
      runtime::openExisting(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
  if (!folder) return false;
  std::vector<unsigned char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD size = 0;
  if (!DeviceIoControl(folder.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                       static_cast<DWORD>(data.size()), &size, nullptr)) {
    return false;
  }
  return reparseDataNamesVolume(data.data(), size);
}

// One walk, over one or several folders: the name looked for and the window's service.
class Walk {
 public:
  explicit Walk(const runtime::Text& name) : name_(name), frames_(runStillWanted) {}

  // folder ends in a backslash. False when the run's window was closed under the walk.
  bool walk(const runtime::Text& folder) {
    const FolderListing listing = listFolder(folder, name_);
    for (const runtime::Text& match : listing.matches) gameExePath = folder + match;
    for (const runtime::Text& subfolder : listing.subfolders) {
      if (!walk(folder + subfolder + "\\")) return false;
      if (!frames_.serviceWhenDue()) return false;
    }
    return true;
  }

 private:
  const runtime::Text& name_;
  runtime::FrameService frames_;
};

// "\??\Volume{GUID}\" and nothing more: the root of a volume, a GUID of 8-4-4-4-12 hex digits.
bool isVolumeRootName(const wchar_t* name, size_t length) {
  static const wchar_t kPrefix[] = L"\\??\\Volume{";
  constexpr size_t kPrefixLength = sizeof kPrefix / sizeof(wchar_t) - 1;
  constexpr size_t kGuidLength = 36;
  if (length != kPrefixLength + kGuidLength + 2) return false;
  if (std::wmemcmp(name, kPrefix, kPrefixLength) != 0) return false;
  const wchar_t* guid = name + kPrefixLength;
  for (size_t i = 0; i < kGuidLength; ++i) {
    const wchar_t c = guid[i];
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    const bool hex = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
    if (dash ? c != L'-' : !hex) return false;
  }
  return guid[kGuidLength] == L'}' && guid[kGuidLength + 1] == L'\\';
}

}  // namespace

bool sameNameIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a);
    unsigned char y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

bool isFolderLink(const WIN32_FIND_DATAA& entry, const runtime::Text& folder) {
  if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  // For a reparse point, dwReserved0 holds its tag. Tag 0 is reserved and never names a real
  // reparse point; Wine reports its symbolic links with it, so it counts as a link too.
  const DWORD tag = entry.dwReserved0;
  if (tag == IO_REPARSE_TAG_SYMLINK || tag == 0) return true;
  // Junctions and volumes mounted in a folder share this tag; only the target tells them apart.
  if (tag == IO_REPARSE_TAG_MOUNT_POINT) return !isMountedVolume(folder + entry.cFileName);
  return false;
}

bool reparseDataNamesVolume(const void* data, size_t size) {
  // The mount-point form of REPARSE_DATA_BUFFER: tag, data length, reserved, then offset and
  // length in bytes of the substitute name and of the print name within the path buffer.
  constexpr size_t kPathBufferOffset = 16;
  if (size < kPathBufferOffset) return false;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  uint32_t tag;
  uint16_t nameOffset, nameLength;
  std::memcpy(&tag, bytes, sizeof tag);
  std::memcpy(&nameOffset, bytes + 8, sizeof nameOffset);
  std::memcpy(&nameLength, bytes + 10, sizeof nameLength);
  if (tag != IO_REPARSE_TAG_MOUNT_POINT || nameLength % sizeof(wchar_t) != 0) return false;
  if (kPathBufferOffset + nameOffset + nameLength > size) return false;
  // Only a volume's root is a mounted volume; "\??\Volume{GUID}\dir" is a junction.
  wchar_t name[64];
  const size_t length = nameLength / sizeof(wchar_t);
  if (length > sizeof name / sizeof name[0]) return false;
  std::memcpy(name, bytes + kPathBufferOffset + nameOffset, nameLength);
  return isVolumeRootName(name, length);
}

void searchFolder(const runtime::Text& folder, const runtime::Text& name) {
  Walk(name).walk(withBackslash(folder));
}

void findGameOnAllDrives() {
  gameExePath.clear();
  runtime::ByteSet buffer = runtime::blankBytes(255);
  const DWORD count = runtime::getLogicalDriveStrings(255, reinterpret_cast<char*>(buffer.mutableData()));
  buffer = runtime::leftBytes(buffer.view(), static_cast<int32_t>(count));
  const runtime::ByteList drives = runtime::splitBytes(buffer.view());
  const runtime::Text name = kGameExeName;
  Walk walk(name);
  for (int32_t i = 1; i <= drives.count(); ++i) {
    if (!walk.walk(withBackslash(runtime::toText(drives.piece(i))))) return;
  }
}

}  // namespace installer
