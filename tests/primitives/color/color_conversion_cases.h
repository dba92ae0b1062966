// color_conversion_cases.h - the sixteen colour-space conversions as test
// cases: each forward conversion with its back conversion and every published
// variant of both.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "dispatch/primitives.h"
#include "tests/support/entry_variants.h"

namespace fc::test {

/// The signature all sixteen conversions share.
using ConversionFn = IppStatus(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);
using ConversionVariants = std::vector<NamedVariant<ConversionFn>>;

/// A colour space: the conversion into it and the one back, each with the
/// variants this processor runs (px first).
struct ColourSpace {
  std::string name;
  ConversionVariants forward;
  ConversionVariants back;
};

inline std::vector<ColourSpace> colourSpaces() {
  return {
      {"YUV", variantsOf_ippiRGBToYUV_8u_C3R(), variantsOf_ippiYUVToRGB_8u_C3R()},
      {"YCbCr", variantsOf_ippiRGBToYCbCr_8u_C3R(), variantsOf_ippiYCbCrToRGB_8u_C3R()},
      {"YCC", variantsOf_ippiRGBToYCC_8u_C3R(), variantsOf_ippiYCCToRGB_8u_C3R()},
      {"XYZ", variantsOf_ippiRGBToXYZ_8u_C3R(), variantsOf_ippiXYZToRGB_8u_C3R()},
      {"HSV", variantsOf_ippiRGBToHSV_8u_C3R(), variantsOf_ippiHSVToRGB_8u_C3R()},
      {"HLS", variantsOf_ippiRGBToHLS_8u_C3R(), variantsOf_ippiHLSToRGB_8u_C3R()},
      {"LUV", variantsOf_ippiRGBToLUV_8u_C3R(), variantsOf_ippiLUVToRGB_8u_C3R()},
      {"Lab", variantsOf_ippiBGRToLab_8u_C3R(), variantsOf_ippiLabToBGR_8u_C3R()},
  };
}

/// A conversion and a readable name, for the tests that treat all sixteen alike.
struct NamedConversion {
  std::string name;
  ConversionVariants variants;
};

inline std::vector<NamedConversion> allConversions() {
  std::vector<NamedConversion> all;
  for (const ColourSpace& space : colourSpaces()) {
    all.push_back({"to " + space.name, space.forward});
    all.push_back({"from " + space.name, space.back});
  }
  return all;
}

using Pixel = std::array<Ipp8u, 3>;

/// One pixel through a conversion.
inline Pixel convertOne(ConversionFn* fn, Pixel in) {
  Pixel out{};
  fn(in.data(), 3, out.data(), 3, {1, 1});
  return out;
}

/// Side and row step of the image that holds every 8-bit colour once.
constexpr int kCubeSide = 4096;
constexpr int kCubeStep = kCubeSide * 3;

/// Every 8-bit colour as one 4096 x 4096 image, pixel i holding
/// (i >> 16, i >> 8, i); built once and shared.
inline const std::vector<Ipp8u>& everyColourImage() {
  static const std::vector<Ipp8u> cube = [] {
    std::vector<Ipp8u> bytes(static_cast<std::size_t>(kCubeStep) * kCubeSide);
    for (std::size_t i = 0; i < bytes.size() / 3; ++i) {
      bytes[3 * i] = static_cast<Ipp8u>(i >> 16);
      bytes[3 * i + 1] = static_cast<Ipp8u>(i >> 8);
      bytes[3 * i + 2] = static_cast<Ipp8u>(i);
    }
    return bytes;
  }();
  return cube;
}

}  // namespace fc::test
