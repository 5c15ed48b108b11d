#include "runtime/bytes.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "runtime/fatal.h"

namespace runtime {
namespace {

ByteSetHeader* allocateBlock(int32_t count) {
  const size_t bytes = sizeof(ByteSetHeader) + static_cast<size_t>(count);
  auto* block = static_cast<ByteSetHeader*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
  if (block == nullptr) fatalOutOfMemory(bytes);
  block->dimensions = 1;
  block->count = count;
  return block;
}

}  // namespace

ByteSet::ByteSet(ByteSet&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)), owned_(std::exchange(other.owned_, false)) {}

ByteSet& ByteSet::operator=(ByteSet&& other) noexcept {
  if (this != &other) {
    this->~ByteSet();
    block_ = std::exchange(other.block_, nullptr);
    owned_ = std::exchange(other.owned_, false);
  }
  return *this;
}

ByteSet::~ByteSet() {
  if (owned_ && block_ != nullptr) HeapFree(GetProcessHeap(), 0, block_);
  block_ = nullptr;
  owned_ = false;
}

ByteSet ByteSet::zeroed(int32_t n) {
  ByteSet result;
  if (n < 1) return result;
  result.block_ = allocateBlock(n);
  result.owned_ = true;
  return result;
}

ByteSet ByteSet::copyOf(ByteView bytes) {
  ByteSet result = zeroed(bytes.size);
  if (!result.empty()) std::memcpy(result.block_->data(), bytes.data, static_cast<size_t>(bytes.size));
  return result;
}

ByteSet ByteSet::constant(const ByteSetHeader* block) {
  ByteSet result;
  result.block_ = const_cast<ByteSetHeader*>(block);
  result.owned_ = false;
  return result;
}

ByteList::ByteList(ByteList&& other) noexcept
    : header_(std::exchange(other.header_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

ByteList& ByteList::operator=(ByteList&& other) noexcept {
  if (this != &other) {
    this->~ByteList();
    header_ = std::exchange(other.header_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

ByteList::~ByteList() {
  if (header_ == nullptr) return;
  for (int32_t i = 1; i <= count(); ++i) {
    const ByteSetHeader* piece = element(i);
    if (piece != nullptr) HeapFree(GetProcessHeap(), 0, const_cast<ByteSetHeader*>(piece));
  }
  HeapFree(GetProcessHeap(), 0, header_);
  header_ = nullptr;
  capacity_ = 0;
}

const ByteSetHeader* ByteList::element(int32_t i) const {
  const auto* references = reinterpret_cast<ByteSetHeader* const*>(header_ + 2);
  return references[i - 1];
}

ByteView ByteList::piece(int32_t i) const {
  if (i < 1 || i > count()) return ByteView{};
  const ByteSetHeader* block = element(i);
  return block ? ByteView{block->data(), block->count} : ByteView{};
}

void ByteList::append(ByteView bytes) {
  if (header_ == nullptr || count() == capacity_) {
    const int32_t capacity = capacity_ == 0 ? 4 : capacity_ * 2;
    const size_t size = 2 * sizeof(int32_t) + sizeof(ByteSetHeader*) * static_cast<size_t>(capacity);
    void* grown = header_ == nullptr
                      ? HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size)
                      : HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, header_, size);
    if (grown == nullptr) fatalOutOfMemory(size);
    header_ = static_cast<int32_t*>(grown);
    header_[0] = 1;
    capacity_ = capacity;
  }
  ByteSetHeader* block = nullptr;  // an empty piece is an absent reference
  if (bytes.size > 0) {
    block = allocateBlock(bytes.size);
    std::memcpy(block->data(), bytes.data, static_cast<size_t>(bytes.size));
  }
  auto* references = reinterpret_cast<ByteSetHeader**>(header_ + 2);
  references[header_[1]] = block;
  ++header_[1];
}

ByteSet blankBytes(int32_t n) { return ByteSet::zeroed(n); }

ByteSet leftBytes(ByteView bytes, int32_t n) {
  int32_t take = n < bytes.size ? n : bytes.size;
  if (take < 0) take = 0;
  return ByteSet::copyOf(ByteView{bytes.data, take});
}

ByteList splitBytes(ByteView data, std::optional<ByteView> separator, std::optional<int32_t> maxPieces) {
  static const uint8_t kZeroByte = 0;
  const ByteView sep = separator ? *separator : ByteView{&kZeroByte, 1};
  const bool limited = maxPieces.has_value();
  int32_t remaining = limited ? (*maxPieces < 0 ? 0 : *maxPieces) : 0;

  ByteList pieces;
  if (data.empty() || (limited && remaining == 0)) return pieces;
  if (sep.empty()) {
    pieces.append(data);
    return pieces;
  }

  int32_t start = 0;
  int32_t scan = 0;
  while (data.size - scan >= sep.size) {
    if (std::memcmp(data.data + scan, sep.data, static_cast<size_t>(sep.size)) == 0) {
      pieces.append(ByteView{data.data + start, scan - start});
      scan += sep.size;
      start = scan;
      if (limited && --remaining == 0) return pieces;
    } else {
      ++scan;
    }
  }
  if (start < data.size) pieces.append(ByteView{data.data + start, data.size - start});
  return pieces;
}

Text toText(ByteView bytes) {
  if (bytes.empty()) return Text();
  const void* zero = std::memchr(bytes.data, 0, static_cast<size_t>(bytes.size));
  const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes.data)
                             : static_cast<size_t>(bytes.size);
  return Text(reinterpret_cast<const char*>(bytes.data), length);
}

}  // namespace runtime
