// The main window: its settings and its seventeen controls, in creation order.
#include <cstring>

#include "ui/layout.h"
#include "ui/resource_ids.h"

namespace ui {
namespace {

// A complete logical font record: output precision 3, clip precision 2, quality 1.
constexpr LOGFONTA makeFont(LONG pixels, LONG weight, bool italic, bool underline, BYTE charset,
                            const char* face) {
  LOGFONTA font{};
  font.lfHeight = -pixels;  // negative: character height in pixels
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfCharSet = charset;
  font.lfOutPrecision = OUT_STROKE_PRECIS;
  font.lfClipPrecision = CLIP_STROKE_PRECIS;
  font.lfQuality = DRAFT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  for (int i = 0; face[i] != '\0' && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
  return font;
}

constexpr BYTE kGb2312 = GB2312_CHARSET;  // 134
constexpr BYTE kAnsi = ANSI_CHARSET;      // 0

// The records keep their face names as the logical font records have always held them, in
// code page 936 bytes, whatever the system's code page; createFont reads them as such.
constexpr const char* kNewSongFace = "\xD0\xC2\xCB\xCE\xCC\xE5";  // 新宋体
constexpr const char* kFangSongFace = "\xB7\xC2\xCB\xCE";          // 仿宋
constexpr const char* kBrushFace = "\xBB\xAA\xCE\xC4\xD0\xD0\xBF\xAC";  // 华文行楷

constexpr LOGFONTA kStatusFont = makeFont(32, FW_BOLD, false, false, kGb2312, kNewSongFace);
constexpr LOGFONTA kHintFont = makeFont(37, FW_BOLD, false, false, kGb2312, kFangSongFace);
constexpr LOGFONTA kFolderCaptionFont = makeFont(16, FW_BOLD, false, false, kGb2312, kFangSongFace);
constexpr LOGFONTA kLinkFont = makeFont(12, FW_NORMAL, false, true, kGb2312, kNewSongFace);
constexpr LOGFONTA kTipsFont = makeFont(32, FW_NORMAL, false, false, kGb2312, kFangSongFace);
// A running-hand brush face; the font mapper substitutes where it is not installed.
constexpr LOGFONTA kBannerFont = makeFont(32, FW_NORMAL, true, false, kGb2312, kBrushFace);
constexpr LOGFONTA kStripFont = makeFont(12, FW_BOLD, false, false, kGb2312, kNewSongFace);
constexpr LOGFONTA kButtonFont = makeFont(29, FW_BOLD, false, false, kAnsi, "hakuyoxingshu7000");

constexpr uint32_t kYellow = RGB(255, 255, 0);
constexpr uint32_t kGreen = RGB(0, 255, 0);
constexpr uint32_t kMaroon = RGB(128, 0, 0);
constexpr uint32_t kRed = RGB(255, 0, 0);
constexpr uint32_t kBlack = RGB(0, 0, 0);
constexpr uint32_t kWhite = RGB(255, 255, 255);

constexpr CaptionStyle line(const LOGFONTA* font, uint32_t colour) {
  return CaptionStyle{font, colour, 0, kAlignLeft, kAlignMiddle, false};
}
constexpr CaptionStyle centredButton(const LOGFONTA* font) {
  return CaptionStyle{font, kDefaultColour, 0, kAlignCentre, kAlignMiddle, false};
}

constexpr const char* kBannerCredit = "QX汉化组 出品 · 免费分享，仅供学习交流 · 欢迎反馈";

}  // namespace

const WindowLayout kMainWindowLayout{
    WindowSettings{
        .title = "QX一键汉化",
        .left = 50, .top = 50, .width = 780, .height = 514,
        .frame = kFixedSunkenFrame,
        .closeBox = true, .maximizeBox = false, .minimizeBox = true,
        .startPosition = kCentred,
        .movable = true, .dragByAnyPoint = true, .showInTaskbar = true, .alwaysOnTop = false,
        .backColour = kDefaultColour,
        .pictureResource = UI_PICTURE_BACKGROUND,
        .pictureMode = kStretched,
        .iconResource = UI_ICON_MAIN,
        .bindings = {{{kWindowCreated, Procedure::WriteHelpDocument},
                      {kWindowDestroying, Procedure::DeleteHelpDocument}}},
    },
    {
        {.kind = ControlKind::Button, .unitName = "按钮1",
         .left = 606, .top = 172, .width = 154, .height = 48, .flags = kVisible | kTabStop,
         .caption = "一键汉化", .style = centredButton(&kButtonFont),
         .bindings = {{{kClicked, Procedure::StartAutomaticInstall}}}},
        {.kind = ControlKind::Zip, .unitName = "ZIP压缩1",
         .left = 864, .top = 360, .width = 64, .height = 114},
        {.kind = ControlKind::Label, .unitName = "标签1",
         .left = 710, .top = 0, .width = 780, .height = 48, .flags = kVisible,
         .caption = kBannerCredit, .style = line(&kBannerFont, kRed), .backColour = kBlack},
        {.kind = ControlKind::Timer, .unitName = "时钟1",
         .left = 856, .top = 264, .width = 32, .height = 40, .interval = 200,
         .bindings = {{{kTick, Procedure::ScrollBanner}}}},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签1",
         .left = 176, .top = 33, .width = 528, .height = 168, .flags = kVisible,
         .caption = "初始化完成！可以开始汉化~", .style = line(&kStatusFont, kYellow)},
        {.kind = ControlKind::Timer, .unitName = "时钟2",
         .left = 872, .top = 624, .width = 24, .height = 16, .interval = 0,
         .bindings = {{{kTick, Procedure::AnimateProgressText}}}},
        {.kind = ControlKind::Label, .unitName = "标签2",
         .left = -1, .top = 464, .width = 105, .height = 18, .flags = kVisible,
         .caption = " Version 2.0", .style = line(&kStripFont, kRed), .backColour = kBlack},
        {.kind = ControlKind::Label, .unitName = "标签3",
         .left = 586, .top = 464, .width = 192, .height = 18, .flags = kVisible,
         .caption = "过程可能会卡顿，请耐心等待~", .style = line(&kStripFont, kRed), .backColour = kBlack},
        {.kind = ControlKind::Button, .unitName = "按钮2",
         .left = 609, .top = 320, .width = 154, .height = 48, .flags = kVisible | kTabStop,
         .caption = "快速汉化", .style = centredButton(&kButtonFont),
         .bindings = {{{kClicked, Procedure::InstallFromTypedFolder}}}},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签2",
         .left = 16, .top = 88, .width = 144, .height = 56, .flags = kVisible,
         .caption = "小提示：", .style = line(&kHintFont, kGreen)},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签3",
         .left = 16, .top = 176, .width = 512, .height = 56, .flags = kVisible,
         .caption = "小提示：一键汉化不需要设置", .style = line(&kHintFont, kGreen)},
        {.kind = ControlKind::SplitterBar, .unitName = "分隔条1",
         .left = 0, .top = 248, .width = 768, .height = 8, .flags = kVisible, .backColour = kRed},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签4",
         .left = 8, .top = 264, .width = 248, .height = 56, .flags = kVisible,
         .caption = "快速汉化设置", .style = line(&kHintFont, kMaroon)},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签5",
         .left = 265, .top = 272, .width = 80, .height = 40, .flags = kVisible,
         .caption = "游戏目录：", .style = line(&kFolderCaptionFont, kMaroon)},
        {.kind = ControlKind::EditBox, .unitName = "编辑框1",
         .left = 351, .top = 281, .width = 256, .height = 24, .flags = kVisible | kTabStop,
         .caption = "", .style = line(nullptr, kBlack), .backColour = kWhite},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签6",
         .left = 615, .top = 280, .width = 152, .height = 24, .flags = kVisible,
         .caption = "什么是游戏目录？不知道？", .style = line(&kLinkFont, kYellow),
         .bindings = {{{kLeftButtonDown, Procedure::OpenHelpDocument}}}},
        {.kind = ControlKind::TransLabel, .unitName = "透明标签7",
         .left = 8, .top = 328, .width = 608, .height = 112, .flags = kVisible,
         .caption = "小提示：\r\n①一键汉化属于懒人操作耗时长\r\n②快速汉化需要设置游戏目录（快速汉化）",
         .style = CaptionStyle{&kTipsFont, kGreen, 0, kAlignLeft, kAlignTop, true}},
    },
};

const ControlLayout* findControl(const WindowLayout& layout, const char* unitName) {
  for (const ControlLayout& row : layout.controls) {
    if (std::strcmp(row.unitName, unitName) == 0) return &row;
  }
  return nullptr;
}

ControlLayout* findControl(WindowLayout& layout, const char* unitName) {
  return const_cast<ControlLayout*>(findControl(static_cast<const WindowLayout&>(layout), unitName));
}

}  // namespace ui
