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

/// Whether this processor runs the instructions of the variant `tag`
/// (w7 up to SSE4.1, t7 up to AVX2).
inline bool runsHere(const std::string& tag) {
#if defined(__x86_64__) || defined(__i386__)
  if (tag == "w7") return __builtin_cpu_supports("sse4.1");
  if (tag == "t7") return __builtin_cpu_supports("avx2");
#endif
  return !tag.empty();
}

/// The variants of an entry this processor can run, px first.
template <typename Fn>
ConversionVariants runnable(std::vector<NamedVariant<Fn>> all) {
  ConversionVariants here;
  for (auto& v : all)
    if (runsHere(v.tag)) here.push_back(v);
  return here;
}

/// A colour space: the conversion into it and the one back, each with the
/// variants this processor runs (px first).
struct ColourSpace {
  std::string name;
  ConversionVariants forward;
  ConversionVariants back;
};

inline std::vector<ColourSpace> colourSpaces() {
  return {
      {"YUV", runnable(variantsOf_ippiRGBToYUV_8u_C3R()), runnable(variantsOf_ippiYUVToRGB_8u_C3R())},
      {"YCbCr", runnable(variantsOf_ippiRGBToYCbCr_8u_C3R()), runnable(variantsOf_ippiYCbCrToRGB_8u_C3R())},
      {"YCC", runnable(variantsOf_ippiRGBToYCC_8u_C3R()), runnable(variantsOf_ippiYCCToRGB_8u_C3R())},
      {"XYZ", runnable(variantsOf_ippiRGBToXYZ_8u_C3R()), runnable(variantsOf_ippiXYZToRGB_8u_C3R())},
      {"HSV", runnable(variantsOf_ippiRGBToHSV_8u_C3R()), runnable(variantsOf_ippiHSVToRGB_8u_C3R())},
      {"HLS", runnable(variantsOf_ippiRGBToHLS_8u_C3R()), runnable(variantsOf_ippiHLSToRGB_8u_C3R())},
      {"LUV", runnable(variantsOf_ippiRGBToLUV_8u_C3R()), runnable(variantsOf_ippiLUVToRGB_8u_C3R())},
      {"Lab", runnable(variantsOf_ippiBGRToLab_8u_C3R()), runnable(variantsOf_ippiLabToBGR_8u_C3R())},
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
