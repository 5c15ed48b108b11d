// Compares an unpacked folder with the reference unpacked by an independent reader.
#pragma once

#include <string>
#include <vector>

namespace installertest {

// Every file and folder below `reference` exists below `actual` with the same bytes, and
// `actual` holds nothing else. Returns the differences, one line each (empty: equal).
std::vector<std::string> compareTrees(const std::string& reference, const std::string& actual);

// The five target folders of the catalogue, unpacked below gameFolder, against R:\<name>.
std::vector<std::string> compareWithReference(const std::string& gameFolder);

// Names ending in ".zip" directly in the folder.
std::vector<std::string> zipFilesIn(const std::string& folder);

}  // namespace installertest
