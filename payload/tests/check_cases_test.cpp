// The build's payload check and the extraction agree: every archive of the check's table
// (written by write_check_cases.py) is unpacked by the real extraction into its game
// sub-folder below the shortest game folder there is (C:\Bundles, C:\Maps, ...). The
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
    unzip::ArchiveExtractor extractor;
    EXPECT_EQ(extractor.extract((folder + "\\" + file).c_str(), targetFolder.c_str()), unpacks == "1" ? 1 : 0)
        << what;
    testsupport::removeTree(targetFolder);
    ++cases;
  }
  EXPECT_GE(cases, 20);
}

}  // namespace
