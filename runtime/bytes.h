// ByteSet: a counted byte buffer whose in-memory form is {int32 dimension count = 1,
// int32 byte count, bytes}, the same form the payload constants have in the image.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "runtime/text.h"

namespace runtime {

struct ByteSetHeader {
  int32_t dimensions;  // always 1
  int32_t count;       // data bytes that follow
  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(this + 1); }
  uint8_t* data() { return reinterpret_cast<uint8_t*>(this + 1); }
};

// A non-owning look at bytes: a ByteSet, a constant, or any buffer.
struct ByteView {
  const uint8_t* data = nullptr;
  int32_t size = 0;
  bool empty() const { return size <= 0; }
};

// Owns a block on the process heap, or refers to a constant in the program image, which is
// never released. An empty ByteSet has no block at all.
class ByteSet {
 public:
  ByteSet() = default;
  ByteSet(ByteSet&& other) noexcept;
  ByteSet& operator=(ByteSet&& other) noexcept;
  ByteSet(const ByteSet&) = delete;
  ByteSet& operator=(const ByteSet&) = delete;
  ~ByteSet();

  // A new ByteSet of n zero bytes (n < 1: empty).
  static ByteSet zeroed(int32_t n);
  static ByteSet copyOf(ByteView bytes);
  // Refers to a constant block of the image; releasing it does nothing.
  static ByteSet constant(const ByteSetHeader* block);

  int32_t size() const { return block_ ? block_->count : 0; }
  bool empty() const { return size() == 0; }
  const uint8_t* data() const { return block_ ? block_->data() : nullptr; }
  uint8_t* mutableData() { return owned_ && block_ ? block_->data() : nullptr; }
  ByteView view() const { return ByteView{data(), size()}; }
  const ByteSetHeader* block() const { return block_; }

 private:
  ByteSetHeader* block_ = nullptr;
  bool owned_ = false;
};

// A list of ByteSets: {int32 dimension count = 1, int32 element count, element references};
// an element may be absent (an empty piece). Owns its elements.
class ByteList {
 public:
  ByteList() = default;
  ByteList(ByteList&& other) noexcept;
  ByteList& operator=(ByteList&& other) noexcept;
  ByteList(const ByteList&) = delete;
  ByteList& operator=(const ByteList&) = delete;
  ~ByteList();

  int32_t count() const { return header_ ? header_[1] : 0; }
  // Element i, numbered from 1; an empty view for an absent element.
  ByteView piece(int32_t i) const;
  void append(ByteView bytes);

 private:
  const ByteSetHeader* element(int32_t i) const;
  int32_t* header_ = nullptr;  // dimension count, element count, then references
  int32_t capacity_ = 0;
};

ByteSet blankBytes(int32_t n);
ByteSet leftBytes(ByteView bytes, int32_t n);
// Splits at every occurrence of separator (default: one zero byte), at most maxPieces pieces
// (default: no limit; negative counts as 0). Data ending in a separator gives no trailing
// empty piece; an empty separator gives one piece holding all of data.
ByteList splitBytes(ByteView data, std::optional<ByteView> separator = std::nullopt,
                    std::optional<int32_t> maxPieces = std::nullopt);
// The bytes up to the first zero byte as a text.
Text toText(ByteView bytes);

}  // namespace runtime
