#include "installer/game_search.h"

#include <winioctl.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "installer/globals.h"
#include "installer/run_state.h"
#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/path.h"

namespace installer {
namespace {

bool isDotEntry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

// A folder as the walk holds it: UTF-16, ending in a backslash ("" becomes "\"). No unit of
// another character is 0x5C in UTF-16, so the last unit tells.
std::wstring listedFolder(const std::wstring& folder) {
  return (!folder.empty() && folder.back() == L'\\') ? folder : folder + L'\\';
}

// Opens the listing of every entry of a folder. The basic information level leaves out the
// short names and large fetches ask for bigger batches; Windows before 7 refuses both with
// ERROR_INVALID_PARAMETER, and the plain listing then serves the rest of the walk.
class Lister {
 public:
  // The folder's first entry in entry; an empty handle when the folder cannot be listed.
  runtime::FindHandle open(const std::wstring& pattern, WIN32_FIND_DATAW& entry) {
    if (!plain_) {
      const HANDLE fast = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH);
      if (fast != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return runtime::FindHandle(fast);
    }
    runtime::FindHandle plain(
        FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &entry, FindExSearchNameMatch, nullptr, 0));
    if (plain) plain_ = true;
    return plain;
  }

 private:
  bool plain_ = false;
};

// One listing of a folder: its sub-folders in the order the file system lists them, and the
// last usable match it lists (empty when none).
struct FolderListing {
  std::vector<std::wstring> subfolders;
  std::wstring lastMatch;
};

// folder ends in a backslash.
FolderListing listFolder(const std::wstring& folder, const std::wstring& name, Lister& lister) {
  FolderListing listing;
  // The pattern, the folder and "*", must fit a path, as the system requires of it.
  if (folder.size() + 1 >= runtime::kFilePathLimit) return listing;
  // Listing with "*" reaches folders whose files could not be named: a match there must not
  // count. A listing that breaks off keeps what it listed, as an empty folder keeps nothing.
  WIN32_FIND_DATAW entry;
  const runtime::FindHandle search = lister.open(folder + L'*', entry);
  if (!search) return listing;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!isDotEntry(entry.cFileName) && !isFolderLink(entry, folder)) listing.subfolders.emplace_back(entry.cFileName);
    } else if (sameNameIgnoringAsciiCase(entry.cFileName, name.c_str()) &&
               folder.size() + std::wcslen(entry.cFileName) < runtime::kFilePathLimit) {
      listing.lastMatch = entry.cFileName;
    }
  } while (FindNextFileW(search.get(), &entry));
  return listing;
}

// Whether the folder at path is a mount point of a volume; false when its reparse data
// cannot be read.
bool isMountedVolume(const std::wstring& path) {
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

enum class Outcome { NothingFound, Found, Stopped };

// One walk from the far end, over one or several roots: the name looked for, the listing and
// the window's service. Folders and names stay UTF-16; only the match becomes UTF-8.
class Walk {
 public:
  explicit Walk(const runtime::Text& name) : name_(runtime::toWide(name)), frames_(runStillWanted) {}

  // Roots last to first; stops at the first match, or when the run's window was closed.
  Outcome walkRoots(const std::vector<std::wstring>& roots) {
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
      const Outcome outcome = walk(listedFolder(*root));
      if (outcome != Outcome::NothingFound) return outcome;
    }
    return Outcome::NothingFound;
  }

 private:
  // folder ends in a backslash. Its sub-folders last-listed to first, each whole, then its own
  // last match: the mirror of the forward walk's order.
  Outcome walk(const std::wstring& folder) {
    const FolderListing listing = listFolder(folder, name_, lister_);
    for (auto sub = listing.subfolders.rbegin(); sub != listing.subfolders.rend(); ++sub) {
      const Outcome outcome = walk(folder + *sub + L'\\');
      if (outcome != Outcome::NothingFound) return outcome;
      if (!frames_.serviceWhenDue()) return Outcome::Stopped;
    }
    if (listing.lastMatch.empty()) return Outcome::NothingFound;
    gameExePath = runtime::toUtf8(folder + listing.lastMatch);
    return Outcome::Found;
  }

  const std::wstring name_;
  Lister lister_;
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

bool sameNameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
  for (;; ++a, ++b) {
    wchar_t x = *a;
    wchar_t y = *b;
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
    if (x == L'\0') return true;
  }
}

bool isFolderLink(const WIN32_FIND_DATAW& entry, const std::wstring& folder) {
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

void searchFolders(const std::vector<runtime::Text>& roots, const runtime::Text& name) {
  std::vector<std::wstring> wideRoots;
  for (const runtime::Text& root : roots) wideRoots.push_back(runtime::toWide(root));
  Walk(name).walkRoots(wideRoots);
}

void searchFolder(const runtime::Text& folder, const runtime::Text& name) { searchFolders({folder}, name); }

void findGameOnAllDrives() {
  gameExePath.clear();
  // Each root is a letter, a colon, a backslash and a zero; 26 of them and the closing zero
  // take 105 units. The count excludes the closing zero; 0 is a failure, no drive.
  wchar_t buffer[255] = {};
  const DWORD count = GetLogicalDriveStringsW(255, buffer);
  std::vector<std::wstring> roots;
  if (count < 255) {
    for (const wchar_t* root = buffer; *root != L'\0'; root += std::wcslen(root) + 1) roots.emplace_back(root);
  }
  Walk(kGameExeName).walkRoots(roots);
}

}  // namespace installer
