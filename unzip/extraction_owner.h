// The small interface the archive extractor needs from the component that owns it:
// raising its progress event and learning whether the owner's window still exists.
#pragma once

#include <cstdint>

namespace unzip {

// What raising an event produced: whether a handler ran, whether it returned a value,
// and that value (meaningful only when returnedValue is true).
struct EventOutcome {
  bool handlerRan;
  bool returnedValue;
  int32_t value;
};

class ExtractionOwner {
 public:
  virtual ~ExtractionOwner() = default;
  // True while the component's window exists (IsWindow of its handle).
  virtual bool windowExists() const = 0;
  // Raises the progress event (event 1) with one integer argument, the percentage.
  virtual EventOutcome raiseProgressEvent(int32_t percent) = 0;
};

}  // namespace unzip
