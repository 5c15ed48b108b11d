// The executable's resources: manifest, icon, background picture and version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/picture.h"
#include "ui/resource_ids.h"

namespace ui {
namespace {

std::string manifest() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  if (!resource) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  return std::string(data, SizeofResource(module, resource));
}

TEST(ResourcesTest, TheManifestAsksForCommonControls6AndTheInvokersRights) {
  const std::string text = manifest();
  ASSERT_FALSE(text.empty());
  // The architecture of the process itself: a 64-bit process that asks for the x86 controls
  // gets none of version 6 (the 64-bit twin's manifest names amd64).
#ifdef _WIN64
  const char* const architecture = "processorArchitecture=\"amd64\"";
  const char* const otherArchitecture = "processorArchitecture=\"x86\"";
#else
  const char* const architecture = "processorArchitecture=\"x86\"";
  const char* const otherArchitecture = "processorArchitecture=\"amd64\"";
#endif
  EXPECT_EQ(text.find(otherArchitecture), std::string::npos);
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                           architecture, "publicKeyToken=\"6595b64144ccf1df\"",
                           "requestedExecutionLevel level=\"asInvoker\"",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
}

TEST(ResourcesTest, TheIconHasOne64PixelImage) {
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(UI_ICON_MAIN), IMAGE_ICON, 0, 0, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectA(info.hbmColor, sizeof(colour), &colour);
  EXPECT_EQ(colour.bmWidth, 64);
  EXPECT_EQ(colour.bmHeight, 64);
  EXPECT_EQ(colour.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

TEST(ResourcesTest, TheBackgroundIsA640PixelJpeg) {
  const ResourceBytes jpeg = loadResourceData(UI_PICTURE_BACKGROUND);
  ASSERT_GT(jpeg.size, 2u);
  EXPECT_EQ(jpeg.data[0], 0xFF);
  EXPECT_EQ(jpeg.data[1], 0xD8);
  const Picture picture = Picture::decodeJpeg(jpeg.data, jpeg.size);
  EXPECT_EQ(picture.width(), 640);
  EXPECT_EQ(picture.height(), 640);
}

TEST(ResourcesTest, TheVersionNamesTheProductInChinese) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
  // The strings as the resource holds them (UTF-16); the A query would convert them through
  // the system's code page.
  struct Row {
    const wchar_t* name;
    const wchar_t* value;
  };
  const Row rows[] = {
      {L"ProductName", L"QX一键汉化"},
      {L"ProductVersion", L"2.0"},
      {L"FileDescription", L"Unturned 简体中文汉化安装程序"},
  };
  for (const Row& row : rows) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + row.name;
    ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::wstring(value), row.value);
  }
}

}  // namespace
}  // namespace ui
