#include "installer/installation_run.h"

#include <cmath>
#include <cstdio>

#include "installer/controls.h"
#include "installer/globals.h"
#include "installer/procedures.h"
#include "installer/run_state.h"
#include "runtime/dialogs.h"
#include "runtime/events.h"
#include "runtime/files.h"
#include "runtime/path.h"
#include "runtime/program.h"
#include "runtime/shell.h"
#include "ui/properties.h"
#include "unzip/unzip_component.h"

namespace installer {
namespace {

constexpr const char* kNoticeTitle = "来自小岚的提示：";

// Rows 1, 2, 4, 3, 5 of the catalogue: the order of unpacking and deleting.
constexpr int kUnpackOrder[payload::kEmbeddedArchiveCount] = {0, 1, 3, 2, 4};

runtime::ByteView dataOf(const payload::EmbeddedArchive& archive) {
  return runtime::ByteView{archive.data->data(), archive.data->count};
}

void stopProgress() {
  ui::setProperty(kProgressTimer, ui::kTimerInterval, 0);
}

void reportFailure(const InstallFailure& failure) {
  stopProgress();
  ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kFailedText));
  runtime::messageBox(failureMessage(failure), MB_ICONERROR, runtime::Text(kNoticeTitle));
}

// The archive files a run has written so far, in table order.
struct WrittenArchives {
  const runtime::Text& folder;
  int count = 0;

  void deleteAll() const {
    for (int i = 0; i < count; ++i) runtime::deleteFile(folder + payload::embeddedArchives()[i].archiveFileName);
  }
};

}  // namespace

runtime::Text gameFolderOf(const runtime::Text& exePath) {
  const double n = static_cast<double>(runtime::textLength(exePath)) - 13.0;
  return runtime::leftText(exePath, static_cast<int32_t>(std::trunc(n)));
}

std::optional<InstallFailure> unpackArchive(const runtime::Text& folder, const payload::EmbeddedArchive& row,
                                            runtime::FrameService* frames) {
  const runtime::Text target = folder + row.targetFolderName;
  unzip::ExtractionFailure cause;
  const int32_t result = unzip::unzipArchive(ui::extractionOwner(kArchiveComponent),
                                             (folder + row.archiveFileName).c_str(), target.c_str(), &cause, frames);
  if (result == 1) return std::nullopt;
  InstallFailure failure{&row, InstallStep::Unpack, target, cause.systemError,
                         cause.cause == unzip::FailureCause::DamagedArchive};
  if (!obstacleCause(cause.cause, cause.path).empty()) {
    failure.obstacle = cause.cause;
    failure.blocker = cause.path;
  }
  return failure;
}

InstallReport installArchives(const runtime::Text& folder) {
  const payload::EmbeddedArchive* rows = payload::embeddedArchives();
  InstallReport report;
  runtime::FrameService frames(runStillWanted);
  WrittenArchives archives{folder};
  int& written = archives.count;
  // Should the session end under the run, the archives go before the program does.
  const runtime::UndoOnSessionEnd undo([](void* context) { static_cast<WrittenArchives*>(context)->deleteAll(); },
                                       &archives);

  for (; written < payload::kEmbeddedArchiveCount && !runAbandoned(); ++written) {
    const payload::EmbeddedArchive& row = rows[written];
    const runtime::Text path = folder + row.archiveFileName;
    DWORD error = 0;
    if (!runtime::writeFile(path, {dataOf(row)}, &error, &frames)) {
      report.failure = InstallFailure{&row, InstallStep::Write, path, error};
      // A folder of the archive's name is refused as access denied: name it instead.
      if (error == ERROR_ACCESS_DENIED && runtime::isFolder(path)) {
        report.failure->obstacle = unzip::FailureCause::FolderInTheWay;
        report.failure->blocker = path;
        break;  // the folder is not ours to delete
      }
      ++written;  // the failed file was created or truncated by us: it goes too
      break;
    }
  }

  if (!report.failure) {
    for (int index : kUnpackOrder) {
      if (runAbandoned()) break;
      report.failure = unpackArchive(folder, rows[index], &frames);
      if (report.failure) break;
    }
  }

  if (report.failure || runAbandoned()) {
    // Nothing of the failed run stays behind but what was unpacked.
    archives.deleteAll();
    return report;
  }
  for (int index : kUnpackOrder) {
    const runtime::Text path = folder + rows[index].archiveFileName;
    if (!runtime::deleteFile(path)) report.undeleted.push_back(path);
  }
  return report;
}

const char kDamagedArchiveCause[] = "可能的原因：程序中的汉化文件已损坏或无法读取。请重新下载本程序后再试。";

runtime::Text failureCause(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
      return "可能的原因：没有写入游戏目录的权限。请以管理员身份运行本程序后再试。";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "可能的原因：文件正被其他程序占用（例如游戏正在运行）。请关闭游戏后再试。";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY:
      return "可能的原因：游戏目录不存在。请确认填写的游戏目录正确。";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "可能的原因：磁盘空间不足。请清理磁盘后再试。";
    case ERROR_FILENAME_EXCED_RANGE:
      return "可能的原因：路径太长，超出了 Windows 允许的长度。请把游戏移到路径较短的文件夹后再试。";
    default: {
      char text[200];
      std::snprintf(text, sizeof text,
                    "可能的原因：没有写入权限（请以管理员身份运行）、游戏目录不存在或磁盘已满。（错误代码：%lu）",
                    static_cast<unsigned long>(error));
      return text;
    }
  }
}

runtime::Text obstacleCause(unzip::FailureCause obstacle, const runtime::Text& blocker) {
  switch (obstacle) {
    case unzip::FailureCause::FileInTheWay:
      return runtime::joinText("可能的原因：游戏目录中有一个文件与要建立的文件夹同名：\r\n", blocker,
                               "\r\n请移走或删除这个文件后再试。");
    case unzip::FailureCause::FolderInTheWay:
      return runtime::joinText("可能的原因：游戏目录中有一个文件夹与要写入的文件同名：\r\n", blocker,
                               "\r\n请移走或删除这个文件夹后再试。");
    case unzip::FailureCause::PathTooLong:
      return runtime::joinText("可能的原因：路径太长，超出了 Windows 允许的长度：\r\n", blocker,
                               "\r\n请把游戏移到路径较短的文件夹后再试。");
    default:
      return runtime::Text();
  }
}

runtime::Text failureMessage(const InstallFailure& failure) {
  const char* archive = failure.archive->archiveFileName + 1;  // without its backslash
  runtime::Text what = failure.step == InstallStep::Write
                           ? runtime::joinText("未能写入汉化文件“", archive, "”：\r\n", failure.path)
                           : runtime::joinText("未能将“", archive, "”解压到：\r\n", failure.path);
  const runtime::Text obstacle = obstacleCause(failure.obstacle, failure.blocker);
  const runtime::Text cause = failure.damagedArchive ? runtime::Text(kDamagedArchiveCause)
                              : !obstacle.empty()    ? obstacle
                                                     : failureCause(failure.error);
  return runtime::joinText("汉化失败！\r\n\r\n", what, "\r\n\r\n", cause);
}

void installInto(const runtime::Text& folder) {
  const InstallReport report = installArchives(folder);
  if (runAbandoned()) return;
  if (report.failure) {
    reportFailure(*report.failure);
    return;
  }
  finishRun(report);
}

void installFromFoundGame() {
  if (gameExePath.empty()) {
    // Nothing was found: nothing is written, and the quick way is suggested.
    stopProgress();
    ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kIdleText));
    runtime::messageBox("未能在本机的磁盘上找到游戏（Unturned.exe）。\r\n\r\n"
                        "请在“游戏目录：”中填写游戏所在的文件夹，然后点击“快速汉化”。",
                        MB_ICONERROR, runtime::Text(kNoticeTitle));
    return;
  }
  installInto(gameFolderOf(gameExePath));
}

void installFromTypedFolder() {
  if (RunGuard::inProgress()) return;
  RunGuard run;
  const runtime::Text folder = ui::getText(kFolderBox, ui::kEditBoxContent);
  const runtime::Text lowerCaseExe = folder + "\\" + "unturned.exe";
  gameExePath = runtime::fileExists(lowerCaseExe) ? lowerCaseExe : folder + "\\" + "Unturned.exe";
  const runtime::Text ending = runtime::rightText(folder, 8);
  if (runtime::compareText(ending, "unturned") != 0 && runtime::compareText(ending, "Unturned") != 0) {
    runtime::messageBox("请输入正确的游戏目录！", MB_ICONERROR, runtime::Text(kNoticeTitle));
    return;
  }
  installInto(folder);
}

void finishRun(const InstallReport& report) {
  stopProgress();
  ui::setProperty(kStatusLine, ui::kTransLabelCaption, runtime::Text(kCompleteText));
  runtime::delay(500);
  if (runAbandoned()) return;
  if (!report.undeleted.empty()) {
    runtime::Text list;
    for (const runtime::Text& path : report.undeleted) list += "\r\n" + path;
    runtime::messageBox("汉化文件已全部解压，但以下临时文件未能删除，可以手动删除：" + list, MB_ICONWARNING,
                        runtime::Text(kNoticeTitle));
  }
  runtime::messageBox("汉化已完成！感谢为您服务~", 0, runtime::Text("来自青岚的提示:"));
  const runtime::MessageBoxResult answer =
      runtime::messageBox("是否需要现在上线体验？", MB_YESNO, runtime::Text("———小岚的询问："));
  if (answer == runtime::kResultYes) runtime::shellExecute(std::nullopt, gameExePath);
  runtime::messageBox("祝您游戏愉快~身体健康！生活快乐！！！", 0, runtime::Text("祝福："));
  if (HWND window = ui::mainWindow()) runtime::destroyWindow(window);
}

}  // namespace installer
