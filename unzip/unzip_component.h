// The ZIP component's side of an extraction: its one operation, unzipArchive, and the
// progress callback that turns progress into the owner's progress event.
#pragma once

#include <cstdint>

#include "unzip/archive_extractor.h"

namespace unzip {

// Unpacks the archive at archivePath into targetFolder on behalf of component.
// A null text means "not given". Returns 1 when every entry was unpacked (or the owner's
// progress handler cancelled the run), 0 when the run failed, and -1 when a text is not
// given, the target folder text is empty, or nothing exists at archivePath. When the result
// is not 1 and failure is given, it receives the cause, kept at the call that failed.
// frames, when given, services the window during the run and may stop it (result 1, as a
// cancel; the entry in progress rolled back).
int32_t unzipArchive(ExtractionOwner* component, const char* archivePath, const char* targetFolder,
                     ExtractionFailure* failure = nullptr, runtime::FrameService* frames = nullptr);

// trunc(done / total * 100) in double precision; 100 when total is 0 (nothing is left).
int32_t progressPercentage(uint32_t done, uint32_t total);

// Raises the owner's progress event while its window exists; a handler that returns false
// cancels the run, unless it closed the window.
void componentProgress(uint32_t done, uint32_t total, const char* currentPath, ArchiveExtractor& extractor);

}  // namespace unzip
