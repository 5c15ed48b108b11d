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

// What an interrupted unpack may leave: every file and folder below `actual` exists below
// `reference`, files with the same bytes (so no file is half-written or foreign). Returns
// the differences, one line each (empty: a part of the reference, possibly all of it).
std::vector<std::string> partOfTree(const std::string& reference, const std::string& actual);
// The same for the five target folders of the catalogue below gameFolder, missing ones
// allowed.
std::vector<std::string> partOfReference(const std::string& gameFolder);

// Names ending in ".zip" directly in the folder.
std::vector<std::string> zipFilesIn(const std::string& folder);

}  // namespace installertest
