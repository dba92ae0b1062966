// Erosion and dilation: every variant against a direct minimum / maximum over
// the mask, the argument checks in their order, shifts and copies by
// single-cell masks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/entry_variants.h"
#include "tests/support/test_image.h"

namespace {

using fc::test::TestImage;
using MorphologyFn = decltype(px_ippiErode_8u_C3R);

struct Operation {
  std::string name;
  int channels;
  bool erode;
  std::vector<fc::test::NamedVariant<MorphologyFn>> variants;
  friend void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }
};

std::vector<Operation> allOperations() {
  using namespace fc::test;
  return {{"Erode_C3", 3, true, variantsOf_ippiErode_8u_C3R()},
          {"Erode_C1", 1, true, variantsOf_ippiErode_8u_C1R()},
          {"Dilate_C3", 3, false, variantsOf_ippiDilate_8u_C3R()},
          {"Dilate_C1", 1, false, variantsOf_ippiDilate_8u_C1R()}};
}

struct Mask {
  IppiSize size;
  IppiPoint anchor;
  std::vector<Ipp8u> cells;
};

// Writes the minimum or maximum under the mask's non-zero cells into the
// region of `expected`; `src` must hold every window pixel.
void reference(const Operation& op, const TestImage& src, const Mask& mask, TestImage& expected) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x)
      for (int c = 0; c < op.channels; ++c) {
        int result = op.erode ? 255 : 0;
        for (int j = 0; j < mask.size.height; ++j)
          for (int i = 0; i < mask.size.width; ++i) {
            if (mask.cells[j * mask.size.width + i] == 0) continue;
            const int v = src.bytes[src.offset(x + i - mask.anchor.x, y + j - mask.anchor.y) + c];
            result = op.erode ? std::min(result, v) : std::max(result, v);
          }
        expected.at(x, y)[c] = static_cast<Ipp8u>(result);
      }
}

Mask randomMask(std::mt19937& rng, int maxSide) {
  Mask mask;
  mask.size = {1 + static_cast<int>(rng() % maxSide), 1 + static_cast<int>(rng() % maxSide)};
  mask.anchor = {static_cast<int>(rng() % mask.size.width), static_cast<int>(rng() % mask.size.height)};
  mask.cells.resize(mask.size.width * mask.size.height);
  for (auto& cell : mask.cells) cell = (rng() % 3 == 0) ? 0 : static_cast<Ipp8u>(rng() % 256);
  mask.cells[rng() % mask.cells.size()] = 1;  // never all zero
  return mask;
}

class Morphology : public ::testing::TestWithParam<Operation> {};

TEST_P(Morphology, EveryVariantMatchesTheDirectExtremeAndWritesOnlyTheRegion) {
  const Operation& op = GetParam();
  std::mt19937 rng(7);
  const IppiSize sizes[] = {{1, 1}, {3, 2}, {13, 7}, {31, 17}};
  for (const IppiSize size : sizes)
    for (int trial = 0; trial < 6; ++trial) {
      const Mask mask = randomMask(rng, 7);
      TestImage src(size.width, size.height, op.channels, 4, 7);
      src.randomize(rng());
      TestImage before(size.width, size.height, op.channels, 2, 1);
      before.randomize(rng());
      TestImage expected = before;
      reference(op, src, mask, expected);
      for (const auto& v : op.variants) {
        TestImage dst = before;
        ASSERT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, size, mask.cells.data(), mask.size, mask.anchor),
                  ippStsNoErr);
        EXPECT_EQ(dst.bytes, expected.bytes) << op.name << " " << v.tag << " " << size.width << "x" << size.height
                                             << " mask " << mask.size.width << "x" << mask.size.height;
      }
    }
}

TEST_P(Morphology, SingleCellMaskShiftsTheImageAndAtTheAnchorCopiesIt) {
  const Operation& op = GetParam();
  const IppiSize maskSize{4, 3};
  for (int j = 0; j < maskSize.height; ++j)
    for (int i = 0; i < maskSize.width; ++i) {
      std::vector<Ipp8u> cells(12, 0);
      cells[j * maskSize.width + i] = 9;
      TestImage src(6, 5, op.channels, 0, 4);
      src.randomize(static_cast<std::uint32_t>(10 * j + i));
      TestImage dst(6, 5, op.channels);
      for (const auto& v : op.variants) {
        ASSERT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, dst.size(), cells.data(), maskSize, {0, 0}),
                  ippStsNoErr);
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < 6; ++x)
            for (int c = 0; c < op.channels; ++c)
              ASSERT_EQ(dst.at(x, y)[c], src.at(x + i, y + j)[c]) << op.name << v.tag << " cell " << i << "," << j;
      }
    }
  const Ipp8u one = 255;
  TestImage src(5, 4, op.channels), dst(5, 4, op.channels);
  src.randomize(3);
  for (const auto& v : op.variants) {
    ASSERT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, dst.size(), &one, {1, 1}, {0, 0}), ippStsNoErr);
    EXPECT_EQ(dst.bytes, src.bytes) << op.name << v.tag;
  }
}

TEST_P(Morphology, ChecksArgumentsInOrderAndWritesNothingOnFailure) {
  const Operation& op = GetParam();
  const int c = op.channels;
  const std::vector<Ipp8u> cells = {0, 1, 0, 1, 1, 1, 0, 1, 0};
  const std::vector<Ipp8u> zeros(9, 0);
  TestImage src(4, 4, c, 0, 1), dst(4, 4, c);
  const TestImage untouched = dst;
  const IppiSize m3{3, 3};
  for (const auto& v : op.variants) {
    auto* call = v.fn;
    const Ipp8u* s = src.data();
    Ipp8u* d = dst.data();
    EXPECT_EQ(call(nullptr, 0, d, 0, {0, 0}, cells.data(), m3, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(call(s, src.step, nullptr, dst.step, {4, 4}, cells.data(), m3, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 4}, nullptr, m3, {1, 1}), ippStsNullPtrErr);
    // Steps come before the region size, the mask size before its contents,
    // the contents before the anchor.
    EXPECT_EQ(call(s, 0, d, dst.step, {0, 0}, cells.data(), m3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(call(s, src.step, d, -1, {0, 0}, cells.data(), m3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 0}, cells.data(), {0, 3}, {1, 1}), ippStsSizeErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 4}, zeros.data(), {3, 0}, {9, 9}), ippStsMaskSizeErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 4}, zeros.data(), m3, {9, 9}), ippStsZeroMaskValuesErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 4}, cells.data(), m3, {3, 1}), ippStsAnchorErr);
    EXPECT_EQ(call(s, src.step, d, dst.step, {4, 4}, cells.data(), m3, {1, -1}), ippStsAnchorErr);
    EXPECT_EQ(call(s, 1, d, 1, {4, 4}, cells.data(), m3, {1, 1}), ippStsStrideErr);
  }
  EXPECT_EQ(dst.bytes, untouched.bytes);
}

TEST_P(Morphology, SourceStepMustHoldTheWindowsRowAndDestinationStepTheRegionsRow) {
  const Operation& op = GetParam();
  const int c = op.channels;
  const std::vector<Ipp8u> cells(15, 1);
  const IppiSize roi{6, 3}, maskSize{5, 3};
  const int srcRow = (maskSize.width - 1 + roi.width) * c, dstRow = roi.width * c;
  std::vector<Ipp8u> src(static_cast<std::size_t>(srcRow) * 6, 1), dst(static_cast<std::size_t>(dstRow) * 3, 0);
  const Ipp8u* first = src.data() + srcRow + 2 * c;  // anchor (2, 1)
  for (const auto& v : op.variants) {
    EXPECT_EQ(v.fn(first, srcRow, dst.data(), dstRow, roi, cells.data(), maskSize, {2, 1}), ippStsNoErr);
    EXPECT_EQ(v.fn(first, srcRow - 1, dst.data(), dstRow, roi, cells.data(), maskSize, {2, 1}), ippStsStrideErr);
    EXPECT_EQ(v.fn(first, srcRow, dst.data(), dstRow - 1, roi, cells.data(), maskSize, {2, 1}), ippStsStrideErr);
  }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, Morphology, ::testing::ValuesIn(allOperations()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
