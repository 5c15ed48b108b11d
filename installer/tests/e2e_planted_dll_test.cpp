// Planted DLLs never run in the installer. DLLs named like system DLLs, each of which leaves
// a marker beside itself when it is loaded, lie beside the installer in D:\Downloads, as a
// browser leaves files in one folder; Wine is told to take those DLLs from the program's
// folder before its own (native first, per program), which is Windows' search order for every DLL that is
// not a KnownDLL. The real installer is then driven through start-up, the help link and a
// quick install that starts the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/tests/e2e_helpers.h"
#include "installer/tests/installer_driver.h"
#include "installer/tests/tree_compare.h"
#include "runtime/files.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace installertest {
namespace {

const std::string kDownloads = "D:\\Downloads";

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> namesEndingIn(const std::string& folder, const std::string& end) {
  std::vector<std::string> names;
  for (const std::string& name : testsupport::listFolder(folder)) {
    if (endsWith(name, end)) names.push_back(name);
  }
  return names;
}

// The planted DLLs built for this test ("uxtheme.dll", ...), in "planted" beside it.
std::string plantedFolder() { return testFolder() + "\\planted"; }

// Wine's native-first override for every planted DLL, for one program: Wine reads it from
// the program's AppDefaults key when the program starts. The key goes with the object.
class NativeFirst {
 public:
  NativeFirst(const std::string& program, const std::vector<std::string>& dlls)
      : key_("Software\\Wine\\AppDefaults\\" + program) {
    HKEY overrides = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, runtime::toWide(key_ + "\\DllOverrides").c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &overrides, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot write the overrides of " << program;
      return;
    }
    static const wchar_t kNativeFirst[] = L"native,builtin";
    for (const std::string& dll : dlls) {
      RegSetValueExW(overrides, runtime::toWide(dll.substr(0, dll.size() - 4)).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(kNativeFirst), sizeof kNativeFirst);
    }
    RegCloseKey(overrides);
  }
  ~NativeFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, runtime::toWide(key_).c_str()); }
  NativeFirst(const NativeFirst&) = delete;
  NativeFirst& operator=(const NativeFirst&) = delete;

 private:
  std::string key_;
};

class PlantedDll : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::removeTree(kDownloads);
    ASSERT_TRUE(makeFolders(kDownloads));
    dlls_ = namesEndingIn(plantedFolder(), ".dll");
    ASSERT_GE(dlls_.size(), 2u);
    for (const std::string& dll : dlls_) {
      ASSERT_TRUE(copyFile(plantedFolder() + "\\" + dll, kDownloads + "\\" + dll)) << dll;
    }
  }
  // Also when a step fails on the way (a planted DLL may break what it was loaded into), the
  // markers name the DLLs whose code ran.
  void TearDown() override {
    if (installerRan_) {
      EXPECT_EQ(namesEndingIn(kDownloads, ".ran"), std::vector<std::string>{});
    }
  }
  std::vector<std::string> dlls_;
  bool installerRan_ = false;
};

// The control: in the same folder and with the same overrides, a program that restricts
// nothing loads the planted DLLs, and they leave their markers. Where the search cannot be
// restricted (Windows without SetDefaultDllDirectories), the program first loads the system
// DLLs that system code loads by name from the system folder: the same loads by name then
// find those, and only a DLL of another name (imm32.dll stands for one here) is still taken
// from beside the program.
TEST_F(PlantedDll, RunInAProgramThatDoesNotRestrictTheSearch) {
  const std::string probe = kDownloads + "\\search_order_probe.exe";
  ASSERT_TRUE(copyFile(testFolder() + "\\search_order_probe.exe", probe));
  // Native first for the DLLs a row loads by name only: Wine would otherwise also take the
  // planted copies of DLLs that its own builtin DLLs import (KnownDLLs on Windows). Wine has
  // no cryptbase.dll in its system folder, so that one cannot be shown here.
  struct Row {
    const char* arguments;
    std::vector<std::string> loaded;
    std::vector<std::string> ran;
  } rows[] = {
      {"uxtheme.dll version.dll", {"uxtheme.dll", "version.dll"}, {"uxtheme.dll.ran", "version.dll.ran"}},
      {"preload uxtheme.dll dwmapi.dll version.dll propsys.dll",
       {"uxtheme.dll", "dwmapi.dll", "version.dll", "propsys.dll"}, {}},
      {"preload uxtheme.dll imm32.dll", {"uxtheme.dll", "imm32.dll"}, {"imm32.dll.ran"}},
  };
  for (const Row& row : rows) {
    for (const std::string& marker : namesEndingIn(kDownloads, ".ran")) runtime::deleteFile(kDownloads + "\\" + marker);
    NativeFirst nativeFirst("search_order_probe.exe", row.loaded);
    EXPECT_EQ(testsupport::runProcess("\"" + probe + "\" " + row.arguments), 0u) << row.arguments;
    EXPECT_EQ(namesEndingIn(kDownloads, ".ran"), row.ran) << row.arguments;
  }
}

TEST_F(PlantedDll, NeverRunInTheInstallerFromStartThroughTheHelpLinkToTheGameStart) {
  const std::string folder = freshGameFolder();
  const std::string installerPath = kDownloads + "\\QXInstaller.exe";
  ASSERT_TRUE(copyFile(testFolder() + "\\QXInstaller.exe", installerPath));
  NativeFirst nativeFirst("QXInstaller.exe", dlls_);

  installerRan_ = true;
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath));
  EXPECT_EQ(bytesOf(kDownloads + "\\" + kHelpName), bytesOf("R:\\help.docx"));

  installer.pressMouse(installer.helpLink());
  Box shellBox;
  if (nextBox(shellBox, 3000)) press(shellBox, IDOK);  // whatever the shell shows for a .docx
  EXPECT_TRUE(installer.running());
  EXPECT_EQ(installer.status(), "初始化完成！可以开始汉化~");

  installer.typeFolder(folder);
  installer.click(installer.typedFolderButton());
  answerDialogue(closingDialogue(true).data(), 3);
  EXPECT_EQ(installer.waitForExit(), 0u);
  EXPECT_EQ(waitForBytes(folder + "\\started.txt", kShellStartWaitMs), "started");
  const std::vector<std::string> differences = compareWithReference(folder);
  EXPECT_TRUE(differences.empty()) << differences.front();
}

}  // namespace
}  // namespace installertest
