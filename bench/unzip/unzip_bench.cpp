// Unpacks one archive several times with unzipArchive and with miniunz.exe (minizip's own
// extractor, beside this program) and prints the median times and their ratio.
//   unzip_bench.exe ARCHIVE [RUNS]
// Both extractors run as child processes of this program, so each time includes one process
// start; the in-process time of unzipArchive is printed as well. Every run unpacks into a
// fresh folder; removing the previous one is not timed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "--child") {
    WindowOwner owner;
    return unzip::unzipArchive(&owner, argv[2], argv[3]) + 1;  // 2 on success
  }
  if (argc < 2) {
    std::printf("usage: unzip_bench ARCHIVE [RUNS]\n");
    return 2;
  }
  char full[MAX_PATH];
  GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
  const std::string archive = full;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string folder = programFolder();
  const std::string ours = folder + "out-ours";
  const std::string theirs = folder + "out-miniunz";
  const std::string self = folder + "unzip_bench.exe";
  const std::string miniunz = folder + "miniunz.exe";

  std::vector<double> inProcess, oursChild, miniunzChild;
  for (int run = 0; run < runs; ++run) {
    testsupport::removeTree(ours);
    WindowOwner owner;
    double start = nowMs();
    const int32_t result = unzip::unzipArchive(&owner, archive.c_str(), ours.c_str());
    inProcess.push_back(nowMs() - start);
    if (result != 1) {
      std::printf("unzipArchive gave %d\n", result);
      return 1;
    }

    testsupport::removeTree(ours);
    DWORD exitCode = 0;
    oursChild.push_back(timeChild("\"" + self + "\" --child \"" + archive + "\" \"" + ours + "\"", exitCode));
    if (oursChild.back() < 0 || exitCode != 2) {
      std::printf("the child run of unzipArchive failed (exit code %lu)\n", exitCode);
      return 1;
    }

    testsupport::removeTree(theirs);
    CreateDirectoryA(theirs.c_str(), nullptr);  // miniunz changes into its -d folder
    miniunzChild.push_back(timeChild("\"" + miniunz + "\" -x -o \"" + archive + "\" -d \"" + theirs + "\"", exitCode));
    if (miniunzChild.back() < 0 || exitCode != 0) {
      std::printf("miniunz failed (exit code %lu)\n", exitCode);
      return 1;
    }
    std::printf("run %d: unzipArchive %.0f ms in process, %.0f ms as a process; miniunz %.0f ms\n", run + 1,
                inProcess.back(), oursChild.back(), miniunzChild.back());
    std::fflush(stdout);
  }

  int files[2] = {0, 0}, folders[2] = {0, 0};
  unsigned long long bytes[2] = {0, 0};
  countTree(ours, files[0], folders[0], bytes[0]);
  countTree(theirs, files[1], folders[1], bytes[1]);
  std::printf("unpacked: ours %d files, %d folders, %llu bytes; miniunz %d files, %d folders, %llu bytes\n", files[0],
              folders[0], bytes[0], files[1], folders[1], bytes[1]);
  const double oursMedian = median(oursChild);
  const double theirsMedian = median(miniunzChild);
  std::printf("median of %d runs: unzipArchive %.0f ms (in process %.0f ms), miniunz %.0f ms\n", runs, oursMedian,
              median(inProcess), theirsMedian);
  std::printf("ratio unzipArchive / miniunz: %.2f (goal <= 1.20)\n", oursMedian / theirsMedian);
  testsupport::removeTree(ours);
  testsupport::removeTree(theirs);
  return 0;
}
