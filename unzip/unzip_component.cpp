#include "unzip/unzip_component.h"

namespace unzip {

int32_t progressPercentage(uint32_t done, uint32_t total) {
  if (total == 0) return 100;
  return static_cast<int32_t>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
}

void componentProgress(uint32_t done, uint32_t total, const char* currentPath, ArchiveExtractor& extractor) {
  ExtractionOwner* owner = extractor.owner();
  if (owner == nullptr || !owner->windowExists()) return;
  const EventOutcome outcome = owner->raiseProgressEvent(progressPercentage(done, total));
  if (outcome.handlerRan && outcome.returnedValue && outcome.value == 0 && owner->windowExists()) {
    extractor.setCancel(1);
  }
}

int32_t unzipArchive(ExtractionOwner* component, const char* archivePath, const char* targetFolder,
                     ExtractionFailure* failure, runtime::FrameService* frames) {
  ArchiveExtractor extractor;
  extractor.setOwner(component);
  extractor.setFrameService(frames);
  if (archivePath == nullptr || targetFolder == nullptr) {
    if (failure != nullptr) *failure = ExtractionFailure{FailureCause::SystemError, ERROR_INVALID_PARAMETER, runtime::Text()};
    return -1;
  }
  extractor.setProgressCallback(componentProgress);
  const int32_t result = extractor.extract(archivePath, targetFolder);
  if (failure != nullptr) *failure = extractor.failure();
  return result;
}

}  // namespace unzip
