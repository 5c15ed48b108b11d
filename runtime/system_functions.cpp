#include "runtime/system_functions.h"

#include "runtime/fatal.h"

namespace runtime {

FARPROC bindSystemFunction(const char* library, const char* function) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) fatalMissingExport(library, function);
  FARPROC address = GetProcAddress(module, function);
  if (address == nullptr) fatalMissingExport(library, function);
  return address;
}

DWORD getLogicalDriveStrings(DWORD length, char* buffer) {
  using Function = DWORD(WINAPI*)(DWORD, LPSTR);
  static Function bound = nullptr;
  if (bound == nullptr) {
    // FARPROC is the generic shape of every export; the cast goes through void* to say so.
    bound = reinterpret_cast<Function>(reinterpret_cast<void*>(
        bindSystemFunction("kernel32.dll", "GetLogicalDriveStringsA")));
  }
  return bound(length, buffer);
}

}  // namespace runtime
