// aligned_allocator.cpp - 32-byte aligned work buffers for the primitives.
//
// The raw block's address is kept in the pointer-sized slot just below the
// aligned block, so ippsFree can hand it back to the heap. On a 64-bit build
// the slot is 8 bytes: each request gets 40 extra bytes and the result is
// raw + 39 rounded down to a multiple of 32, at least 8 bytes past raw.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dispatch/primitives.h"

namespace {

constexpr std::size_t kAlignment = 32;
constexpr std::size_t kSlot = sizeof(void*);
constexpr std::size_t kPadding = kAlignment + kSlot;

void* allocateAligned(int len, std::size_t elementSize) {
  if (len <= 0) return nullptr;
  std::size_t bytes = 0;
  if (__builtin_mul_overflow(static_cast<std::size_t>(len), elementSize, &bytes) ||
      __builtin_add_overflow(bytes, kPadding, &bytes))
    return nullptr;
  void* raw = std::malloc(bytes);
  if (raw == nullptr) return nullptr;
  const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (base + kPadding - 1) & ~static_cast<std::uintptr_t>(kAlignment - 1);
  std::memcpy(reinterpret_cast<void*>(aligned - kSlot), &raw, kSlot);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

extern "C" {

FC_API Ipp8u* ippsMalloc_8u(int len) { return static_cast<Ipp8u*>(allocateAligned(len, 1)); }
FC_API Ipp16u* ippsMalloc_16u(int len) { return static_cast<Ipp16u*>(allocateAligned(len, 2)); }
FC_API Ipp32s* ippsMalloc_32s(int len) { return static_cast<Ipp32s*>(allocateAligned(len, 4)); }
FC_API Ipp32f* ippsMalloc_32f(int len) { return static_cast<Ipp32f*>(allocateAligned(len, 4)); }

FC_API void ippsFree(void* p) {
  if (p == nullptr) return;
  void* raw = nullptr;
  std::memcpy(&raw, static_cast<char*>(p) - kSlot, kSlot);
  std::free(raw);
}

}
