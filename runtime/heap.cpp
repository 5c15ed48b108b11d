// Every allocation of the program comes from the process heap; a request that cannot be met
// is a fatal run-time error naming the byte count.
#include <windows.h>

#include <cstddef>
#include <new>

#include "runtime/fatal.h"

namespace {

void* allocateOrDie(std::size_t bytes) {
  void* block = HeapAlloc(GetProcessHeap(), 0, bytes == 0 ? 1 : bytes);
  if (block == nullptr) runtime::fatalOutOfMemory(bytes);
  return block;
}

void release(void* block) noexcept {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(std::size_t bytes) { return allocateOrDie(bytes); }
void* operator new[](std::size_t bytes) { return allocateOrDie(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  return HeapAlloc(GetProcessHeap(), 0, bytes == 0 ? 1 : bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  return HeapAlloc(GetProcessHeap(), 0, bytes == 0 ? 1 : bytes);
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
