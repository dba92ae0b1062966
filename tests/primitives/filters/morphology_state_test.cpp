// Morphology state: argument checks, the record's fields and layout, and
// release through every variant.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "primitives/filters/morphology_state.h"
#include "tests/support/entry_variants.h"

namespace {

std::uintptr_t address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(MorphologyState, ChecksArgumentsInOrder) {
  const std::vector<Ipp8u> mask(6, 1);
  for (const auto& v : fc::test::variantsOf_ippiMorphologyInitAlloc_8u_C3R()) {
    IppiMorphState* state = nullptr;
    EXPECT_EQ(v.fn(0, nullptr, {0, 0}, {0, 0}, &state), ippStsNullPtrErr) << v.tag;
    EXPECT_EQ(v.fn(8, mask.data(), {3, 2}, {0, 0}, nullptr), ippStsNullPtrErr) << v.tag;
    EXPECT_EQ(v.fn(0, mask.data(), {3, 2}, {5, 5}, &state), ippStsSizeErr) << v.tag;
    EXPECT_EQ(v.fn(8, mask.data(), {0, 2}, {5, 5}, &state), ippStsSizeErr) << v.tag;  // not a mask-size error
    EXPECT_EQ(v.fn(8, mask.data(), {3, 0}, {5, 5}, &state), ippStsSizeErr) << v.tag;
    EXPECT_EQ(v.fn(8, mask.data(), {3, 2}, {3, 0}, &state), ippStsAnchorErr) << v.tag;
    EXPECT_EQ(v.fn(8, mask.data(), {3, 2}, {0, -1}, &state), ippStsAnchorErr) << v.tag;
    // A block whose size does not fit the allocator's length.
    EXPECT_EQ(v.fn(INT_MAX / 2, mask.data(), {3, 2}, {0, 0}, &state), ippStsMemAllocErr) << v.tag;
    EXPECT_EQ(v.fn(INT_MAX, mask.data(), {INT_MAX, INT_MAX}, {0, 0}, &state), ippStsMemAllocErr) << v.tag;
    EXPECT_EQ(state, nullptr) << v.tag;
  }
}

TEST(MorphologyState, HoldsTheMaskCopyPastTheRecordAndTheWorkAreaAfterIt) {
  const int roiWidth = 21;
  const IppiSize maskSize{5, 3};
  std::vector<Ipp8u> mask(15);
  for (int i = 0; i < 15; ++i) mask[i] = static_cast<Ipp8u>(i * 17);
  for (const auto& v : fc::test::variantsOf_ippiMorphologyInitAlloc_8u_C3R()) {
    IppiMorphState* state = nullptr;
    ASSERT_EQ(v.fn(roiWidth, mask.data(), maskSize, {1, 2}, &state), ippStsNoErr) << v.tag;
    ASSERT_NE(state, nullptr);
    const std::uintptr_t start = address(state);
    EXPECT_EQ(start % 32, 0u);
    // The mask copy starts on a 16-byte boundary past every field.
    EXPECT_GE(address(state->mask), start + sizeof(IppiMorphState));
    EXPECT_GE(address(state->mask), start + 80);
    EXPECT_EQ(address(state->mask) % 16, 0u);
    EXPECT_EQ(state->rowMask, state->mask);
    EXPECT_EQ(state->columnMask, state->mask);
    EXPECT_EQ(std::vector<Ipp8u>(state->mask, state->mask + 15), mask);
    EXPECT_EQ(state->work, state->mask + 16);  // 15 bytes rounded up to 16
    const int rowBytes = ((roiWidth + 5) * 3 + 15) / 16 * 16;
    const int workBytes = 2 * 3 * rowBytes;
    EXPECT_EQ(state->rowBytes, rowBytes);
    EXPECT_EQ(state->blockSize, 16 + 96 + workBytes);
    EXPECT_LE(address(state->work) + workBytes, start + state->blockSize);
    EXPECT_EQ(state->maskWidth, 5);
    EXPECT_EQ(state->maskHeight, 3);
    EXPECT_EQ(state->anchorX, 1);
    EXPECT_EQ(state->anchorY, 2);
    EXPECT_EQ(state->rightExtent, 3);
    EXPECT_EQ(state->bottomExtent, 0);
    EXPECT_EQ(state->dataType, 1);
    EXPECT_EQ(state->channels, 3);
    EXPECT_EQ(state->roiWidth, roiWidth);
    EXPECT_EQ(state->reserved0, 0);
    EXPECT_EQ(state->reserved1, -1);
    EXPECT_EQ(state->reserved2, 0);
    // The whole work area is inside the block (AddressSanitizer).
    std::fill(state->work, state->work + workBytes, Ipp8u{0xA5});
    EXPECT_EQ(ippiMorphologyFree(&state), ippStsNoErr);
  }
}

TEST(MorphologyState, FreeReleasesClearsThePointerAndRejectsNull) {
  const Ipp8u cell = 1;
  for (const auto& v : fc::test::variantsOf_ippiMorphologyFree()) {
    IppiMorphState* state = nullptr;
    ASSERT_EQ(ippiMorphologyInitAlloc_8u_C3R(4, &cell, {1, 1}, {0, 0}, &state), ippStsNoErr);
    EXPECT_EQ(v.fn(&state), ippStsNoErr) << v.tag;
    EXPECT_EQ(state, nullptr) << v.tag;
    EXPECT_EQ(v.fn(&state), ippStsNullPtrErr) << v.tag;  // a second release is refused
    EXPECT_EQ(v.fn(nullptr), ippStsNullPtrErr) << v.tag;
  }
}

}  // namespace
