// The extraction benchmark. It unpacks one archive, run after run, five ways:
//   ours         unzipArchive in this process;
//   floor        a replay of the same entries whose data were read beforehand: only
//                CreateDirectoryA per folder and CreateFileA, WriteFile, SetFileTime,
//                CloseHandle per file, the least any extractor must do;
//   ours/proc    this program started with --child (one unzipArchive run per process);
//   baseline     another build of this program started with --child (optional), to compare
//                a change with what came before it in the same run;
//   .../over     ours/proc and baseline once more, into a folder that holds the archive's
//                files already (unpacked there untimed just before): a second installation;
//   miniunz      minizip's own extractor (miniunz.exe beside this program).
// The order is reversed every other run (ABBA), so a drift of the machine falls on all alike.
// It prints each run, then per way the median and the spread (lowest..highest) and the ratios.
//   unzip_bench.exe ARCHIVE [RUNS] [BASELINE.exe]
//   unzip_bench.exe --child ARCHIVE TARGET    exit code 2 when unzipArchive gave 1
//   unzip_bench.exe --longest-wait ARCHIVE [RUNS]
//                the window's longest wait during unzipArchive in this process: the run is
//                serviced at frame rate as the installer's is, and the longest time between
//                two services (the first counted from the call) is what a window would wait
//                for an answer; printed per run, then the median and spread.
// Every run unpacks into a fresh folder; removing the previous one is not timed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <unzip.h>
#include <iowin32.h>

#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/tests/test_support.h"
#include "unzip/unzip_component.h"

namespace {

// The installer's owner: its window exists and no handler is bound to the progress event.
class WindowOwner : public unzip::ExtractionOwner {
 public:
  bool windowExists() const override { return true; }
  unzip::EventOutcome raiseProgressEvent(int32_t) override { return {false, false, 0}; }
};

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void countTree(const std::string& path, int& files, int& folders, unsigned long long& bytes) {
  WIN32_FIND_DATAA data;
  runtime::FindHandle search(FindFirstFileA((path + "\\*").c_str(), &data));
  if (!search) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      ++folders;
      countTree(path + "\\" + name, files, folders, bytes);
    } else {
      ++files;
      bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  } while (FindNextFileA(search.get(), &data));
}

std::string programFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Runs the command line with its output going to NUL; returns the wall time in ms, or -1.
double timeChild(const std::string& commandLine, DWORD& exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  runtime::FileHandle nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul.get();
  startup.hStdError = nul.get();
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION process{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  const double start = nowMs();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double elapsed = nowMs() - start;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

// One entry of the archive, read into memory for the floor replay.
struct ReplayEntry {
  std::string name;  // relative, with backslashes
  bool folder = false;
  std::string data;
  FILETIME time = {};
};

bool loadEntries(const std::string& archive, std::vector<ReplayEntry>& entries) {
  zlib_filefunc_def functions;
  fill_win32_filefunc(&functions);
  unzFile reader = unzOpen2(archive.c_str(), &functions);
  if (reader == nullptr) return false;
  bool ok = unzGoToFirstFile(reader) == UNZ_OK;
  while (ok) {
    char name[MAX_PATH] = {};
    unz_file_info info{};
    if (unzGetCurrentFileInfo(reader, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    ReplayEntry entry;
    entry.name = name;
    std::replace(entry.name.begin(), entry.name.end(), '/', '\\');
    entry.folder = !entry.name.empty() && entry.name.back() == '\\';
    DosDateTimeToFileTime(static_cast<WORD>(info.dosDate >> 16), static_cast<WORD>(info.dosDate), &entry.time);
    if (!entry.folder) {
      entry.data.resize(info.uncompressed_size);
      if (unzOpenCurrentFile(reader) != UNZ_OK) return false;
      const int got = entry.data.empty() ? 0
                                         : unzReadCurrentFile(reader, &entry.data[0],
                                                              static_cast<unsigned>(entry.data.size()));
      unzCloseCurrentFile(reader);
      if (got != static_cast<int>(entry.data.size())) return false;
    }
    entries.push_back(std::move(entry));
    ok = unzGoToNextFile(reader) == UNZ_OK;
  }
  unzClose(reader);
  return true;
}

bool replay(const std::vector<ReplayEntry>& entries, const std::string& target) {
  if (!CreateDirectoryA(target.c_str(), nullptr)) return false;
  for (const ReplayEntry& entry : entries) {
    const std::string path = target + "\\" + entry.name;
    if (entry.folder) {
      if (!CreateDirectoryA(path.c_str(), nullptr)) return false;
      continue;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, entry.data.data(), static_cast<DWORD>(entry.data.size()), &written, nullptr);
    SetFileTime(file, &entry.time, &entry.time, &entry.time);
    CloseHandle(file);
  }
  return true;
}

struct Series {
  const char* name;
  std::vector<double> ms;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The ratio of the medians, then the median and spread of the ratios run by run, which a
// machine whose speed drifts between runs disturbs less.
void printRatio(const char* what, const Series& a, const Series& b) {
  std::vector<double> paired;
  for (size_t i = 0; i < a.ms.size() && i < b.ms.size(); ++i) paired.push_back(a.ms[i] / b.ms[i]);
  std::printf("ratio %s / %s, %s: %.2f; run by run %.2f (%.2f..%.2f)\n", a.name, b.name, what,
              median(a.ms) / median(b.ms), median(paired), *std::min_element(paired.begin(), paired.end()),
              *std::max_element(paired.begin(), paired.end()));
}

// The times the window was serviced during one run.
std::vector<double> serviceTimes;
bool recordService() {
  serviceTimes.push_back(nowMs());
  return true;
}

int longestWait(const std::string& archive, int runs, const std::string& out) {
  std::vector<double> longest;
  for (int run = 0; run < runs; ++run) {
    testsupport::removeTree(out);
    WindowOwner owner;
    runtime::FrameService frames(recordService);
    serviceTimes.clear();
    const double start = nowMs();
    unzip::ExtractionFailure failure;
    const int32_t result = unzip::unzipArchive(&owner, archive.c_str(), out.c_str(), &failure, &frames);
    const double end = nowMs();
    if (result != 1) {
      std::printf("run %d: unzipArchive gave %d (cause %d, error %lu, %s)\n", run + 1, result,
                  static_cast<int>(failure.cause), static_cast<unsigned long>(failure.systemError), failure.path.c_str());
      return 1;
    }
    double previous = start, wait = 0, at = 0;
    serviceTimes.push_back(end);
    for (double t : serviceTimes) {
      if (t - previous > wait) {
        wait = t - previous;
        at = previous - start;
      }
      previous = t;
    }
    longest.push_back(wait);
    std::printf("run %d: %.0f ms in all, %zu services, longest wait %.0f ms from %.0f ms on\n", run + 1, end - start,
                serviceTimes.size() - 1, wait, at);
    std::fflush(stdout);
  }
  std::printf("longest wait, median (lowest..highest) of %d runs: %.0f ms (%.0f..%.0f)\n", runs, median(longest),
              *std::min_element(longest.begin(), longest.end()), *std::max_element(longest.begin(), longest.end()));
  testsupport::removeTree(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "--child") {
    WindowOwner owner;
    return unzip::unzipArchive(&owner, argv[2], argv[3]) + 1;  // 2 on success
  }
  if (argc >= 3 && std::string(argv[1]) == "--longest-wait") {
    char full[MAX_PATH];
    GetFullPathNameA(argv[2], MAX_PATH, full, nullptr);
    return longestWait(full, argc > 3 ? std::max(1, std::atoi(argv[3])) : 5, programFolder() + "out");
  }
  if (argc < 2) {
    std::printf("usage: unzip_bench ARCHIVE [RUNS] [BASELINE.exe]\n");
    return 2;
  }
  char full[MAX_PATH];
  GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
  const std::string archive = full;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string folder = programFolder();
  const std::string baseline = argc > 3 ? folder + argv[3] : "";
  const std::string self = folder + "unzip_bench.exe";
  const std::string miniunz = folder + "miniunz.exe";
  const std::string out = folder + "out";

  std::vector<ReplayEntry> entries;
  if (!loadEntries(archive, entries)) {
    std::printf("cannot read %s\n", archive.c_str());
    return 1;
  }

  Series ours{"ours", {}}, floor{"floor", {}}, oursChild{"ours/proc", {}}, baselineChild{"baseline", {}},
      oursOver{"ours/over", {}}, baselineOver{"base/over", {}}, miniunzChild{"miniunz", {}};
  std::string failure;
  // over: the command runs once untimed first, so that the timed run replaces its files.
  const auto child = [&](Series& series, const std::string& commandLine, DWORD expectedExit, bool over = false) {
    return [&series, &failure, commandLine, expectedExit, over]() {
      DWORD exitCode = 0;
      if (over && (timeChild(commandLine, exitCode) < 0 || exitCode != expectedExit)) failure = "preparing failed";
      const double ms = timeChild(commandLine, exitCode);
      if (ms < 0 || exitCode != expectedExit) failure = std::string(series.name) + " failed";
      series.ms.push_back(ms);
    };
  };
  const std::string target = "\"" + archive + "\" \"" + out + "\"";
  std::vector<std::function<void()>> ways = {
      [&] {
        WindowOwner owner;
        const double start = nowMs();
        if (unzip::unzipArchive(&owner, archive.c_str(), out.c_str()) != 1) failure = "unzipArchive failed";
        ours.ms.push_back(nowMs() - start);
      },
      [&] {
        const double start = nowMs();
        if (!replay(entries, out)) failure = "the floor replay failed";
        floor.ms.push_back(nowMs() - start);
      },
      child(oursChild, "\"" + self + "\" --child " + target, 2),
      child(oursOver, "\"" + self + "\" --child " + target, 2, true),
  };
  if (!baseline.empty()) {
    ways.push_back(child(baselineChild, "\"" + baseline + "\" --child " + target, 2));
    ways.push_back(child(baselineOver, "\"" + baseline + "\" --child " + target, 2, true));
  }
  // miniunz changes into its -d folder, which must exist.
  ways.push_back([&] {
    CreateDirectoryA(out.c_str(), nullptr);
    child(miniunzChild, "\"" + miniunz + "\" -x -o \"" + archive + "\" -d \"" + out + "\"", 0)();
  });
  std::vector<Series*> all = {&ours, &floor, &oursChild, &baselineChild, &oursOver, &baselineOver, &miniunzChild};

  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < ways.size(); ++i) {
      testsupport::removeTree(out);
      ways[run % 2 == 0 ? i : ways.size() - 1 - i]();
      if (!failure.empty()) {
        std::printf("run %d: %s\n", run + 1, failure.c_str());
        return 1;
      }
    }
    std::printf("run %d:", run + 1);
    for (const Series* s : all) {
      if (!s->ms.empty()) std::printf(" %s %.0f ms;", s->name, s->ms.back());
    }
    std::printf("\n");
    std::fflush(stdout);
  }

  int files = 0, folders = 0;
  unsigned long long bytes = 0;
  WindowOwner owner;
  testsupport::removeTree(out);
  unzip::unzipArchive(&owner, archive.c_str(), out.c_str());
  countTree(out, files, folders, bytes);
  std::printf("unpacked by ours: %d files, %d folders, %llu bytes\n", files, folders, bytes);
  std::printf("median (lowest..highest) of %d runs, ms:\n", runs);
  for (const Series* s : all) {
    if (s->ms.empty()) continue;
    std::printf("  %-10s %7.0f  (%.0f..%.0f)\n", s->name, median(s->ms), *std::min_element(s->ms.begin(), s->ms.end()),
                *std::max_element(s->ms.begin(), s->ms.end()));
  }
  printRatio("in process", ours, floor);
  if (!baselineChild.ms.empty()) {
    printRatio("as processes", oursChild, baselineChild);
    printRatio("over a first run", oursOver, baselineOver);
  }
  printRatio("as processes", oursChild, miniunzChild);
  testsupport::removeTree(out);
  return 0;
}
