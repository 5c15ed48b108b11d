// The build's payload check and the extraction agree: every archive of the check's table
// (written by write_check_cases.py) is unpacked by the real extraction into its game
// sub-folder below the shortest game folder there is (C:\Bundles, C:\Maps, ...), twice: a
// fresh install, then one over it, as a second run of the installer replaces what the first
// unpacked (only then are files written through a temporary name beside them). The
// extraction must unpack exactly the archives the check accepts, and those few it refuses
// by choice; it must refuse every other one. A rule changed in unzip/ alone fails here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "runtime/program.h"
#include "runtime/tests/test_support.h"
#include "unzip/archive_extractor.h"

namespace {

TEST(PayloadCheckCases, TheExtractionUnpacksWhatTheCheckAccepts) {
  const std::string folder = runtime::runDirectory() + "\\check_cases";
  std::string listing;
  ASSERT_TRUE(testsupport::readFile(folder + "\\cases.txt", listing));
  std::istringstream lines(listing);
  std::string line;
  int cases = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string file, target, unpacks, what;
    std::getline(fields, file, '|');
    std::getline(fields, target, '|');
    std::getline(fields, unpacks, '|');
    std::getline(fields, what);
    const std::string targetFolder = "C:\\" + target;
    testsupport::removeTree(targetFolder);
    const std::string archive = folder + "\\" + file;
    unzip::ArchiveExtractor fresh;
    unzip::ArchiveExtractor over;
    const bool unpacked = fresh.extract(archive.c_str(), targetFolder.c_str()) == 1 &&
                          over.extract(archive.c_str(), targetFolder.c_str()) == 1;
    EXPECT_EQ(unpacked, unpacks == "1") << what;
    testsupport::removeTree(targetFolder);
    ++cases;
  }
  EXPECT_GE(cases, 20);
}

}  // namespace
