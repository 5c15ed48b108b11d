// The controls the installer touches, by their unit names in the window layout.
#pragma once

namespace installer {

constexpr const char* kAutomaticButton = "按钮1";  // "一键汉化"
constexpr const char* kTypedFolderButton = "按钮2";  // "快速汉化"
constexpr const char* kFolderBox = "编辑框1";
constexpr const char* kStatusLine = "透明标签1";
constexpr const char* kProgressTimer = "时钟2";
constexpr const char* kBanner = "标签1";
constexpr const char* kArchiveComponent = "ZIP压缩1";

// The status line's texts.
constexpr const char* kIdleText = "初始化完成！可以开始汉化~";
constexpr const char* kStartingText = "开始汉化!请勿进行其他操作！";
constexpr const char* kCompleteText = "汉化完成！";
constexpr const char* kFailedText = "汉化失败！请查看提示后重试~";

}  // namespace installer
