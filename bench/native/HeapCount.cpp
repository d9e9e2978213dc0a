#include "HeapCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block starts with its size, so that an unsized delete can count it out;
// the header keeps the largest fundamental alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);
std::atomic<std::size_t> bytesInUse{0};

}  // namespace

std::size_t luma::HeapBytesInUse() { return bytesInUse.load(std::memory_order_relaxed); }

void* operator new(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  bytesInUse.fetch_add(size, std::memory_order_relaxed);
  return static_cast<char*>(block) + kHeader;
}

void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  char* block = static_cast<char*>(pointer) - kHeader;
  bytesInUse.fetch_sub(*reinterpret_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }

// Every other form goes through the two above, so that no block is counted
// in by one allocator and freed by another (the sanitizers replace them all).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }
