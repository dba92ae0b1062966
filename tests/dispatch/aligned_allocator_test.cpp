#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

#include "dispatch/primitives.h"

namespace {

bool aligned32(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 31) == 0; }

TEST(AlignedAllocator, EmptyAndNegativeRequestsGiveNull) {
  EXPECT_EQ(ippsMalloc_8u(0), nullptr);
  EXPECT_EQ(ippsMalloc_16u(0), nullptr);
  EXPECT_EQ(ippsMalloc_32s(-5), nullptr);
  EXPECT_EQ(ippsMalloc_32f(-1), nullptr);
  EXPECT_EQ(ippsMalloc_8u(INT_MIN), nullptr);
  ippsFree(nullptr);  // ignored
}

TEST(AlignedAllocator, BlocksAreAlignedAndUsableToTheirEnd) {
  for (int len = 1; len < 200; ++len) {
    Ipp8u* b8 = ippsMalloc_8u(len);
    Ipp16u* b16 = ippsMalloc_16u(len);
    Ipp32s* b32 = ippsMalloc_32s(len);
    Ipp32f* f32 = ippsMalloc_32f(len);
    ASSERT_TRUE(b8 && b16 && b32 && f32);
    EXPECT_TRUE(aligned32(b8) && aligned32(b16) && aligned32(b32) && aligned32(f32)) << len;
    // Writing every element must stay inside the block (AddressSanitizer).
    std::memset(b8, 0xAB, len);
    std::memset(b16, 0xAB, len * sizeof(Ipp16u));
    std::memset(b32, 0xAB, len * sizeof(Ipp32s));
    std::memset(f32, 0xAB, len * sizeof(Ipp32f));
    ippsFree(b8);
    ippsFree(b16);
    ippsFree(b32);
    ippsFree(f32);
  }
}

TEST(AlignedAllocator, LargestRequestsNeitherWrapNorCrash) {
  // INT_MAX elements of 4 bytes is about 8 GiB: either a real block or null,
  // never a small block from a wrapped byte count.
  Ipp32f* big = ippsMalloc_32f(INT_MAX);
  if (big == nullptr) return;  // refusing is allowed
  EXPECT_TRUE(aligned32(big));
  // Both ends belong to one block: they hold what was written to them.
  big[0] = 2.0f;
  big[INT_MAX - 1] = 1.0f;
  EXPECT_EQ(big[0], 2.0f);
  EXPECT_EQ(big[INT_MAX - 1], 1.0f);
  ippsFree(big);
}

}  // namespace
