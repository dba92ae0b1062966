// Pipelines with several inputs and outputs through the framecraft tool:
// two generators into a combine, the example forms, pictures from files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "contracts/video/helper_primitives.h"
#include "contracts/video/image_buffer.h"
#include "dispatch/primitives.h"
#include "tests/tools/tool_dir_test.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

// A PNG file as a frame (blue, green, red); empty when it cannot be read.
TFCImageBuffer ReadPng(const fs::path& file) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* png = stbi_load(file.c_str(), &width, &height, &channels, 3);
  if (!png) return {};
  TFCImageBuffer frame(width, height);
  for (int i = 0; i < width * height; ++i)
    for (int c = 0; c < 3; ++c) frame.Write()[i * 3 + c] = png[i * 3 + 2 - c];
  stbi_image_free(png);
  return frame;
}

TFCImageBuffer Jaehne(int width, int height) {
  TFCImageBuffer frame(width, height);
  fc_entry(ippiImageJaehne_8u_C3R)(frame.Write(), frame.Step(), frame.SizeRecord());
  return frame;
}

class CombineTool : public TToolDirTest {
protected:
  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
    return dir_ / name;
  }
};

TEST_F(CombineTool, RunsTwoGeneratorsIntoACombine) {
  const fs::path form = Write("two.fcf",
                              "object Two: TComponent\n"
                              "  object Small1: TFCJaehneGen\n"
                              "    ImageSize.Width = 32\n"
                              "    ImageSize.Height = 24\n"
                              "    OutputPin.SinkPins = (Combine1.InputPins.0)\n"
                              "  end\n"
                              "  object Large1: TFCJaehneGen\n"
                              "    ImageSize.Width = 64\n"
                              "    ImageSize.Height = 48\n"
                              "    OutputPin.SinkPins = (Combine1.InputPins.1)\n"
                              "  end\n"
                              "  object Combine1: TFCCombine\n"
                              "    Offset.Horizontal = 16\n"
                              "    Offset.Vertical = 12\n"
                              "    CombineOperation = coAbsDiff\n"
                              "  end\n"
                              "end\n");
  const TChildResult r = Tool({"run", form.string(), "--frames", "2", "--dump", "Combine1.OutputPin=out",
                               "--dump", "Combine1.InputPins.0=small"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Combine1.OutputPin: 2 frames written"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Combine1.InputPins.0: 2 frames written"), std::string::npos) << r.out;

  // The large pattern, with the small one's absolute difference over it at (16, 12).
  TFCImageBuffer expected = Jaehne(64, 48);
  const TFCImageBuffer small = Jaehne(32, 24);
  Ipp8u* overlap = expected.Modify() + 12 * expected.Step() + 16 * 3;
  ippiAbsDiff_8u_C1R(small.Read(), small.Step(), overlap, expected.Step(), overlap, expected.Step(), {96, 24});
  for (const char* name : {"000000.png", "000001.png"}) {
    const TFCImageBuffer out = ReadPng(dir_ / "out" / name);
    ASSERT_EQ(out.Width(), 64) << name;
    ASSERT_EQ(out.Height(), 48);
    EXPECT_TRUE(std::equal(out.Read(), out.Read() + out.Size(), expected.Read())) << name;
  }
}

TEST_F(CombineTool, RunsTheKeyingAndSplitExamples) {
  TChildResult r = Tool({"run", (kExamples / "keying.fcf").string(), "--frames", "1", "--dump",
                         "Key1.OutputPin=key"});
  ASSERT_EQ(r.status, 0) << r.err;
  const TFCImageBuffer key = ReadPng(dir_ / "key" / "000000.png");
  const TFCImageBuffer pattern = Jaehne(256, 192);
  ASSERT_EQ(key.Width(), 256);
  ASSERT_EQ(key.Height(), 192);
  auto pixel = [](const TFCImageBuffer& f, int x, int y) {
    const Ipp8u* p = f.Read() + (y * f.Width() + x) * 3;
    return std::vector<Ipp8u>(p, p + 3);
  };
  EXPECT_EQ(pixel(key, 10, 10), pixel(pattern, 10, 10));     // outside the picture
  EXPECT_EQ(pixel(key, 81, 61), pixel(pattern, 81, 61));     // the picture's green corner is keyed out
  EXPECT_EQ(pixel(key, 128, 106), (std::vector<Ipp8u>{40, 200, 240}));  // the picture's yellow disc

  r = Tool({"run", (kExamples / "hsv_split_merge.fcf").string(), "--frames", "2", "--dump",
            "Merge1.OutputPin=merged", "--dump", "Split1.OutputPins.2=value"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadPng(dir_ / "merged" / "000001.png").Width(), 256);
  EXPECT_EQ(ReadPng(dir_ / "value" / "000001.png").Height(), 192);
}

TEST_F(CombineTool, LoadsPicturePropertiesFromFilesNamedAfterAnAt) {
  // A 2 x 1 BMP: one red and one blue pixel (stored blue, green, red, rows padded to 4 bytes).
  const std::string bmp = std::string("BM") + std::string("\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 16) +
                          std::string("\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0", 20) +
                          std::string(16, '\0') + std::string("\0\0\xff\xff\0\0\0\0", 8);
  Write("two.bmp", bmp);
  const fs::path form = Write("image.fcf",
                              "object Image: TComponent\n"
                              "  object Picture1: TFCImageGen\n"
                              "  end\n"
                              "end\n");
  TChildResult r = Tool({"run", form.string(), "--frames", "1", "--set", "Picture1.Picture=@two.bmp", "--dump",
                         "Picture1.OutputPin=out"});
  ASSERT_EQ(r.status, 0) << r.err;
  const TFCImageBuffer out = ReadPng(dir_ / "out" / "000000.png");
  ASSERT_EQ(out.Width(), 2);
  EXPECT_EQ(std::vector<Ipp8u>(out.Read(), out.Read() + 6), (std::vector<Ipp8u>{0, 0, 255, 255, 0, 0}));

  r = Tool({"run", form.string(), "--set", "Picture1.Picture=@missing.png"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("missing.png"), std::string::npos) << r.err;
  r = Tool({"run", form.string(), "--set", "Picture1.Picture=@image.fcf"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("image.fcf: Picture1.Picture: not a PNG"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace fc::test
