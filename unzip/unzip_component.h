// The ZIP component's side of an extraction: its progress callback, which turns progress
// into the owner's progress event. unzipArchive itself is declared in extraction_owner.h.
#pragma once

#include <cstdint>

#include "unzip/archive_extractor.h"

namespace unzip {

// trunc(done / total * 100) in double precision; 100 when total is 0 (nothing is left).
int32_t progressPercentage(uint32_t done, uint32_t total);

// Raises the owner's progress event while its window exists; a handler that returns false
// cancels the run, unless it closed the window.
void componentProgress(uint32_t done, uint32_t total, const char* currentPath, ArchiveExtractor& extractor);

}  // namespace unzip
