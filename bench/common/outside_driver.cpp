#include "bench/common/outside_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "installer/tests/installer_driver.h"
#include "runtime/path.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace benchdriver {
namespace {

const char* programName = "bench";
const char* const kCompletionText = "汉化已完成！感谢为您服务~";

}  // namespace

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void setProgramName(const char* name) { programName = name; }

void fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", programName, what.c_str());
  std::exit(1);
}

bool exists(const std::string& path) { return runtime::pathExists(path); }

std::string readText(const std::string& path) {
  std::string text;
  if (!testsupport::readFile(path, text)) fail("cannot read " + path);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

void emptyGameFolderAndSync() {
  const std::string request = installertest::testFolder() + "\\sync.request";
  if (!testsupport::writeBytes(request, "")) fail("cannot write " + request);
  const DWORD begin = GetTickCount();
  while (exists(request)) {
    if (GetTickCount() - begin > 120000) fail("the host did not answer " + request);
    Sleep(20);
  }
  Sleep(1000);
}

HWND boxOf(DWORD processId) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// What the user sees, in UTF-8: read with the W function, which no code page changes.
std::string textOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return runtime::toUtf8(text);
}

void answerCompletion(HWND box, const std::string& program) {
  Sleep(50);  // the box's text is set once it shows
  const std::string text = textOf(GetDlgItem(box, 0xFFFF));
  if (text != kCompletionText) fail("the first box of " + program + " says: " + text);
  installertest::Box answered{box, textOf(box), text};
  installertest::press(answered, IDOK);
  if (!installertest::nextBox(answered)) fail("no question from " + program);
  installertest::press(answered, IDNO);
  if (!installertest::nextBox(answered)) fail("no last box from " + program);
  installertest::press(answered, IDOK);
}

Setup setUp(const char* name, int argc, char** argv, int defaultCount) {
  setProgramName(name);
  Setup setup;
  setup.count = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultCount;
  setup.currentName = argc > 2 ? argv[2] : "current";
  setup.baselineName = argc > 3 ? argv[3] : "baseline";
  const std::string here = installertest::testFolder();
  setup.programs[0] = here + "\\current\\QXInstaller.exe";
  setup.programs[1] = here + "\\baseline\\QXInstaller.exe";
  setup.game = readText(here + "\\game.txt");
  return setup;
}

Spread spreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
  return Spread{median, values.front(), values.back()};
}

}  // namespace benchdriver
