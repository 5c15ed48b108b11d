// installArchives into real folders on D:, compared with the reference on R: that Python's
// zipfile unpacked from the same payload files.
#include <gtest/gtest.h>

#include <string>

#include "installer/installation_run.h"
#include "installer/tests/tree_compare.h"
#include "runtime/handles.h"
#include "runtime/path.h"
#include "runtime/tests/test_support.h"
#include "runtime/text.h"

namespace installer {
namespace {

using testsupport::removeTree;

std::string freshGameFolder(const std::string& name) {
  const std::string parent = "D:\\" + name;
  removeTree(parent);
  CreateDirectoryW(runtime::toWide(parent).c_str(), nullptr);
  const std::string folder = parent + "\\Unturned";
  CreateDirectoryW(runtime::toWide(folder).c_str(), nullptr);
  return folder;
}

void expectInstalled(const std::string& folder) {
  const std::vector<std::string> differences = installertest::compareWithReference(folder);
  EXPECT_TRUE(differences.empty()) << differences.size() << " differences, first: " << differences.front();
  EXPECT_TRUE(installertest::zipFilesIn(folder).empty());
}

TEST(InstallArchives, UnpacksEveryArchiveIntoItsFolderAndDeletesTheArchives) {
  const std::string folder = freshGameFolder("fresh");
  const InstallReport report = installArchives(folder);
  EXPECT_FALSE(report.failure.has_value());
  EXPECT_TRUE(report.undeleted.empty());
  expectInstalled(folder);
  // Nothing but the five target folders.
  EXPECT_EQ(testsupport::listFolder(folder),
            (std::vector<std::string>{"Bundles", "Extras", "Localization", "Maps", "Translations"}));
}

// Ticks of a timer counted while Bundles.zip, the largest archive, is unpacked: its folder
// is there and the archive is not deleted yet.
std::string liveFolder;
int ticksDuringBundles = 0;
void CALLBACK countTick(HWND, UINT, UINT_PTR, DWORD) {
  if (testsupport::isFolder(liveFolder + "\\Bundles") && runtime::pathExists(liveFolder + "\\Bundles.zip")) {
    ++ticksDuringBundles;
  }
}

TEST(InstallArchives, TheWindowIsServicedDuringTheUnpackOfALargeArchive) {
  liveFolder = freshGameFolder("live");
  ticksDuringBundles = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, countTick);
  ASSERT_NE(timer, 0u);
  const InstallReport report = installArchives(liveFolder);
  KillTimer(nullptr, timer);
  EXPECT_FALSE(report.failure.has_value());
  EXPECT_GT(ticksDuringBundles, 1);
  expectInstalled(liveFolder);
}

TEST(InstallArchives, AGameInADriveRootInstallsIntoThatRoot) {
  for (const std::string& name : testsupport::listFolder("E:\\")) removeTree("E:\\" + name);
  ASSERT_TRUE(testsupport::writeBytes("E:\\Unturned.exe", "MZ"));
  const std::string folder = gameFolderOf("E:\\Unturned.exe");
  ASSERT_EQ(folder, "E:");
  EXPECT_FALSE(installArchives(folder).failure.has_value());
  expectInstalled("E:");
  EXPECT_EQ(testsupport::listFolder("E:\\"), (std::vector<std::string>{"Bundles", "Extras", "Localization", "Maps",
                                                                       "Translations", "Unturned.exe"}));
  for (const std::string& name : testsupport::listFolder("E:\\")) removeTree("E:\\" + name);
}

TEST(InstallArchives, ReplacesArchivesAndOlderFilesOfAnEarlierRun) {
  const std::string folder = freshGameFolder("again");
  ASSERT_TRUE(testsupport::writeBytes(folder + "\\Translations.zip", "an older archive"));
  ASSERT_TRUE(testsupport::writeBytes(folder + "\\Bundles.zip", std::string(5000, 'x')));
  CreateDirectoryW(runtime::toWide(folder + "\\Translations").c_str(), nullptr);
  const std::string old = folder + "\\Translations\\Schinese.translation";
  ASSERT_TRUE(testsupport::writeBytes(old, "older translation"));
  SetFileAttributesW(runtime::toWide(old).c_str(), FILE_ATTRIBUTE_READONLY);
  const InstallReport report = installArchives(folder);
  EXPECT_FALSE(report.failure.has_value());
  expectInstalled(folder);
  EXPECT_EQ(GetFileAttributesW(runtime::toWide(old).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(InstallArchives, AFolderOfAnArchivesNameIsNamedAsInTheWay) {
  const std::string folder = freshGameFolder("folder named as archive");
  ASSERT_TRUE(CreateDirectoryW(runtime::toWide(folder + "\\Extras.zip").c_str(), nullptr));
  const InstallReport report = installArchives(folder);
  ASSERT_TRUE(report.failure.has_value());
  EXPECT_EQ(report.failure->step, InstallStep::Write);
  EXPECT_EQ(report.failure->obstacle, unzip::FailureCause::FolderInTheWay);
  EXPECT_EQ(report.failure->blocker, folder + "\\Extras.zip");
  // The folder stays; the archive written before it goes.
  EXPECT_TRUE(testsupport::isFolder(folder + "\\Extras.zip"));
  EXPECT_EQ(installertest::zipFilesIn(folder), std::vector<std::string>{"Extras.zip"});
}

TEST(InstallArchives, AFolderThatDoesNotExistFailsOnTheFirstWrite) {
  removeTree("D:\\missing");
  const InstallReport report = installArchives("D:\\missing\\Unturned");
  ASSERT_TRUE(report.failure.has_value());
  EXPECT_EQ(report.failure->step, InstallStep::Write);
  EXPECT_STREQ(report.failure->archive->archiveFileName, "\\Translations.zip");
  EXPECT_EQ(report.failure->path, "D:\\missing\\Unturned\\Translations.zip");
  EXPECT_EQ(report.failure->error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(testsupport::isFolder("D:\\missing"));
}

TEST(InstallArchives, AFileHeldByAnotherProgramFailsTheRunAndLeavesNoArchiveBehind) {
  const std::string folder = freshGameFolder("held");
  const std::string held = folder + "\\Localization.zip";
  ASSERT_TRUE(testsupport::writeBytes(held, "held"));
  runtime::FileHandle lock = runtime::openExisting(held.c_str(), GENERIC_READ, 0);
  ASSERT_TRUE(lock);
  const InstallReport report = installArchives(folder);
  ASSERT_TRUE(report.failure.has_value());
  EXPECT_EQ(report.failure->step, InstallStep::Write);
  EXPECT_STREQ(report.failure->archive->archiveFileName, "\\Localization.zip");
  EXPECT_EQ(report.failure->error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // The two archives written before it are gone again; nothing was unpacked.
  EXPECT_EQ(installertest::zipFilesIn(folder), std::vector<std::string>{"Localization.zip"});
  EXPECT_FALSE(testsupport::isFolder(folder + "\\Translations"));
  lock.reset();
  // With the cause gone, the same folder installs.
  EXPECT_FALSE(installArchives(folder).failure.has_value());
  expectInstalled(folder);
}

TEST(InstallArchives, ADamagedArchiveIsReportedWithItsOwnCause) {
  const payload::EmbeddedArchive& maps = payload::embeddedArchives()[3];
  const std::string data(reinterpret_cast<const char*>(maps.data->data()), static_cast<size_t>(maps.data->count));
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"cut off before its central directory", data.substr(0, data.size() / 2)},
      {"entries overwritten with zeros", data.substr(0, 64) + std::string(data.size() / 2, '\0') +
                                             data.substr(64 + data.size() / 2)},
  };
  for (const Row& row : rows) {
    const std::string folder = freshGameFolder("damaged");
    ASSERT_TRUE(testsupport::writeBytes(folder + "\\Maps.zip", row.bytes));
    const std::optional<InstallFailure> failure = unpackArchive(folder, maps);
    ASSERT_TRUE(failure.has_value()) << row.what;
    EXPECT_EQ(failure->step, InstallStep::Unpack);
    EXPECT_TRUE(failure->damagedArchive) << row.what;
    const runtime::Text text = failureMessage(*failure);
    EXPECT_NE(text.find(kDamagedArchiveCause), runtime::Text::npos) << row.what;
    EXPECT_EQ(text.find("游戏目录不存在"), runtime::Text::npos) << row.what;
  }
}

TEST(InstallArchives, AnUnpackThatFailsIsReported) {
  const std::string folder = freshGameFolder("blocked");
  // A file where the Maps folder must go: its folders cannot be created.
  ASSERT_TRUE(testsupport::writeBytes(folder + "\\Maps", "not a folder"));
  const InstallReport report = installArchives(folder);
  ASSERT_TRUE(report.failure.has_value());
  EXPECT_EQ(report.failure->step, InstallStep::Unpack);
  EXPECT_STREQ(report.failure->archive->targetFolderName, "\\Maps");
  EXPECT_EQ(report.failure->path, folder + "\\Maps");
  // The cause is the file in the way, not the archive and not a permission.
  EXPECT_FALSE(report.failure->damagedArchive);
  EXPECT_EQ(report.failure->obstacle, unzip::FailureCause::FileInTheWay);
  EXPECT_EQ(report.failure->blocker, folder + "\\Maps");
  EXPECT_NE(report.failure->error, 0u);
  EXPECT_TRUE(installertest::zipFilesIn(folder).empty());
  // Translations and Extras come before Maps and were unpacked.
  EXPECT_TRUE(testsupport::isFolder(folder + "\\Extras"));
  EXPECT_FALSE(testsupport::isFolder(folder + "\\Localization"));
}

}  // namespace
}  // namespace installer
