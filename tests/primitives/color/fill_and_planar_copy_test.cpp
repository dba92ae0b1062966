#include "tests/primitives/color/point_test_support.h"

namespace {

using fc::test::TestImage;
using Bytes = std::vector<Ipp8u>;

TEST(Set, FillsExactlyLenBytesAndChecksPointerBeforeLength) {
  Bytes bytes(9, 1);
  EXPECT_EQ(ippsSet_8u(200, bytes.data() + 2, 5), 0);
  EXPECT_EQ(bytes, (Bytes{1, 1, 200, 200, 200, 200, 200, 1, 1}));
  EXPECT_EQ(ippsSet_8u(0, nullptr, -1), ippStsNullPtrErr);
  EXPECT_EQ(ippsSet_8u(0, bytes.data(), 0), ippStsSizeErr);
  EXPECT_EQ(bytes[0], 1);
}

struct Planes {
  TestImage plane[3];
  Ipp8u* pointers[3];
  explicit Planes(IppiSize size, int padding)
      : plane{TestImage(size.width, size.height, 1, padding, 1),
              TestImage(size.width, size.height, 1, padding, 1),
              TestImage(size.width, size.height, 1, padding, 1)},
        pointers{plane[0].data(), plane[1].data(), plane[2].data()} {}
};

TEST(PlanarCopy, SplitsChannelsIntoPlanesWithOneStep) {
  TestImage src(5, 3, 3, 2, 1);
  src.randomize(11);
  Planes dst(src.size(), 3);
  for (auto& p : dst.plane) p.randomize(12);
  Planes expected = dst;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      for (int c = 0; c < 3; ++c) expected.plane[c].at(x, y)[0] = src.at(x, y)[c];
  ASSERT_EQ(ippiCopy_8u_C3P3R(src.data(), src.step, dst.pointers, dst.plane[0].step, src.size()), 0);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(dst.plane[c].bytes, expected.plane[c].bytes) << c;

  // Rows running upwards: negative steps from the last row give the same planes.
  Planes flipped(src.size(), 3);
  for (auto& p : flipped.plane) p.randomize(12);
  Ipp8u* lastRows[3] = {flipped.plane[0].at(0, 2), flipped.plane[1].at(0, 2), flipped.plane[2].at(0, 2)};
  ASSERT_EQ(ippiCopy_8u_C3P3R(src.at(0, 2), -src.step, lastRows, -flipped.plane[0].step, src.size()), 0);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(flipped.plane[c].bytes, expected.plane[c].bytes) << c;
}

TEST(PlanarCopy, ChecksPointersThenSizeAndWritesNothing) {
  TestImage src(2, 2, 3);
  Planes dst({2, 2}, 0);
  Ipp8u* oneMissing[3] = {dst.pointers[0], nullptr, dst.pointers[2]};
  EXPECT_EQ(ippiCopy_8u_C3P3R(nullptr, 6, dst.pointers, 2, {2, 2}), ippStsNullPtrErr);
  EXPECT_EQ(ippiCopy_8u_C3P3R(src.data(), 6, nullptr, 2, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiCopy_8u_C3P3R(src.data(), 6, oneMissing, 2, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiCopy_8u_C3P3R(src.data(), 6, dst.pointers, 2, {2, 0}), ippStsSizeErr);
  EXPECT_EQ(ippiCopy_8u_C3P3R(src.data(), 6, dst.pointers, 2, {-1, 2}), ippStsSizeErr);
  for (auto& p : dst.plane) EXPECT_EQ(p.bytes, Bytes(p.bytes.size(), 0));
}

}  // namespace
