// The help document lies in the program's own folder while the main window exists.
#pragma once

#include "runtime/text.h"

namespace installer {

// The run directory, a backslash and "获取游戏目录.docx"; computed afresh at every use.
runtime::Text helpDocumentPath();

}  // namespace installer
