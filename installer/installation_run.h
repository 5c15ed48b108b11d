// The installation run: write the five archives into the game folder, unpack each into its
// sub-folder, delete them again, then the closing dialogue.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "payload/catalogue.h"
#include "runtime/events.h"
#include "runtime/text.h"
#include "unzip/archive_extractor.h"

namespace installer {

enum class InstallStep { Write, Unpack };

struct InstallFailure {
  const payload::EmbeddedArchive* archive;
  InstallStep step;
  runtime::Text path;           // the archive file (write) or the target folder (unpack)
  DWORD error;                  // the system's error code, kept at the call that failed
  bool damagedArchive = false;  // instead: the archive's data are damaged or unreadable
  // What stood in the way, when that is known: a file where a folder must go, a folder where a
  // file must go, or a path too long for Windows; blocker is its path.
  unzip::FailureCause obstacle = unzip::FailureCause::None;
  runtime::Text blocker{};
};

struct InstallReport {
  std::optional<InstallFailure> failure;
  std::vector<runtime::Text> undeleted;  // archive files that stayed after a complete unpack
};

// Unpacks the row's archive, written into folder, into its target folder below folder;
// frames, when given, services the window meanwhile.
std::optional<InstallFailure> unpackArchive(const runtime::Text& folder, const payload::EmbeddedArchive& row,
                                            runtime::FrameService* frames = nullptr);

// Writes the archives in table order, unpacks them in the order Translations, Extras, Maps,
// Localization, Bundles and deletes them in that order. It stops at the first write or
// unpack that fails and deletes the archive files it wrote; a delete that fails after a
// complete unpack is only noted. The window is serviced at frame rate throughout; when the
// run's window is closed meanwhile, the file in progress is rolled back (a new one removed,
// an old one left whole), nothing more is unpacked and the archive files written go again.
InstallReport installArchives(const runtime::Text& folder);

// The game folder of an executable path: all but its last 13 bytes (a backslash and the
// 12-byte name); the bare drive with its colon for a game in a drive root.
runtime::Text gameFolderOf(const runtime::Text& exePath);

// Installs into folder and ends with the closing dialogue; on a failure tells the user what
// failed and why it likely did, and returns to idle.
void installInto(const runtime::Text& folder);
void installFromFoundGame();
void finishRun(const InstallReport& report);

// The texts of the failure message, for tests.
runtime::Text failureCause(DWORD error);
// The cause for something in the way or a path too long; empty for any other obstacle.
runtime::Text obstacleCause(unzip::FailureCause obstacle, const runtime::Text& blocker);
extern const char kDamagedArchiveCause[];
runtime::Text failureMessage(const InstallFailure& failure);

}  // namespace installer
