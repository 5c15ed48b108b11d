// Steps the end-to-end tests share: a fresh game folder and the closing dialogue of an
// installation, answered box by box with gtest checks (the driver itself stays free of gtest,
// for the benchmarks that use it).
#pragma once

#include <array>
#include <string>

namespace installertest {

// The help document the program keeps beside itself while its window exists.
inline const std::string kHelpName = "获取游戏目录.docx";

// Creates the folder and every missing folder above it (CreateDirectoryW); true when it is
// there afterwards.
bool makeFolders(const std::string& folder);

// A fresh game folder (its parent removed first) holding the stand-in game; returns it.
std::string freshGameFolder(const std::string& folder = "D:\\Games\\Unturned");

// The closing dialogue of an installation, box by box.
struct ExpectedBox {
  const char* title;
  const char* text;
  int press;
};
// Its three boxes, the game's offer answered Yes (startGame) or No.
std::array<ExpectedBox, 3> closingDialogue(bool startGame);
// Answers the boxes in order, checking each title and text.
void answerDialogue(const ExpectedBox* boxes, int count);

}  // namespace installertest
