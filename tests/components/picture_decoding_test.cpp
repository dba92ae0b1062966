// JPEG and PNG pictures: the colour spaces and sample layouts a file may
// hold, damaged and hostile data, and the memory budget.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "platform/runtime/error.h"
#include "platform/runtime/picture.h"
#include "platform/runtime/resource_budget.h"
#include "tests/components/picture_files.h"

namespace fc {
namespace {

struct TJpegSettings {
  J_COLOR_SPACE space = JCS_RGB;
  int components = 3;
  bool progressive = false;
};

// Encodes `pixels` (width x height x components bytes) at quality 100 with
// every component at full resolution, so flat 8 x 8 blocks come back within
// the rounding of the colour conversion.
std::vector<std::uint8_t> EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& pixels,
                                     const TJpegSettings& settings) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = settings.components;
  info.in_color_space = settings.space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  if (settings.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(settings.components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(pixels.data()) + stride * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

// A picture of four flat 8 x 8 blocks, `colours` given per block in reading order.
std::vector<std::uint8_t> FourBlocks(const std::vector<std::vector<std::uint8_t>>& colours) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const auto& colour = colours.at(static_cast<std::size_t>(y / 8 * 2 + x / 8));
      pixels.insert(pixels.end(), colour.begin(), colour.end());
    }
  return pixels;
}

// Every pixel of each 8 x 8 block is `expected[block]` (red, green, blue)
// within `tolerance`, with an opaque alpha.
void ExpectBlocks(const TPicture& picture, const std::vector<std::vector<int>>& expected, int tolerance) {
  ASSERT_EQ(picture.Width(), 16);
  ASSERT_EQ(picture.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const std::uint8_t* p = picture.Pixels().data() + (y * 16 + x) * 4;
      const auto& colour = expected.at(static_cast<std::size_t>(y / 8 * 2 + x / 8));
      for (int c = 0; c < 3; ++c) ASSERT_NEAR(p[c], colour[static_cast<std::size_t>(c)], tolerance) << x << "," << y;
      ASSERT_EQ(p[3], 255) << x << "," << y;
    }
}

// Where the last scan starts (its start-of-scan marker), or 0.
std::size_t LastScanStart(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t i = jpeg.size() - 2; i > 0; --i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return i;
  return 0;
}

TEST(JpegPictures, ColourGreyAndInkFilesDecodeToTheirColoursAsRgba) {
  TPicture picture(nullptr, "Picture");
  const std::vector<std::vector<int>> colours{{250, 10, 20}, {10, 240, 30}, {20, 30, 230}, {128, 64, 200}};
  std::vector<std::vector<std::uint8_t>> bytes;
  for (const auto& c : colours) bytes.push_back({std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});

  // The test helper's encoder (another implementation) and libjpeg's, each in YCbCr.
  test::TRawPicture raw{16, 16, 3, FourBlocks(bytes)};
  picture.LoadFromData(test::EncodeJpeg(raw));
  ExpectBlocks(picture, colours, 2);
  picture.LoadFromData(EncodeJpeg(16, 16, raw.pixels, {}));
  ExpectBlocks(picture, colours, 2);

  picture.LoadFromData(EncodeJpeg(16, 16, FourBlocks({{0}, {60}, {200}, {255}}), {JCS_GRAYSCALE, 1, false}));
  ExpectBlocks(picture, {{0, 0, 0}, {60, 60, 60}, {200, 200, 200}, {255, 255, 255}}, 1);

  // Inverted ink (as stored with an Adobe marker): red = C x K / 255.
  picture.LoadFromData(EncodeJpeg(
      16, 16, FourBlocks({{255, 255, 255, 255}, {255, 0, 128, 255}, {200, 100, 50, 128}, {0, 0, 0, 0}}),
      {JCS_CMYK, 4, false}));
  ExpectBlocks(picture, {{255, 255, 255}, {255, 0, 128}, {100, 50, 25}, {0, 0, 0}}, 2);
}

TEST(JpegPictures, DataEndingEarlyDecodesAtItsSizeButADamagedHeaderIsRefused) {
  TPicture picture(nullptr, "Picture");
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(64, 48, test::PatternPicture(64, 48, 3).pixels, {});
  const std::size_t scan = LastScanStart(jpeg);
  ASSERT_NE(scan, 0u);
  std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(scan + (jpeg.size() - scan) / 2));
  picture.LoadFromData(cut);
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_EQ(picture.Height(), 48);
  EXPECT_EQ(picture.Pixels().size(), 64u * 48 * 4);

  const std::vector<std::uint8_t> kept = picture.Data();
  for (std::size_t length : {std::size_t{2}, std::size_t{20}}) {
    try {
      picture.LoadFromData(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(length)));
      FAIL() << "a header cut after " << length << " bytes was accepted";
    } catch (const EFCError& error) {
      EXPECT_NE(std::string(error.what()).find("Picture: not a valid JPEG picture"), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(picture.Data(), kept);
}

TEST(JpegPictures, ProgressiveFilesDecodeButEndlessScansAreRefused) {
  TPicture picture(nullptr, "Picture");
  const std::vector<std::vector<int>> colours{{250, 10, 20}, {10, 240, 30}, {20, 30, 230}, {128, 64, 200}};
  std::vector<std::vector<std::uint8_t>> bytes;
  for (const auto& c : colours) bytes.push_back({std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(16, 16, FourBlocks(bytes), {JCS_RGB, 3, true});
  picture.LoadFromData(jpeg);
  ExpectBlocks(picture, colours, 2);

  // The last scan repeated: a few repeats still decode, hundreds are refused.
  const std::size_t last = LastScanStart(jpeg);
  ASSERT_NE(last, 0u);
  const std::vector<std::uint8_t> scan(jpeg.begin() + static_cast<std::ptrdiff_t>(last), jpeg.end() - 2);
  const auto repeated = [&](int times) {
    std::vector<std::uint8_t> data(jpeg.begin(), jpeg.end() - 2);
    for (int i = 0; i < times; ++i) data.insert(data.end(), scan.begin(), scan.end());
    data.insert(data.end(), {0xFF, 0xD9});
    return data;
  };
  picture.LoadFromData(repeated(5));
  EXPECT_EQ(picture.Width(), 16);
  try {
    picture.LoadFromData(repeated(400));
    FAIL() << "400 scans were accepted";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("scans"), std::string::npos) << error.what();
  }
}

// The budget is held before the pixels are allocated, and it also bounds the
// whole-picture buffers a progressive file needs while it is decoded.
TEST(JpegPictures, PicturesAndWorkBuffersAboveTheBudgetAreRefused) {
  TPicture picture(nullptr, "Picture");
  const std::vector<std::uint8_t> grey(64 * 64 * 3, 90);
  const std::vector<std::uint8_t> sequential = EncodeJpeg(64, 64, grey, {});
  const std::vector<std::uint8_t> progressive = EncodeJpeg(64, 64, grey, {JCS_RGB, 3, true});

  SetMaxBufferBytes(64 * 64 * 4 - 1);
  try {
    picture.LoadFromData(sequential);
    FAIL() << "a picture above the budget was accepted";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("Picture.Data"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("frame budget"), std::string::npos) << error.what();
  }

  // Room for the pixels but not for three planes of coefficients.
  SetMaxBufferBytes(64 * 64 * 4);
  picture.LoadFromData(sequential);
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_THROW(picture.LoadFromData(progressive), EFCError);
  SetMaxBufferBytes(0);
  picture.LoadFromData(progressive);
  EXPECT_EQ(picture.Data(), progressive);
}

struct TPngSettings {
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;
  int transparentGrey = -1;
};

void AppendPng(png_structp png, png_bytep data, png_size_t size) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + size);
}

// Encodes rows already packed as the file holds them (big-endian 16-bit
// samples, several small samples a byte).
std::vector<std::uint8_t> EncodePng(int width, const std::vector<std::vector<std::uint8_t>>& rows,
                                    const TPngSettings& settings) {
  std::vector<std::uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &bytes, AppendPng, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(rows.size()), settings.bitDepth,
               settings.colourType, settings.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!settings.palette.empty())
    png_set_PLTE(png, info, settings.palette.data(), static_cast<int>(settings.palette.size()));
  png_color_16 grey{};
  grey.gray = static_cast<png_uint_16>(settings.transparentGrey);
  if (!settings.paletteAlpha.empty() || settings.transparentGrey >= 0)
    png_set_tRNS(png, info, settings.paletteAlpha.data(), static_cast<int>(settings.paletteAlpha.size()), &grey);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// The decoded picture's pixels, four bytes each.
std::vector<std::vector<int>> PixelsOf(const TPicture& picture) {
  std::vector<std::vector<int>> pixels;
  const auto& rgba = picture.Pixels();
  for (std::size_t i = 0; i < rgba.size(); i += 4) pixels.push_back({rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]});
  return pixels;
}

TEST(PngPictures, EveryColourTypeAndDepthBecomesRgba) {
  TPicture picture(nullptr, "Picture");
  TPngSettings deep;
  deep.bitDepth = 16;
  picture.LoadFromData(EncodePng(2, {{0x12, 0xAB, 0x34, 0xCD, 0xFF, 0x01, 0x00, 0xFF, 0x80, 0x00, 0x7F, 0xFF}}, deep));
  EXPECT_EQ(PixelsOf(picture), (std::vector<std::vector<int>>{{0x12, 0x34, 0xFF, 255}, {0x00, 0x80, 0x7F, 255}}));

  TPngSettings twoBits;
  twoBits.colourType = PNG_COLOR_TYPE_GRAY;
  twoBits.bitDepth = 2;
  picture.LoadFromData(EncodePng(4, {{0x1B}}, twoBits));  // samples 0, 1, 2, 3
  EXPECT_EQ(PixelsOf(picture),
            (std::vector<std::vector<int>>{{0, 0, 0, 255}, {85, 85, 85, 255}, {170, 170, 170, 255}, {255, 255, 255, 255}}));

  TPngSettings palette;
  palette.colourType = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{200, 10, 20}, {30, 40, 50}, {60, 70, 80}};
  palette.paletteAlpha = {0, 128};
  picture.LoadFromData(EncodePng(3, {{2, 1, 0}}, palette));
  EXPECT_EQ(PixelsOf(picture), (std::vector<std::vector<int>>{{60, 70, 80, 255}, {30, 40, 50, 128}, {200, 10, 20, 0}}));

  TPngSettings keyed;
  keyed.colourType = PNG_COLOR_TYPE_GRAY;
  keyed.transparentGrey = 50;
  picture.LoadFromData(EncodePng(2, {{50, 51}}, keyed));
  EXPECT_EQ(PixelsOf(picture), (std::vector<std::vector<int>>{{50, 50, 50, 0}, {51, 51, 51, 255}}));

  // Interlaced: the seven passes put every pixel back in its place.
  const test::TRawPicture raw = test::PatternPicture(13, 11, 4);
  std::vector<std::vector<std::uint8_t>> rows;
  for (int y = 0; y < raw.height; ++y)
    rows.emplace_back(raw.pixels.begin() + y * 13 * 4, raw.pixels.begin() + (y + 1) * 13 * 4);
  TPngSettings interlaced;
  interlaced.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  interlaced.interlaced = true;
  picture.LoadFromData(EncodePng(13, rows, interlaced));
  EXPECT_EQ(picture.Pixels(), raw.pixels);
}

TEST(PngPictures, DamagedDataIsRefusedAndChangesNothing) {
  TPicture picture(nullptr, "Picture");
  const std::vector<std::uint8_t> good = test::EncodePng(test::PatternPicture(8, 8, 3));
  picture.LoadFromData(good);
  std::vector<std::uint8_t> damaged = good;
  damaged[damaged.size() - 20] ^= 0x40;  // inside the image data: its checksum fails
  try {
    picture.LoadFromData(damaged);
    FAIL() << "a damaged PNG was accepted";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("Picture: not a valid PNG picture"), std::string::npos) << error.what();
  }
  EXPECT_EQ(picture.Data(), good);
  EXPECT_EQ(picture.Width(), 8);
}

}  // namespace
}  // namespace fc
