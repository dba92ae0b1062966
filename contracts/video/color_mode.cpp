#include "contracts/video/color_mode.h"

namespace fc {

const TEnumInfo& ColorModeInfo() {
  static const TEnumInfo info("TFCColorMode",
                              {"cmRGB", "cmHLS", "cmHSV", "cmYUV", "cmLUV", "cmXYZ", "cmYCbCr", "cmYCC", "cmLab"});
  return info;
}

std::array<std::string_view, 3> ColorModeChannelNames(TFCColorMode mode) {
  static constexpr std::array<std::array<std::string_view, 3>, 9> kNames{{
      {"Red", "Green", "Blu"},  // the blue channel's pin name has three letters
      {"Hue", "Lightness", "Saturation"},
      {"Hue", "Saturation", "Value"},
      {"Luminance", "ChrominanceU", "ChrominanceV"},
      {"L", "U", "V"},
      {"X", "Y", "Z"},
      {"Y", "Cb", "Cr"},
      {"Luminance", "Chrominance1", "Chrominance2"},
      {"L*", "a*", "b*"},
  }};
  const int index = static_cast<int>(mode);
  return kNames[static_cast<std::size_t>(index >= 0 && index < 9 ? index : 0)];
}

}  // namespace fc
