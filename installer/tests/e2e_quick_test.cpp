// The quick way end to end: the real program, driven from outside, installing into a game
// folder on drive D:; R: holds the reference unpacked by Python's zipfile and the help
// document as packed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "installer/tests/e2e_helpers.h"
#include "installer/tests/installer_driver.h"
#include "installer/tests/tree_compare.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace installertest {
namespace {

std::string installerPath() { return testFolder() + "\\QXInstaller.exe"; }

struct QuickRun {
  const char* name;
  bool startGame;    // the answer to the game's offer
  const char* folder;
  bool pasted;       // pasted into the edit box, or typed
};

void PrintTo(const QuickRun& run, std::ostream* out) { *out << run.name; }

class QuickWay : public testing::TestWithParam<QuickRun> {};

TEST_P(QuickWay, InstallsEveryEntryAndOffersTheGame) {
  const bool startGame = GetParam().startGame;
  const std::string folder = freshGameFolder(GetParam().folder);
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  const std::string help = testFolder() + "\\" + kHelpName;
  EXPECT_TRUE(bytesOf(help) == bytesOf("R:\\help.docx")) << "the help document is not at " << help;

  if (GetParam().pasted) {
    ASSERT_TRUE(installer.pasteFolder(folder));
  } else {
    installer.typeFolder(folder);
  }
  installer.click(installer.typedFolderButton());
  const std::array<ExpectedBox, 3> dialogue = closingDialogue(startGame);
  Box first;
  ASSERT_TRUE(nextBox(first));
  EXPECT_EQ(installer.status(), "汉化完成！");
  EXPECT_EQ(first.title, dialogue[0].title);
  EXPECT_EQ(first.text, dialogue[0].text);
  press(first, IDOK);
  answerDialogue(dialogue.data() + 1, 2);
  EXPECT_EQ(installer.waitForExit(), 0u);

  const std::vector<std::string> differences = compareWithReference(folder);
  EXPECT_TRUE(differences.empty()) << differences.front();
  EXPECT_TRUE(zipFilesIn(folder).empty());
  EXPECT_EQ(runtime::fileExists(help), false);
  // The shell starts the game on its own time: "not started" is concluded only after as
  // long a wait as a start may take.
  EXPECT_EQ(waitForBytes(folder + "\\started.txt", kShellStartWaitMs), startGame ? "started" : "<missing>");
}

// Named so that the suite's filter "QuickWay*" selects it: QuickWayAnswered/QuickWay.*/Yes.
// Folders named outside the system's code page are pasted, as a user takes them from the
// address bar of a file window: Chinese (outside 1252 and 932), Korean (outside all three).
INSTANTIATE_TEST_SUITE_P(QuickWayAnswered, QuickWay,
                         testing::Values(QuickRun{"Yes", true, "D:\\Games\\Unturned", false},
                                         QuickRun{"No", false, "D:\\Games\\Unturned", false},
                                         QuickRun{"PastedChinese", true, "D:\\游戏\\Unturned", true},
                                         QuickRun{"PastedKorean", true, "D:\\게임\\Unturned", true}),
                         [](const testing::TestParamInfo<QuickRun>& info) { return info.param.name; });

TEST(QuickWayRejects, FoldersThatDoNotEndInTheGameName) {
  const std::string folder = freshGameFolder();
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  const std::string rejected[] = {folder + "\\", "D:\\Games\\UNTURNED", folder + " ", "", "D:\\Games"};
  for (const std::string& typed : rejected) {
    SCOPED_TRACE("typed: \"" + typed + "\"");
    installer.typeFolder(typed);
    installer.click(installer.typedFolderButton());
    Box box;
    ASSERT_TRUE(nextBox(box));
    EXPECT_EQ(box.title, "来自小岚的提示：");
    EXPECT_EQ(box.text, "请输入正确的游戏目录！");
    press(box, IDOK);
    Sleep(100);
    // Idle again: the buttons work, the status line is unchanged, nothing was written.
    EXPECT_TRUE(IsWindowEnabled(installer.typedFolderButton()));
    EXPECT_TRUE(IsWindowEnabled(installer.automaticButton()));
    EXPECT_EQ(installer.status(), "初始化完成！可以开始汉化~");
    EXPECT_EQ(testsupport::listFolder(folder), std::vector<std::string>{"Unturned.exe"});
    EXPECT_EQ(testsupport::listFolder("D:\\Games"), std::vector<std::string>{"Unturned"});
  }
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(), 0u);
  EXPECT_FALSE(runtime::fileExists(testFolder() + "\\" + kHelpName));
}

// A close during the run: the window goes at once, the entry in progress is rolled back,
// nothing more is written, the archives go, no box follows and the program ends with 0.
bool waitFor(const std::string& path) {
  const DWORD begin = GetTickCount();
  const std::wstring wide = runtime::toWide(path);
  while (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - begin > 60000) return false;
    Sleep(1);
  }
  return true;
}

// session_end_probe.dll hooked into the installer's GUI thread: it notes where a close or a
// session end landed, ends the program the moment it has answered WM_ENDSESSION (so only
// what the program did inside its answer counts), and makes archive writes slow.
constexpr UINT kEndedBySystem = 7;  // the probe's exit code

class SessionEndProbe {
 public:
  // Before the installer starts: it inherits where to look and where to write.
  explicit SessionEndProbe(const std::string& gameFolder) : log_(testFolder() + "\\landing.txt") {
    runtime::deleteFile(log_);
    SetEnvironmentVariableW(L"QX_PROBE_FOLDER", runtime::toWide(gameFolder).c_str());
    SetEnvironmentVariableW(L"QX_PROBE_LOG", runtime::toWide(log_).c_str());
    module_ = LoadLibraryW(runtime::toWide(testFolder() + "\\session_end_probe.dll").c_str());
  }
  ~SessionEndProbe() {
    for (HHOOK hook : hooks_) UnhookWindowsHookEx(hook);
    if (module_ != nullptr) FreeLibrary(module_);
  }
  SessionEndProbe(const SessionEndProbe&) = delete;
  SessionEndProbe& operator=(const SessionEndProbe&) = delete;

  // Hooks the installer's GUI thread; the message sent last loads the probe there.
  bool attach(const InstallerProcess& installer) {
    if (module_ == nullptr) return false;
    const DWORD thread = GetWindowThreadProcessId(installer.window(), nullptr);
    const std::pair<int, const char*> hooks[] = {{WH_GETMESSAGE, "probeTakenMessage"},
                                                 {WH_CALLWNDPROC, "probeSentMessage"},
                                                 {WH_CALLWNDPROCRET, "probeAnsweredMessage"}};
    for (const auto& [kind, name] : hooks) {
      const auto procedure = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
      HHOOK hook = procedure != nullptr ? SetWindowsHookExW(kind, procedure, module_, thread) : nullptr;
      if (hook == nullptr) return false;
      hooks_.push_back(hook);
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(installer.window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
  }
  // The names in the game folder when the program took the close or the session end.
  std::vector<std::string> landing() const {
    std::vector<std::string> names;
    std::string text = bytesOf(log_);
    if (text == "<missing>") return {"<no landing noted>"};
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      names.push_back(text.substr(at, end - at));
    }
    return names;
  }

 private:
  std::string log_;
  HMODULE module_ = nullptr;
  std::vector<HHOOK> hooks_;
};

enum class Close { ByUser, SessionEnds };

TEST(QuickWayClosed, DuringTheRunLeavesOnlyWholeFilesAndEndsAtOnce) {
  struct Row {
    const char* what;
    const char* when;  // the close follows the appearance of this name in the game folder; null: at once
    Close how;
    // Where the close landed: names the game folder held then, and names it did not hold yet.
    std::vector<std::string> landedAfter;
    std::vector<std::string> landedBefore;
    std::vector<std::string> complete;  // target folders unpacked in full
  };
  const Row rows[] = {
      {"with the click, as the archives are written", nullptr, Close::ByUser,
       {"Translations.zip"}, {"Translations"}, {}},
      {"between two archives, as Extras begins", "Extras", Close::ByUser,
       {"Extras"}, {"Bundles"}, {"Translations"}},
      {"in the middle of the largest archive", "Bundles", Close::ByUser,
       {"Bundles"}, {}, {"Translations", "Extras", "Maps", "Localization"}},
      {"the session ends in the middle of the largest archive", "Bundles", Close::SessionEnds,
       {"Bundles"}, {}, {"Translations", "Extras", "Maps", "Localization"}},
      {"the session ends while an archive is being written", "Bundles.zip", Close::SessionEnds,
       {"Bundles.zip"}, {"Translations"}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string folder = freshGameFolder();
    SessionEndProbe probe(folder);
    InstallerProcess installer;
    ASSERT_TRUE(installer.start(installerPath()));
    ASSERT_TRUE(probe.attach(installer));
    installer.typeFolder(folder);
    installer.click(installer.typedFolderButton());
    if (row.when != nullptr) {
      ASSERT_TRUE(waitFor(folder + "\\" + row.when));
    }
    if (row.how == Close::ByUser) {
      installer.closeByUser();
    } else {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(installer.window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
      EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
      // The probe ends the program as soon as it has answered: what it had half done must be
      // undone inside the answer.
      SendMessageTimeoutW(installer.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer);
    }
    EXPECT_EQ(installer.waitForExit(3000), row.how == Close::ByUser ? 0u : kEndedBySystem);
    const std::vector<std::string> landing = probe.landing();
    std::string landed;
    for (const std::string& name : landing) landed += " " + name;
    const auto there = [&landing](const std::string& name) {
      return std::find(landing.begin(), landing.end(), name) != landing.end();
    };
    for (const std::string& name : row.landedAfter) EXPECT_TRUE(there(name)) << name << " not there yet:" << landed;
    for (const std::string& name : row.landedBefore) EXPECT_FALSE(there(name)) << name << " there already:" << landed;
    Box stray;
    EXPECT_FALSE(nextBox(stray, 300)) << stray.text;
    EXPECT_FALSE(runtime::fileExists(testFolder() + "\\" + kHelpName));

    EXPECT_TRUE(zipFilesIn(folder).empty()) << zipFilesIn(folder).front();
    const std::vector<std::string> differences = partOfReference(folder);
    EXPECT_TRUE(differences.empty()) << differences.size() << " differences, first: " << differences.front();
    for (const std::string& name : row.complete) {
      EXPECT_TRUE(compareTrees("R:\\" + name, folder + "\\" + name).empty()) << name;
    }
    // The run stopped where it was closed: the largest archive is not unpacked in full.
    EXPECT_FALSE(compareTrees("R:\\Bundles", folder + "\\Bundles").empty());
  }
}

TEST(QuickWay, ReplacesArchivesAndFilesOfAnEarlierRun) {
  const std::string folder = freshGameFolder();
  ASSERT_TRUE(testsupport::writeBytes(folder + "\\Maps.zip", "an old archive"));
  ASSERT_TRUE(makeFolders(folder + "\\Maps\\PEI"));
  ASSERT_TRUE(testsupport::writeBytes(folder + "\\Maps\\PEI\\Schinese.dat", "old words"));
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.typeFolder(folder);
  installer.click(installer.typedFolderButton());
  answerDialogue(closingDialogue(false).data(), 3);
  EXPECT_EQ(installer.waitForExit(), 0u);
  const std::vector<std::string> differences = compareWithReference(folder);
  EXPECT_TRUE(differences.empty()) << differences.front();
  EXPECT_TRUE(zipFilesIn(folder).empty());
}

TEST(QuickWay, AFileHeldOpenIsReportedAsInUseAndASecondAttemptSucceeds) {
  // Another program (here this one) holds a file open without sharing, as the running game
  // holds its assets: an archive being written, or a file unpacked by a former run, which
  // the move of its replacement meets with ERROR_ACCESS_DENIED.
  struct Row {
    std::string held;     // below the game folder
    std::string archive;  // named in the report
    std::vector<std::string> zipsLeft;
  };
  const Row rows[] = {
      {"\\Maps.zip", "“Maps.zip”", {"Maps.zip"}},  // only the held one
      {"\\Maps\\PEI\\Schinese.dat", "“Maps.zip”解压到", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.held);
    const std::string folder = freshGameFolder();
    const std::string held = folder + row.held;
    ASSERT_TRUE(makeFolders(folder + "\\Maps\\PEI"));
    ASSERT_TRUE(testsupport::writeBytes(held, "held by another program"));
    runtime::FileHandle lock = runtime::openExisting(held.c_str(), GENERIC_READ, 0);
    ASSERT_TRUE(lock);

    InstallerProcess installer;
    ASSERT_TRUE(installer.start(installerPath()));
    StatusRecorder statuses(installer);
    installer.typeFolder(folder);
    installer.click(installer.typedFolderButton());
    Box failure;
    ASSERT_TRUE(nextBox(failure));
    EXPECT_EQ(failure.title, "来自小岚的提示：");
    EXPECT_EQ(failure.text.rfind("汉化失败！", 0), 0u) << failure.text;
    EXPECT_NE(failure.text.find(row.archive), std::string::npos) << failure.text;
    EXPECT_NE(failure.text.find(folder), std::string::npos);
    EXPECT_NE(failure.text.find("文件正被其他程序占用（例如游戏正在运行）。请关闭游戏后再试。"), std::string::npos)
        << failure.text;
    EXPECT_EQ(failure.text.find("管理员"), std::string::npos) << failure.text;
    press(failure, IDOK);
    Sleep(200);
    const std::vector<std::string> shown = statuses.stop();
    for (const std::string& text : shown) EXPECT_NE(text, "汉化完成！");
    EXPECT_EQ(installer.status(), "汉化失败！请查看提示后重试~");
    EXPECT_TRUE(IsWindowEnabled(installer.typedFolderButton()));
    EXPECT_TRUE(runtime::fileExists(testFolder() + "\\" + kHelpName));
    EXPECT_EQ(zipFilesIn(folder), row.zipsLeft);

    lock.reset();
    EXPECT_EQ(bytesOf(held), "held by another program");  // the held file stayed as it was
    installer.click(installer.typedFolderButton());
    answerDialogue(closingDialogue(false).data(), 3);
    EXPECT_EQ(installer.waitForExit(), 0u);
    const std::vector<std::string> differences = compareWithReference(folder);
    EXPECT_TRUE(differences.empty()) << differences.front();
  }
}

TEST(QuickWay, AFolderWithoutWritePermissionIsReported) {
  // D:\ro\Unturned was made read-only for this user on the host.
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.typeFolder("D:\\ro\\Unturned");
  installer.click(installer.typedFolderButton());
  Box failure;
  ASSERT_TRUE(nextBox(failure));
  EXPECT_EQ(failure.text.rfind("汉化失败！", 0), 0u) << failure.text;
  EXPECT_NE(failure.text.find("Translations.zip"), std::string::npos);
  EXPECT_NE(failure.text.find("管理员身份运行"), std::string::npos);
  press(failure, IDOK);
  EXPECT_TRUE(testsupport::listFolder("D:\\ro\\Unturned").empty());
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(), 0u);
}

TEST(HelpLink, OpensTheDocumentThroughTheShellAndStaysIdle) {
  InstallerProcess installer;
  ASSERT_TRUE(installer.start(installerPath()));
  installer.pressMouse(installer.helpLink());
  // Whatever the shell does with a .docx (here nothing is registered for it), the
  // installer shows nothing of its own and stays idle.
  Box box;
  if (nextBox(box, 3000)) {
    EXPECT_EQ(box.title.find("小岚"), std::string::npos) << box.title;
    EXPECT_EQ(box.title.find("青岚"), std::string::npos) << box.title;
    press(box, IDOK);
  }
  EXPECT_TRUE(installer.running());
  EXPECT_TRUE(IsWindowEnabled(installer.typedFolderButton()));
  EXPECT_EQ(installer.status(), "初始化完成！可以开始汉化~");
  EXPECT_EQ(bytesOf(testFolder() + "\\" + kHelpName), bytesOf("R:\\help.docx"));
  installer.closeByUser();
  EXPECT_EQ(installer.waitForExit(), 0u);
}

// Wherever the program is started from, the help document lies beside it (one left from an
// earlier run is replaced) and goes with the window; nothing else there changes. The run
// folder may be a drive's root, or named in characters the system's code page cannot hold.
TEST(StartUp, TheHelpDocumentLiesBesideTheProgramAndGoesWithTheWindow) {
  const char* const runFolders[] = {
      "D:",                   // a drive's root: the run folder is the bare drive
      "C:\\Jörg\\Downloads",  // "ö" is not in code page 936
      "D:\\게임",             // Korean: in none of the code pages 936, 932 and 1252
  };
  for (const std::string folder : runFolders) {
    SCOPED_TRACE(folder);
    const std::string listed = folder.size() == 2 ? folder + "\\" : folder;
    ASSERT_TRUE(makeFolders(listed));
    const std::string program = folder + "\\QXInstaller.exe";
    const std::string help = folder + "\\" + kHelpName;
    ASSERT_TRUE(copyFile(installerPath(), program));
    ASSERT_TRUE(testsupport::writeBytes(help, "left from an earlier run"));
    const std::vector<std::string> before = testsupport::listFolder(listed);
    {
      InstallerProcess installer;
      ASSERT_TRUE(installer.start(program));
      EXPECT_EQ(bytesOf(help), bytesOf("R:\\help.docx"));  // replaced
      installer.closeByUser();
      EXPECT_EQ(installer.waitForExit(), 0u);
    }
    std::vector<std::string> expected;
    for (const std::string& name : before) {
      if (name != kHelpName) expected.push_back(name);
    }
    EXPECT_EQ(testsupport::listFolder(listed), expected);
    runtime::deleteFile(program);
  }
}

}  // namespace
}  // namespace installertest
