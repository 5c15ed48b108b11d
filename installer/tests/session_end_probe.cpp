// Hooked into the installer's GUI thread by the close table of the end-to-end tests
// (SetWindowsHookExW with this DLL: Windows loads it into the installer), it makes the moment
// of a close or a session end exact:
// - the game folder's names (QX_PROBE_FOLDER) are written to QX_PROBE_LOG when the program
//   takes the close (WM_SYSCOMMAND SC_CLOSE from its queue) or WM_ENDSESSION: where it landed;
// - the program is ended (exit code kEndedBySystem) the moment it has answered WM_ENDSESSION,
//   before it can run another instruction of its own, as the system may end it;
// - writes to files named "*.zip" take kSlowWriteMs each, as on a slow disk: the window is then
//   serviced after every piece of an archive, and a close lands while the archive is written.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr UINT kEndedBySystem = 7;
constexpr DWORD kSlowWriteMs = 20;

using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
WriteFileFunction realWriteFile = nullptr;

bool isArchive(HANDLE file) {
  alignas(FILE_NAME_INFO) BYTE buffer[sizeof(FILE_NAME_INFO) + MAX_PATH * sizeof(wchar_t)] = {};
  auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer);
  if (!GetFileInformationByHandleEx(file, FileNameInfo, info, sizeof buffer - sizeof(wchar_t))) return false;
  const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
  return name.size() > 4 && name.compare(name.size() - 4, 4, L".zip") == 0;
}

BOOL WINAPI slowArchiveWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  if (isArchive(file)) Sleep(kSlowWriteMs);
  return realWriteFile(file, data, size, written, overlapped);
}

// Points the program's own import of WriteFile at slowArchiveWrite.
void slowDownArchiveWrites() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  realWriteFile = reinterpret_cast<WriteFileFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "WriteFile")));
  if (imports.VirtualAddress == 0 || realWriteFile == nullptr) return;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function != 0; ++slot) {
      if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(realWriteFile)) continue;
      DWORD old = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&slowArchiveWrite);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
    }
  }
}

std::wstring environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// The names directly in the game folder, sorted, one a line, in UTF-8.
void recordLanding() {
  const std::wstring folder = environment(L"QX_PROBE_FOLDER");
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::wstring& name : names) {
    char utf8[4 * MAX_PATH] = {};
    WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    text += std::string(utf8) + "\n";
  }
  HANDLE log = CreateFileW(environment(L"QX_PROBE_LOG").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(log);
}

void startInTheInstaller() {
  static bool started = false;
  if (started) return;
  started = true;
  slowDownArchiveWrites();
}

}  // namespace

// WH_GETMESSAGE: a close taken from the queue.
extern "C" __declspec(dllexport) LRESULT CALLBACK probeTakenMessage(int code, WPARAM removal, LPARAM data) {
  startInTheInstaller();
  const MSG& message = *reinterpret_cast<const MSG*>(data);
  if (code == HC_ACTION && removal == PM_REMOVE && message.message == WM_SYSCOMMAND &&
      (message.wParam & 0xFFF0) == SC_CLOSE) {
    recordLanding();
  }
  return CallNextHookEx(nullptr, code, removal, data);
}

// WH_CALLWNDPROC: a sent message, before the window handles it.
extern "C" __declspec(dllexport) LRESULT CALLBACK probeSentMessage(int code, WPARAM sender, LPARAM data) {
  startInTheInstaller();
  const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(data);
  if (code == HC_ACTION && message.message == WM_ENDSESSION && message.wParam) recordLanding();
  return CallNextHookEx(nullptr, code, sender, data);
}

// WH_CALLWNDPROCRET: a sent message, once the window has answered it.
extern "C" __declspec(dllexport) LRESULT CALLBACK probeAnsweredMessage(int code, WPARAM sender, LPARAM data) {
  startInTheInstaller();
  const CWPRETSTRUCT& message = *reinterpret_cast<const CWPRETSTRUCT*>(data);
  if (code == HC_ACTION && message.message == WM_ENDSESSION && message.wParam) {
    TerminateProcess(GetCurrentProcess(), kEndedBySystem);
  }
  return CallNextHookEx(nullptr, code, sender, data);
}
