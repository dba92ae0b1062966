// The Jaehne and picture generators, pictures, and pictures in form files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "components/Fcimagegen.h"
#include "components/Fcjaehnegen.h"
#include "dispatch/primitives.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_saver.h"
#include "platform/runtime/form_writer.h"
#include "tests/components/filter_run.h"
#include "tests/components/picture_files.h"

namespace fc {
namespace {

using test::BytesOf;
using test::TComponentHarness;
using test::TRawPicture;

// Starts a pumped generator, pumps one frame and stops.
TFCImageBuffer PumpOne(TFCCommonGen& gen, TComponentHarness& harness) {
  harness.ClearReceived();
  SetPropertyText(gen, "Pacing", "gpPump");
  gen.Start();
  harness.Pump();
  gen.Stop();
  const auto frames = harness.Frames();
  return frames.empty() ? TFCImageBuffer() : *frames.at(0);
}

TEST(JaehneGen, FillsFramesOfItsImageSizeWithThePattern) {
  TFCJaehneGen gen(nullptr);
  TComponentHarness harness;
  harness.Collect(*gen.GetOutputPin());
  SetPropertyText(gen, "ImageSize.Width", "17");
  SetPropertyText(gen, "ImageSize.Height", "9");
  const TFCImageBuffer frame = PumpOne(gen, harness);
  TFCImageBuffer expected(17, 9);
  fc_entry(ippiImageJaehne_8u_C3R)(expected.Write(), expected.Step(), expected.SizeRecord());
  EXPECT_EQ(BytesOf(frame), BytesOf(expected));
}

// The frame a picture should give: blue, green, red, blended over black.
std::vector<Ipp8u> ExpectedFrame(const TRawPicture& p) {
  std::vector<Ipp8u> bytes;
  for (std::size_t i = 0; i < p.pixels.size(); i += static_cast<std::size_t>(p.channels)) {
    const unsigned alpha = p.channels == 4 ? p.pixels[i + 3] : 255;
    for (int c = 2; c >= 0; --c) bytes.push_back(static_cast<Ipp8u>((p.pixels[i + c] * alpha + 127) / 255));
  }
  return bytes;
}

struct ImageGenFixture : ::testing::Test {
  TFCImageGen gen{nullptr};
  TComponentHarness harness;
  void SetUp() override { harness.Collect(*gen.GetOutputPin()); }
};

TEST_F(ImageGenFixture, SendsThePictureInFramesOfItsSize) {
  const TRawPicture picture = test::PatternPicture(5, 3, 3);
  gen.GetPicture()->LoadFromData(test::EncodePng(picture));
  const TFCImageBuffer frame = PumpOne(gen, harness);
  ASSERT_NE(harness.LastStart(), nullptr);
  EXPECT_EQ(harness.LastStart()->Width(), 5);
  EXPECT_EQ(harness.LastStart()->Height(), 3);
  EXPECT_EQ(frame.Format(), vfRGB24);
  EXPECT_EQ(BytesOf(frame), ExpectedFrame(picture));
  EXPECT_EQ(GetPropertyText(gen, "ImageSize.Width"), "5");
}

TEST_F(ImageGenFixture, DrawsTransparentPicturesOverBlack) {
  TRawPicture picture = test::PatternPicture(4, 2, 4);
  picture.pixels[3] = 0;
  picture.pixels[7] = 255;
  picture.pixels[11] = 128;
  gen.GetPicture()->LoadFromData(test::EncodePng(picture));
  const std::vector<Ipp8u> frame = BytesOf(PumpOne(gen, harness));
  EXPECT_EQ(frame, ExpectedFrame(picture));
  EXPECT_EQ(std::vector<Ipp8u>(frame.begin(), frame.begin() + 3), std::vector<Ipp8u>(3, 0));
}

TEST_F(ImageGenFixture, LoadsBmpJpegAndGifPictures) {
  const TRawPicture picture = test::PatternPicture(6, 4, 3);
  gen.GetPicture()->LoadFromData(test::EncodeBmp(picture));
  EXPECT_EQ(BytesOf(PumpOne(gen, harness)), ExpectedFrame(picture));

  TRawPicture grey{8, 8, 3, std::vector<std::uint8_t>(8 * 8 * 3, 90)};
  gen.GetPicture()->LoadFromData(test::EncodeJpeg(grey));
  const std::vector<Ipp8u> jpeg = BytesOf(PumpOne(gen, harness));
  ASSERT_EQ(jpeg.size(), 8u * 8 * 3);
  for (Ipp8u b : jpeg) EXPECT_NEAR(b, 90, 2);

  // One red pixel: a two-colour table and the codes clear, 0, end.
  const std::vector<std::uint8_t> gif = {'G',  'I',  'F',  '8',  '9',  'a',  1,    0,    1,    0,    0x80,
                                         0,    0,    0xFF, 0,    0,    0,    0,    0,    0x2C, 0,    0,
                                         0,    0,    1,    0,    1,    0,    0,    2,    2,    0x44, 0x01,
                                         0,    0x3B};
  gen.GetPicture()->LoadFromData(gif);
  EXPECT_EQ(BytesOf(PumpOne(gen, harness)), (std::vector<Ipp8u>{0, 0, 255}));
}

TEST_F(ImageGenFixture, BadPictureDataIsRefusedAndChangesNothing) {
  const TRawPicture picture = test::PatternPicture(2, 2, 3);
  gen.GetPicture()->LoadFromData(test::EncodePng(picture));
  std::vector<std::uint8_t> truncated = test::EncodePng(picture);
  truncated.resize(truncated.size() / 2);
  for (const auto& bad : {std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}, truncated})
    EXPECT_THROW(gen.GetPicture()->LoadFromData(bad), EFCError);
  EXPECT_THROW(gen.GetPicture()->LoadFromFile("/nonexistent/picture.png"), EFCError);
  EXPECT_EQ(gen.GetPicture()->Data(), test::EncodePng(picture));
  EXPECT_EQ(BytesOf(PumpOne(gen, harness)), ExpectedFrame(picture));

  gen.GetPicture()->Clear();
  EXPECT_EQ(PumpOne(gen, harness).Size(), 0u);
  EXPECT_EQ(GetPropertyText(gen, "ImageSize.Width"), "0");
}

// A Huffman table claiming more than 256 codes would make a careless decoder
// write past its tables; such a file is refused.
TEST_F(ImageGenFixture, JpegWithAnOversizedHuffmanTableIsRefused) {
  const TRawPicture grey{8, 8, 3, std::vector<std::uint8_t>(8 * 8 * 3, 90)};
  std::vector<std::uint8_t> jpeg = test::EncodeJpeg(grey);
  std::size_t table = 0;
  for (std::size_t i = 1; i + 20 < jpeg.size() && table == 0; ++i)
    if (jpeg[i - 1] == 0xFF && jpeg[i] == 0xC4) table = i + 1;
  ASSERT_NE(table, 0u);
  const std::size_t counts = table + 3;  // past the length and the class byte
  jpeg[counts + 14] = 200;
  jpeg[counts + 15] = 200;
  try {
    gen.GetPicture()->LoadFromData(jpeg);
    FAIL() << "the oversized table was accepted";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("not a valid JPEG picture"), std::string::npos) << error.what();
  }
  EXPECT_EQ(gen.GetPicture()->Width(), 0);
}

// The checksum a PNG chunk ends with, over its type and data.
std::uint32_t ChunkCrc(const std::uint8_t* from, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= from[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

TEST_F(ImageGenFixture, PictureLargerThanTheFrameBudgetIsRefusedBeforeDecoding) {
  std::vector<std::uint8_t> png = test::EncodePng(test::PatternPicture(2, 2, 3));
  png[16 + 1] = 0x7F;  // header width 0x007F0002: far beyond a frame side
  const std::uint32_t crc = ChunkCrc(png.data() + 12, 4 + 13);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  try {
    gen.GetPicture()->LoadFromData(png);
    FAIL() << "the oversized picture was accepted";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("frame budget"), std::string::npos) << error.what();
  }
  EXPECT_EQ(gen.GetPicture()->Width(), 0);
}

TEST_F(ImageGenFixture, SetPictureCopiesIntoTheOwnedPicture) {
  TFCImageGen other(nullptr);
  const TRawPicture picture = test::PatternPicture(3, 2, 3);
  other.GetPicture()->LoadFromData(test::EncodePng(picture));
  TPicture* owned = gen.GetPicture();
  gen.SetPicture(*other.GetPicture());
  EXPECT_EQ(gen.GetPicture(), owned);
  other.GetPicture()->Clear();
  EXPECT_EQ(BytesOf(PumpOne(gen, harness)), ExpectedFrame(picture));
}

const TClassInfo* LookUp(std::string_view name) {
  if (name == "TFCImageGen") return &TFCImageGen::StaticClassInfo();
  if (name == "TComponent") return &TComponent::StaticClassInfo();
  return nullptr;
}

TEST(ImageGenForms, KeepThePictureBytesSoTheFileMayGo) {
  const TRawPicture picture = test::PatternPicture(7, 5, 3);
  const std::vector<std::uint8_t> png = test::EncodePng(picture);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "fc_components_picture.png";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

  TComponent root(nullptr);
  root.SetName("Form1");
  auto* gen = new TFCImageGen(&root);
  gen->SetName("Image1");
  gen->GetPicture()->LoadFromFile(file);
  std::filesystem::remove(file);
  (new TFCImageGen(&root))->SetName("Empty1");

  const FormDocument saved = SaveForm(root, "saved.fcf");
  const FormProperty* data = saved.root.findChild("Image1")->properties.find("Picture.Data");
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(data->value.is(FormValue::Kind::Binary));
  EXPECT_EQ(data->value.bytes(), png);
  EXPECT_EQ(saved.root.findChild("Empty1")->properties.find("Picture.Data"), nullptr);

  const std::unique_ptr<TComponent> loaded = LoadForm(readForm(writeForm(saved), "saved.fcf"), LookUp);
  auto* again = dynamic_cast<TFCImageGen*>(loaded->FindComponent("Image1"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetPicture()->Data(), png);
  TComponentHarness harness;
  harness.Collect(*again->GetOutputPin());
  EXPECT_EQ(BytesOf(PumpOne(*again, harness)), ExpectedFrame(picture));
}

TEST(ImageGenForms, PictureDataThatIsNoPictureFailsTheLoad) {
  FormDocument document = readForm(
      "object Form1: TComponent\n"
      "  object Image1: TFCImageGen\n"
      "    Picture.Data = {00112233}\n"
      "  end\n"
      "end\n",
      "bad.fcf");
  EXPECT_THROW(LoadForm(document, LookUp), EFCError);
}

}  // namespace
}  // namespace fc
