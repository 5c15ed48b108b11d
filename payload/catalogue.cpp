#include "payload/catalogue.h"

// The blocks are laid out by the generated assembler file (payload_blocks.S): each is
// {1, byte count} followed by the file's bytes.
extern "C" {
extern const runtime::ByteSetHeader payload_translations_zip;
extern const runtime::ByteSetHeader payload_extras_zip;
extern const runtime::ByteSetHeader payload_localization_zip;
extern const runtime::ByteSetHeader payload_maps_zip;
extern const runtime::ByteSetHeader payload_bundles_zip;
extern const runtime::ByteSetHeader payload_help_document;
}

namespace payload {

namespace {

const EmbeddedArchive kArchives[kEmbeddedArchiveCount] = {
    {"\\Translations.zip", "\\Translations", &payload_translations_zip},
    {"\\Extras.zip", "\\Extras", &payload_extras_zip},
    {"\\Localization.zip", "\\Localization", &payload_localization_zip},
    {"\\Maps.zip", "\\Maps", &payload_maps_zip},
    {"\\Bundles.zip", "\\Bundles", &payload_bundles_zip},
};

}  // namespace

const EmbeddedArchive* embeddedArchives() { return kArchives; }

const char kHelpDocumentName[] = "获取游戏目录.docx";

const runtime::ByteSetHeader* helpDocument() { return &payload_help_document; }

}  // namespace payload
