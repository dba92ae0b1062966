// color_conversion_cases.h - the sixteen colour-space conversions as test
// cases: each forward conversion with its back conversion and every published
// variant of both.
#pragma once

#include <array>
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

}  // namespace fc::test
