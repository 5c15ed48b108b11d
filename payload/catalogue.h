// The embedded payload: the five translation archives with the names under which they are
// written into the game folder and unpacked, and the help document. Every block is a
// ByteSet constant in the program image's read-only data: never copied, never released.
#pragma once

#include "runtime/bytes.h"

namespace payload {

struct EmbeddedArchive {
  const char* archiveFileName;   // "\\Translations.zip": appended to the game folder
  const char* targetFolderName;  // "\\Translations": the game sub-folder it unpacks into
  const runtime::ByteSetHeader* data;
};

constexpr int kEmbeddedArchiveCount = 5;

// The five rows in their fixed order: Translations, Extras, Localization, Maps, Bundles.
const EmbeddedArchive* embeddedArchives();

// "获取游戏目录.docx" (UTF-8, as every text of the program): the help document's file name.
extern const char kHelpDocumentName[];
const runtime::ByteSetHeader* helpDocument();

}  // namespace payload
