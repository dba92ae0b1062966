// Frames: copy-on-write sharing, sizes and steps per format, bitmap loading
// and format conversions.
#include <gtest/gtest.h>

#include <vector>

#include "contracts/video/image_buffer.h"

namespace fc {
namespace {

TEST(ImageBuffer, CopiesShareUntilOneIsWritten) {
  TFCImageBuffer a(4, 2);
  a.Write()[0] = 7;
  TFCImageBuffer b(a);
  TFCImageBuffer c;
  c.Copy(a);
  EXPECT_EQ(b.Read(), a.Read());  // reading never copies
  EXPECT_TRUE(a.IsShared());

  b.Modify()[1] = 9;  // detaches b, keeping the pixels
  EXPECT_NE(b.Read(), a.Read());
  EXPECT_EQ(b.Read()[0], 7);
  EXPECT_EQ(a.Read()[1], 0);
  EXPECT_EQ(c.Read(), a.Read());

  Ipp8u* fresh = c.Write();  // detaches c without keeping the pixels
  EXPECT_NE(fresh, a.Read());
  EXPECT_EQ(fresh[0], 0);
  EXPECT_FALSE(a.IsShared());
  EXPECT_EQ(a.Write(), a.Read());  // the last holder writes in place
}

TEST(ImageBuffer, SizeStepAndBytesPerPixelFollowTheFormat) {
  struct Case {
    TFCVideoFormat format;
    int bytesPerPixel, step, pixelsPerRow;
  };
  for (Case k : {Case{vfRGB24, 3, 15, 5}, Case{vfRGB32, 4, 20, 5}, Case{vfGray8, 1, 5, 5},
                 Case{vfYUY2, 2, 12, 6}}) {
    TFCImageBuffer f(5, 3, k.format);
    EXPECT_EQ(f.BytesPerPixel(), k.bytesPerPixel) << k.format;
    EXPECT_EQ(f.Step(), k.step) << k.format;
    EXPECT_EQ(f.PixelsPerRow(), k.pixelsPerRow) << k.format;
    EXPECT_EQ(f.Size(), std::size_t(3 * k.step)) << k.format;
  }
  TFCImageBuffer f(2, 2);
  f.Write()[0] = 1;
  f.SetSize(-3, 4);  // negative counts as empty; pixels start black
  EXPECT_EQ(f.Width(), 0);
  EXPECT_EQ(f.Size(), 0u);
  EXPECT_EQ(f.Read(), nullptr);
  EXPECT_EQ(f.Write(), nullptr);
  f.Clear();  // harmless on an empty frame
}

TEST(ImageBuffer, ClearMakesBlackInEveryFormat) {
  TFCImageBuffer yuy2(3, 1, vfYUY2);
  EXPECT_EQ(std::vector<Ipp8u>(yuy2.Read(), yuy2.Read() + 8),
            (std::vector<Ipp8u>{16, 128, 16, 128, 16, 128, 16, 128}));
  TFCImageBuffer shared(yuy2);
  yuy2.Clear();
  EXPECT_NE(yuy2.Read(), shared.Read());
  TFCImageBuffer rgb(2, 1);
  std::fill(rgb.Write(), rgb.Write() + rgb.Size(), Ipp8u{200});
  rgb.Clear();
  EXPECT_EQ(rgb.Read()[5], 0);
}

TEST(ImageBuffer, LoadsBitmapsTopDownOrBottomUp) {
  const Ipp8u pixels[] = {1, 2, 3, 4, 5, 6, 0, 0,  // row 0, padded to 8 bytes
                          7, 8, 9, 10, 11, 12, 0, 0};
  TFCImageBuffer f;
  f.LoadFromBitmap({pixels, 2, 2, 8, 24, false});
  EXPECT_EQ(f.Format(), vfRGB24);
  EXPECT_EQ(std::vector<Ipp8u>(f.Read(), f.Read() + 12),
            (std::vector<Ipp8u>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  f.LoadFromBitmap({pixels, 2, 2, 8, 24, true});
  EXPECT_EQ(f.Read()[0], 7);
  f.LoadFromBitmap({pixels, 8, 2, 8, 8, false});
  EXPECT_EQ(f.Format(), vfGray8);
  EXPECT_EQ(f.Read()[8], 7);

  // Unusable views leave an empty frame rather than reading out of bounds.
  for (TFCBitmapView bad : {TFCBitmapView{nullptr, 2, 2, 8, 24, false}, TFCBitmapView{pixels, 3, 2, 8, 24, false},
                            TFCBitmapView{pixels, 2, -2, 8, 24, false}, TFCBitmapView{pixels, 2, 2, 8, 16, false}}) {
    f.LoadFromBitmap(bad);
    EXPECT_EQ(f.Size(), 0u);
  }
}

TFCImageBuffer Bgr(std::vector<Ipp8u> bytes, int width) {
  TFCImageBuffer f(width, static_cast<int>(bytes.size()) / (3 * width));
  std::copy(bytes.begin(), bytes.end(), f.Write());
  return f;
}

std::vector<Ipp8u> Bytes(const TFCImageBuffer& f) { return {f.Read(), f.Read() + f.Size()}; }

TEST(ImageBufferConversion, GreyIsTheRoundedLuma) {
  // blue, green, red: pure colours, white, and values whose luma ends in .5
  TFCImageBuffer f = Bgr({0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 1, 10, 20, 30}, 6);
  TFCImageBuffer shared(f);
  f.ConvertTo(vfGray8);
  EXPECT_EQ(f.Format(), vfGray8);
  // 0.299*255=76.245, 0.587*255=149.685, 0.114*255=29.07, 0.299*1=0.299,
  // 0.299*30+0.587*20+0.114*10=22.35
  EXPECT_EQ(Bytes(f), (std::vector<Ipp8u>{76, 150, 29, 255, 0, 22}));
  EXPECT_EQ(shared.Format(), vfRGB24);  // the other holder is untouched
  EXPECT_EQ(shared.Read()[2], 255);

  f.ConvertTo(vfRGB24);
  EXPECT_EQ(Bytes(f), (std::vector<Ipp8u>{76, 76, 76, 150, 150, 150, 29, 29, 29, 255, 255, 255, 0, 0, 0, 22, 22, 22}));
}

TEST(ImageBufferConversion, ThirtyTwoBitRoundTripIsExact) {
  TFCImageBuffer f = Bgr({1, 2, 3, 4, 5, 6}, 2);
  f.ConvertTo(vfRGB32);
  EXPECT_EQ(Bytes(f), (std::vector<Ipp8u>{1, 2, 3, 0, 4, 5, 6, 0}));
  f.ConvertTo(vfRGB24);
  EXPECT_EQ(Bytes(f), (std::vector<Ipp8u>{1, 2, 3, 4, 5, 6}));
}

TEST(ImageBufferConversion, Yuy2HasStudioLevelsAndRoundTripsClosely) {
  TFCImageBuffer black = Bgr({0, 0, 0, 255, 255, 255, 0, 0, 0}, 3);  // odd width
  black.ConvertTo(vfYUY2);
  ASSERT_EQ(black.Step(), 8);
  EXPECT_EQ(black.Read()[0], 16);   // black luma
  EXPECT_EQ(black.Read()[2], 235);  // white luma
  EXPECT_EQ(black.Read()[1], 128);  // grey pair: neutral chroma
  EXPECT_EQ(black.Read()[4], 16);

  // Pairs of equal colours survive the round trip within two levels.
  std::vector<Ipp8u> pairs;
  for (Ipp8u v : {Ipp8u{30}, Ipp8u{120}, Ipp8u{200}})
    for (int twice = 0; twice < 2; ++twice) pairs.insert(pairs.end(), {v, Ipp8u(255 - v), Ipp8u(v / 2)});
  TFCImageBuffer f = Bgr(pairs, 6);
  f.ConvertTo(vfYUY2);
  f.ConvertTo(vfRGB24);
  for (std::size_t i = 0; i < pairs.size(); ++i) EXPECT_NEAR(f.Read()[i], pairs[i], 2) << i;

  f.ConvertTo(static_cast<TFCVideoFormat>(9));  // not a format: unchanged
  EXPECT_EQ(f.Format(), vfRGB24);
}

TEST(ImageBuffer, TimeStampsAndTimeCodeTravelWithEveryCopyAndConversion) {
  TFCImageBuffer f(2, 2);
  f.SetTimeStamps({400000, 800000, true});
  f.SetTimeCode({12, false});
  TFCImageBuffer copy(f), assigned;
  assigned = f;
  for (const TFCImageBuffer* g : {&copy, &assigned}) {
    EXPECT_EQ(g->TimeStamps(), (TPMTimeStamps{400000, 800000, true}));
    EXPECT_EQ(g->TimeCode().frameNumber, 12);
  }
  f.ConvertTo(vfYUY2);
  f.ConvertTo(vfGray8);
  EXPECT_EQ(f.TimeStamps(), (TPMTimeStamps{400000, 800000, true}));
  EXPECT_EQ(f.TimeCode().frameNumber, 12);
}

}  // namespace
}  // namespace fc
