#include "installer/tests/tree_compare.h"

#include "runtime/tests/test_support.h"

namespace installertest {

std::vector<std::string> compareTrees(const std::string& reference, const std::string& actual) {
  std::vector<std::string> differences;
  const std::vector<std::string> expected = testsupport::listFolder(reference);
  const std::vector<std::string> found = testsupport::listFolder(actual);
  if (expected != found) {
    differences.push_back("entries differ in " + actual);
    return differences;
  }
  for (const std::string& name : expected) {
    const std::string r = reference + "\\" + name;
    const std::string a = actual + "\\" + name;
    if (testsupport::isFolder(r)) {
      if (!testsupport::isFolder(a)) {
        differences.push_back("not a folder: " + a);
        continue;
      }
      for (const std::string& d : compareTrees(r, a)) differences.push_back(d);
    } else if (testsupport::readFileOr(r, "<r>") != testsupport::readFileOr(a, "<a>")) {
      differences.push_back("bytes differ: " + a);
    }
  }
  return differences;
}

std::vector<std::string> compareWithReference(const std::string& gameFolder) {
  std::vector<std::string> differences;
  for (const char* name : {"Translations", "Extras", "Localization", "Maps", "Bundles"}) {
    for (const std::string& d : compareTrees(std::string("R:\\") + name, gameFolder + "\\" + name)) {
      differences.push_back(d);
    }
  }
  return differences;
}

std::vector<std::string> partOfTree(const std::string& reference, const std::string& actual) {
  std::vector<std::string> differences;
  for (const std::string& name : testsupport::listFolder(actual)) {
    const std::string r = reference + "\\" + name;
    const std::string a = actual + "\\" + name;
    if (testsupport::isFolder(a)) {
      if (!testsupport::isFolder(r)) differences.push_back("a folder not in the reference: " + a);
      for (const std::string& d : partOfTree(r, a)) differences.push_back(d);
    } else if (testsupport::readFileOr(r, "<r>") != testsupport::readFileOr(a, "<a>")) {
      differences.push_back("not as in the reference: " + a);
    }
  }
  return differences;
}

std::vector<std::string> partOfReference(const std::string& gameFolder) {
  std::vector<std::string> differences;
  for (const char* name : {"Translations", "Extras", "Localization", "Maps", "Bundles"}) {
    for (const std::string& d : partOfTree(std::string("R:\\") + name, gameFolder + "\\" + name)) {
      differences.push_back(d);
    }
  }
  return differences;
}

std::vector<std::string> zipFilesIn(const std::string& folder) {
  std::vector<std::string> zips;
  for (const std::string& name : testsupport::listFolder(folder)) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".zip") == 0) zips.push_back(name);
  }
  return zips;
}

}  // namespace installertest
