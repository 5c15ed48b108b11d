#include "installer/help_document.h"

#include "installer/procedures.h"
#include "payload/catalogue.h"
#include "runtime/files.h"
#include "runtime/program.h"
#include "runtime/shell.h"

namespace installer {

runtime::Text helpDocumentPath() {
  return runtime::joinText(runtime::runDirectory(), "\\", payload::kHelpDocumentName);
}

void writeHelpDocument() {
  const runtime::ByteSetHeader* document = payload::helpDocument();
  runtime::writeFile(helpDocumentPath(), {runtime::ByteView{document->data(), document->count}});
}

void openHelpDocument() {
  runtime::shellExecute(std::nullopt, helpDocumentPath());
}

void deleteHelpDocument() {
  runtime::deleteFile(helpDocumentPath());
}

}  // namespace installer
