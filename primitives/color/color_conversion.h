// color_conversion.h - what the colour-space conversions share: the argument
// checks, the walk over rows in blocks of pixels split into channel planes,
// and the rounding and limiting of results. Internal to the library.
//
// The conversion kernels are written once and compiled once per instruction
// set: the generic variant by the family's sources, the vector variants by
// color_conversions_<tag>.cpp (see primitives/variant.h). Everything here
// lives in the inline namespace FC_VARIANT_TAG, so the copies compiled for
// different instruction sets never merge at link time.
// Kernels work on whole blocks without branches per pixel, so that the
// compiler can vectorise them; each lane computes exactly what a lone pixel
// would, operation by operation.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/variant.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// Offset added before truncating a floating-point result; it rounds to
/// nearest with ties (and a hair above them) going down.
inline constexpr float kRoundDown = 0.499999f;

/// Pixels converted together; a row's last block may be partly filled.
inline constexpr int kBlockPixels = 64;

/// The three channels of a block of pixels, one plane each. Inputs are bytes;
/// outputs are stored as their low byte.
struct Block {
  std::int32_t c0[kBlockPixels];
  std::int32_t c1[kBlockPixels];
  std::int32_t c2[kBlockPixels];
};

/// Converts every lane of a block. Lanes past a row's end hold values of
/// earlier pixels and are converted too, but never stored.
using BlockKernel = void (*)(const Block& in, Block& out);

/// x limited to 0..255; I is std::int32_t or a vector of them.
template <typename I>
inline I clampByte(I x) {
  x = x < 0 ? 0 : x;
  return x > 255 ? 255 : x;
}

/// The three channels of one pixel, or of several lanes of pixels when I is
/// a vector type.
template <typename I>
struct Channels {
  I c0, c1, c2;
};

/// Converts every lane of a block by a per-pixel formula: a type whose
/// operator() maps the three input channels to the three outputs for
/// std::int32_t (and for vectors of them, where a variant converts pixels
/// in registers).
template <typename Formula>
inline void convertEach(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const Channels<std::int32_t> c = Formula{}(in.c0[i], in.c1[i], in.c2[i]);
    out.c0[i] = c.c0;
    out.c1[i] = c.c1;
    out.c2[i] = c.c2;
  }
}

/// trunc(x) limited to 0..255. Values beyond any integer range, infinities
/// included, saturate like any other large value; NaN gives 0. Also used
/// where the arithmetic keeps results within 0..255: there the limit changes
/// nothing and keeps the float-to-integer conversion defined.
inline std::int32_t truncLimited(float x) {
  x = x > 0.0f ? x : 0.0f;
  x = x < 255.0f ? x : 255.0f;
  return static_cast<std::int32_t>(x);
}

/// trunc(x) for an x the arithmetic keeps within 0 <= x < 256 (finite). The
/// same result as truncLimited there, in one conversion instead of the
/// selections the limits cost once vectorised.
inline std::int32_t truncInRange(float x) { return static_cast<std::int32_t>(x); }

inline std::int32_t max3(std::int32_t a, std::int32_t b, std::int32_t c) {
  const std::int32_t ab = a > b ? a : b;
  return ab > c ? ab : c;
}

inline std::int32_t min3(std::int32_t a, std::int32_t b, std::int32_t c) {
  const std::int32_t ab = a < b ? a : b;
  return ab < c ? ab : c;
}

/// Reads pixels `from` to `n` of a block into its planes.
inline void loadPixels(const Ipp8u* src, int from, int n, Block& in) {
  for (int i = from; i < n; ++i) {
    in.c0[i] = src[3 * i];
    in.c1[i] = src[3 * i + 1];
    in.c2[i] = src[3 * i + 2];
  }
}

/// Writes the low bytes of outputs `from` to `n` of a block as pixels.
inline void storePixels(const Block& out, int from, int n, Ipp8u* dst) {
  for (int i = from; i < n; ++i) {
    dst[3 * i] = static_cast<Ipp8u>(out.c0[i]);
    dst[3 * i + 1] = static_cast<Ipp8u>(out.c1[i]);
    dst[3 * i + 2] = static_cast<Ipp8u>(out.c2[i]);
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color

// A variant may bring its own block reads and writes (color_block_io_<tag>.h,
// written with its instructions); the others use the loops above.
#if defined(FC_COLOR_BLOCK_IO)
#include FC_COLOR_BLOCK_IO
#else
namespace fc::color {
inline namespace FC_VARIANT_TAG {
inline void loadBlock(const Ipp8u* src, int n, Block& in) { loadPixels(src, 0, n, in); }
inline void storeBlock(const Block& out, int n, Ipp8u* dst) { storePixels(out, 0, n, dst); }
}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
#endif

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// Checks the arguments and calls row(src, dst, width, in, out) for every
/// row, top to bottom, with two blocks to work in. Null pointers give
/// ippStsNullPtrErr before the size is looked at; a width or height below 1
/// gives ippStsSizeErr. Steps are taken as given: each row starts srcStep
/// (dstStep) bytes after the previous one.
template <typename RowFn>
IppStatus convertRows(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize, RowFn row) {
  if (pSrc == nullptr || pDst == nullptr) return ippStsNullPtrErr;
  if (roiSize.width < 1 || roiSize.height < 1) return ippStsSizeErr;
  Block in{}, out{};
  for (int y = 0; y < roiSize.height; ++y)
    row(pSrc + static_cast<std::ptrdiff_t>(y) * srcStep, pDst + static_cast<std::ptrdiff_t>(y) * dstStep,
        roiSize.width, in, out);
  return ippStsNoErr;
}

/// Runs `kernel` over the region, block by block. A block is read whole
/// before it is written, so source and destination may coincide.
template <BlockKernel kernel>
IppStatus convertImage(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return convertRows(pSrc, srcStep, pDst, dstStep, roiSize,
                     [](const Ipp8u* src, Ipp8u* dst, int width, Block& in, Block& out) {
                       for (int x = 0; x < width; x += kBlockPixels, src += 3 * kBlockPixels, dst += 3 * kBlockPixels) {
                         const int n = width - x < kBlockPixels ? width - x : kBlockPixels;
                         loadBlock(src, n, in);
                         kernel(in, out);
                         storeBlock(out, n, dst);
                       }
                     });
}

/// Runs a per-pixel formula over the region: in registers where the variant
/// can (see convertRowInRegisters), else as the block kernel `kernel`.
template <typename Formula, BlockKernel kernel>
IppStatus convertImageByFormula(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
#if defined(FC_COLOR_PIXELS_IN_REGISTERS)
  return convertRows(pSrc, srcStep, pDst, dstStep, roiSize, convertRowInRegisters<Formula>);
#else
  return convertImage<kernel>(pSrc, srcStep, pDst, dstStep, roiSize);
#endif
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color

/// Defines <tag>_<name>, a variant of a conversion entry, as `kernel` over
/// the region; the entry's declaration checks the signature. `tag` may be a
/// macro such as FC_VARIANT_TAG.
#define FC_DEFINE_CONVERSION(tag, name, kernel) FC_DEFINE_CONVERSION_OF_TAG(tag, name, kernel)
#define FC_DEFINE_CONVERSION_OF_TAG(tag, name, kernel)                              \
  extern "C" FC_API IppStatus tag##_##name FC_TWO_IMAGE_PARAMS() {                   \
    return ::fc::color::convertImage<kernel>(pSrc, srcStep, pDst, dstStep, roiSize); \
  }

/// As FC_DEFINE_CONVERSION, for a conversion that is also a per-pixel
/// formula `Formula` (see convertEach).
#define FC_DEFINE_FORMULA_CONVERSION(tag, name, Formula, kernel) \
  FC_DEFINE_FORMULA_CONVERSION_OF_TAG(tag, name, Formula, kernel)
#define FC_DEFINE_FORMULA_CONVERSION_OF_TAG(tag, name, Formula, kernel)                                   \
  extern "C" FC_API IppStatus tag##_##name FC_TWO_IMAGE_PARAMS() {                                        \
    return ::fc::color::convertImageByFormula<Formula, kernel>(pSrc, srcStep, pDst, dstStep, roiSize); \
  }
