// Every primitive entry with hostile arguments: random sizes, steps,
// regions, factors, angles, masks and coefficients, on buffers that hold
// exactly what the arguments describe (tests/fuzz/guarded_image.h). A call
// may answer any status; it must not touch memory outside its buffers, must
// write nothing when it answers an error, and nothing outside the
// destination's rows otherwise.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dispatch/primitives.h"
#include "tests/fuzz/guarded_image.h"

namespace fc::fuzz {
namespace {

// Source images carry this many pixels of border on every side, so filters
// whose masks and anchors the input keeps within it read real pixels.
constexpr int kBorder = 24;

class TArguments {
public:
  explicit TArguments(FuzzedDataProvider& data) : data_(data) {}

  int Side() { return data_.ConsumeIntegralInRange(-1, 40); }
  IppiSize Size() { return {Side(), Side()}; }
  /// Mostly a row's bytes plus some padding; sometimes 0, 1, a row less one
  /// or a negative step.
  int Step(int rowBytes) {
    switch (data_.ConsumeIntegralInRange(0, 9)) {
      case 0: return 0;
      case 1: return -std::max(rowBytes, 1);
      case 2: return std::max(rowBytes - 1, 1);
      default: return rowBytes + data_.ConsumeIntegralInRange(0, 7);
    }
  }
  int Small(int low, int high) { return data_.ConsumeIntegralInRange(low, high); }
  double Number() {
    switch (data_.ConsumeIntegralInRange(0, 7)) {
      case 0: return data_.ConsumeFloatingPoint<double>();  // any double, also huge
      case 1: return static_cast<double>(data_.ConsumeIntegral<std::int32_t>());
      default: return data_.ConsumeFloatingPointInRange(-64.0, 64.0);
    }
  }
  float Single() { return static_cast<float>(Number()); }
  std::uint8_t Byte() { return data_.ConsumeIntegral<std::uint8_t>(); }
  std::uint32_t Seed() { return data_.ConsumeIntegral<std::uint32_t>(); }
  TFCImageRect Rect() { return {Small(-2, 44), Small(-2, 44), Side(), Side()}; }
  int Interpolation() {
    static constexpr int kValues[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER,
                                      IPPI_INTER_LANCZOS, 3, 0};
    const int value = kValues[data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kValues) - 1)];
    return data_.ConsumeBool() ? value | IPPI_SMOOTH_EDGE : value;
  }

private:
  FuzzedDataProvider& data_;
};

// The rows of a width x height image of `channels`, with `border` pixels
// readable around it.
TRowSpan ImageSpan(int width, int height, int channels, int step, int border = 0) {
  return {step, -border, std::max(height, 0) + border, -static_cast<std::int64_t>(border) * channels,
          (static_cast<std::int64_t>(std::max(width, 0)) + border) * channels};
}

// Runs one call: `call(src, dst)` gets the two pointers and answers a
// status; then the destination is checked against the rows it may write.
void CheckCall(const char* entry, const TRowSpan& source, const TRowSpan& destination, std::uint32_t seed,
               const std::function<IppStatus(const Ipp8u*, Ipp8u*)>& call) {
  TGuardedImage src(source, seed), dst(destination, seed + 1);
  const IppStatus status = call(src.Pointer(), dst.Pointer());
  dst.CheckUntouchedOutside(status < 0 ? nullptr : &destination, entry);
}

using TTwoImage = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize);

// Entries of the two-image list without further arguments: filters with a
// fixed mask, colour conversions, gamma.
void TwoImage(TArguments& a, const char* name, TTwoImage entry) {
  const IppiSize roi = a.Size();
  const int srcStep = a.Step(std::max(roi.width, 0) * 3), dstStep = a.Step(std::max(roi.width, 0) * 3);
  CheckCall(name, ImageSpan(roi.width, roi.height, 3, srcStep, kBorder / 8),
            ImageSpan(roi.width, roi.height, 3, dstStep), a.Seed(),
            [&](const Ipp8u* s, Ipp8u* d) { return entry(s, srcStep, d, dstStep, roi); });
}

template <typename Extra>
void TwoImageWith(TArguments& a, const char* name, int channels, int border, Extra call) {
  const IppiSize roi = a.Size();
  const int row = std::max(roi.width, 0) * channels;
  const int srcStep = a.Step(row), dstStep = a.Step(row);
  CheckCall(name, ImageSpan(roi.width, roi.height, channels, srcStep, border),
            ImageSpan(roi.width, roi.height, channels, dstStep), a.Seed(),
            [&](const Ipp8u* s, Ipp8u* d) { return call(s, srcStep, d, dstStep, roi); });
}

#define FC_TWO_IMAGE(entry) TwoImage(a, #entry, fc_entry(entry))

void FixedMaskFilters(TArguments& a, int which) {
  switch (which) {
    case 0: return FC_TWO_IMAGE(ippiFilterPrewittHoriz_8u_C3R);
    case 1: return FC_TWO_IMAGE(ippiFilterPrewittVert_8u_C3R);
    case 2: return FC_TWO_IMAGE(ippiFilterSobelHoriz_8u_C3R);
    case 3: return FC_TWO_IMAGE(ippiFilterSobelVert_8u_C3R);
    case 4: return FC_TWO_IMAGE(ippiFilterRobertsDown_8u_C3R);
    case 5: return FC_TWO_IMAGE(ippiFilterRobertsUp_8u_C3R);
    default: return FC_TWO_IMAGE(ippiFilterSharpen_8u_C3R);
  }
}

void PointOperations(TArguments& a, int which) {
  switch (which) {
    case 0: return FC_TWO_IMAGE(ippiRGBToHLS_8u_C3R);
    case 1: return FC_TWO_IMAGE(ippiRGBToHSV_8u_C3R);
    case 2: return FC_TWO_IMAGE(ippiRGBToLUV_8u_C3R);
    case 3: return FC_TWO_IMAGE(ippiRGBToXYZ_8u_C3R);
    case 4: return FC_TWO_IMAGE(ippiRGBToYCC_8u_C3R);
    case 5: return FC_TWO_IMAGE(ippiRGBToYCbCr_8u_C3R);
    case 6: return FC_TWO_IMAGE(ippiRGBToYUV_8u_C3R);
    case 7: return FC_TWO_IMAGE(ippiBGRToLab_8u_C3R);
    case 8: return FC_TWO_IMAGE(ippiHLSToRGB_8u_C3R);
    case 9: return FC_TWO_IMAGE(ippiHSVToRGB_8u_C3R);
    case 10: return FC_TWO_IMAGE(ippiLUVToRGB_8u_C3R);
    case 11: return FC_TWO_IMAGE(ippiXYZToRGB_8u_C3R);
    case 12: return FC_TWO_IMAGE(ippiYCCToRGB_8u_C3R);
    case 13: return FC_TWO_IMAGE(ippiYCbCrToRGB_8u_C3R);
    case 14: return FC_TWO_IMAGE(ippiYUVToRGB_8u_C3R);
    case 15: return FC_TWO_IMAGE(ippiLabToBGR_8u_C3R);
    case 16: return FC_TWO_IMAGE(ippiGammaFwd_8u_C3R);
    default: return FC_TWO_IMAGE(ippiGammaInv_8u_C3R);
  }
}

void CodedMaskFilters(TArguments& a, int which) {
  using TCoded = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, int);
  static const std::array<std::pair<const char*, TCoded*>, 6> kEntries{{
      {"ippiFilterMedianCross_8u_C3R", &ippiFilterMedianCross_8u_C3R},
      {"ippiFilterMedianColor_8u_C3R", &ippiFilterMedianColor_8u_C3R},
      {"ippiFilterLaplace_8u_C3R", &ippiFilterLaplace_8u_C3R},
      {"ippiFilterGauss_8u_C3R", &ippiFilterGauss_8u_C3R},
      {"ippiFilterHipass_8u_C3R", &ippiFilterHipass_8u_C3R},
      {"ippiFilterLowpass_8u_C3R", &ippiFilterLowpass_8u_C3R},
  }};
  const auto& [name, entry] = kEntries[static_cast<std::size_t>(which) % kEntries.size()];
  const int mask = a.Small(0, 3) == 0 ? a.Small(-1, 60) : (a.Small(0, 1) ? ippMskSize3x3 : ippMskSize5x5);
  TwoImageWith(a, name, 3, 3, [&, entry = entry](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
    return fc_entry(*entry)(s, ss, d, ds, roi, mask);
  });
}

// Masks and anchors stay within the source border, so a call the primitive
// accepts reads only pixels the caller handed over.
IppiSize MaskSize(TArguments& a) { return {a.Small(-1, kBorder), a.Small(-1, kBorder)}; }
IppiPoint Anchor(TArguments& a) { return {a.Small(-1, kBorder), a.Small(-1, kBorder)}; }

void RankFilters(TArguments& a, int which) {
  using TRank = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, IppiSize, IppiPoint);
  static const std::array<std::pair<const char*, TRank*>, 4> kEntries{{
      {"ippiFilterBox_8u_C3R", &ippiFilterBox_8u_C3R},
      {"ippiFilterMin_8u_C3R", &ippiFilterMin_8u_C3R},
      {"ippiFilterMax_8u_C3R", &ippiFilterMax_8u_C3R},
      {"ippiFilterMedian_8u_C3R", &ippiFilterMedian_8u_C3R},
  }};
  const auto& [name, entry] = kEntries[static_cast<std::size_t>(which) % kEntries.size()];
  const IppiSize mask = MaskSize(a);
  const IppiPoint anchor = Anchor(a);
  TwoImageWith(a, name, 3, kBorder, [&, entry = entry](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
    return fc_entry(*entry)(s, ss, d, ds, roi, mask, anchor);
  });
}

void Morphology(TArguments& a, int which) {
  using TMorph = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, const Ipp8u*, IppiSize, IppiPoint);
  static const std::array<std::tuple<const char*, TMorph*, int>, 4> kEntries{{
      {"ippiErode_8u_C3R", &ippiErode_8u_C3R, 3},
      {"ippiErode_8u_C1R", &ippiErode_8u_C1R, 1},
      {"ippiDilate_8u_C3R", &ippiDilate_8u_C3R, 3},
      {"ippiDilate_8u_C1R", &ippiDilate_8u_C1R, 1},
  }};
  const auto& [name, entry, channels] = kEntries[static_cast<std::size_t>(which) % kEntries.size()];
  const IppiSize mask = MaskSize(a);
  const IppiPoint anchor = Anchor(a);
  std::vector<Ipp8u> cells(static_cast<std::size_t>(std::max(mask.width, 0) * std::max(mask.height, 0)));
  for (auto& cell : cells) cell = a.Small(0, 3) ? 1 : 0;
  const Ipp8u* pMask = a.Small(0, 15) ? cells.data() : nullptr;
  TwoImageWith(a, name, channels, kBorder, [&, entry = entry](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
    return fc_entry(*entry)(s, ss, d, ds, roi, pMask, mask, anchor);
  });
  IppiMorphState* state = nullptr;
  if (fc_entry(ippiMorphologyInitAlloc_8u_C3R)(a.Small(-1, 64), pMask, mask, anchor, &state) == ippStsNoErr)
    fc_entry(ippiMorphologyFree)(&state);
}

void ColourValues(TArguments& a, int which) {
  Ipp8u t1[3], v1[3], t2[3], v2[3];
  for (Ipp8u* values : {t1, v1, t2, v2})
    for (int c = 0; c < 3; ++c) values[c] = a.Byte();
  Ipp32f twist[3][4];
  for (auto& row : twist)
    for (auto& value : row) value = a.Single();
  auto run = [&](const char* name, auto call) { TwoImageWith(a, name, 3, 0, call); };
  switch (which % 4) {
    case 0:
      return run("ippiColorTwist32f_8u_C3R", [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
        return fc_entry(ippiColorTwist32f_8u_C3R)(s, ss, d, ds, roi, twist);
      });
    case 1:
      return run("ippiThreshold_LTValGTVal_8u_C3R", [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
        return fc_entry(ippiThreshold_LTValGTVal_8u_C3R)(s, ss, d, ds, roi, t1, v1, t2, v2);
      });
    case 2:
      return run("ippiThreshold_LTVal_8u_C3R", [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
        return fc_entry(ippiThreshold_LTVal_8u_C3R)(s, ss, d, ds, roi, t1, v1);
      });
    default:
      return run("ippiThreshold_GTVal_8u_C3R", [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
        return fc_entry(ippiThreshold_GTVal_8u_C3R)(s, ss, d, ds, roi, t1, v1);
      });
  }
}

// In-place entries and the pattern generator: the one image is the
// destination.
void OneImage(TArguments& a, int which) {
  const IppiSize roi = a.Size();
  const int step = a.Step(std::max(roi.width, 0) * 3);
  const TRowSpan span = ImageSpan(roi.width, roi.height, 3, step);
  const Ipp8u low = a.Byte(), high = a.Byte();
  unsigned int seed = a.Seed();
  const char* names[] = {"ippiGammaFwd_8u_C3IR", "ippiGammaInv_8u_C3IR", "ippiAddRandUniform_Direct_8u_C3IR",
                         "ippiAddRandGauss_Direct_8u_C3IR", "ippiImageJaehne_8u_C3R"};
  which %= 5;
  TGuardedImage image(span, seed);
  IppStatus status = ippStsNoErr;
  switch (which) {
    case 0: status = fc_entry(ippiGammaFwd_8u_C3IR)(image.Pointer(), step, roi); break;
    case 1: status = fc_entry(ippiGammaInv_8u_C3IR)(image.Pointer(), step, roi); break;
    case 2: status = fc_entry(ippiAddRandUniform_Direct_8u_C3IR)(image.Pointer(), step, roi, low, high, &seed); break;
    case 3: status = fc_entry(ippiAddRandGauss_Direct_8u_C3IR)(image.Pointer(), step, roi, low, high, &seed); break;
    default: status = fc_entry(ippiImageJaehne_8u_C3R)(image.Pointer(), step, roi); break;
  }
  image.CheckUntouchedOutside(status < 0 ? nullptr : &span, names[which]);
}

void Resize(TArguments& a, int which) {
  const int channels = which % 2 ? 1 : 3;
  const IppiSize srcSize = a.Size(), dstSize = a.Size();
  const TFCImageRect srcRoi = a.Rect();
  const int srcStep = a.Step(std::max(srcSize.width, 0) * channels);
  const int dstStep = a.Step(std::max(dstSize.width, 0) * channels);
  const double xFactor = a.Number(), yFactor = a.Number();
  const int interpolation = a.Interpolation() & ~IPPI_SMOOTH_EDGE;
  auto entry = channels == 1 ? fc_entry(ippiResize_8u_C1R) : fc_entry(ippiResize_8u_C3R);
  CheckCall(channels == 1 ? "ippiResize_8u_C1R" : "ippiResize_8u_C3R",
            ImageSpan(srcSize.width, srcSize.height, channels, srcStep),
            ImageSpan(dstSize.width, dstSize.height, channels, dstStep), a.Seed(),
            [&](const Ipp8u* s, Ipp8u* d) {
              return entry(s, srcSize, srcStep, srcRoi, d, dstStep, dstSize, xFactor, yFactor, interpolation);
            });
}

// The destination of the geometric list: dst is the image's top-left
// pixel; the call may write only inside dstRoi, which lies in the image.
void Geometric(TArguments& a, int which) {
  const int channels = which % 2 ? 1 : 3;
  const IppiSize srcSize = a.Size(), dstSize = a.Size();
  const TFCImageRect srcRoi = a.Rect(), dstRoi = a.Rect();
  const int srcStep = a.Step(std::max(srcSize.width, 0) * channels);
  const int dstStep = a.Step(std::max(dstSize.width, 0) * channels);
  const int interpolation = a.Interpolation();
  const double p1 = a.Number(), p2 = a.Number(), p3 = a.Number(), p4 = a.Number();
  double perspective[3][3], bilinear[2][4], quad[4][2];
  for (auto& row : perspective)
    for (auto& c : row) c = a.Number();
  for (auto& row : bilinear)
    for (auto& c : row) c = a.Number();
  for (auto& corner : quad)
    for (auto& c : corner) c = a.Number();
  // The image around the destination rectangle: as large as the rectangle
  // reaches, so a call that writes inside dstRoi stays in the buffer.
  const int dstWidth = std::max(dstSize.width, dstRoi.x + std::max(dstRoi.width, 0));
  const int dstHeight = std::max(dstSize.height, dstRoi.y + std::max(dstRoi.height, 0));
  const TRowSpan destination = ImageSpan(dstWidth, dstHeight, channels, dstStep);
  TRowSpan written = destination;
  if (dstRoi.x >= 0 && dstRoi.y >= 0) {
    written.firstRow = dstRoi.y;
    written.lastRow = dstRoi.y + std::max(dstRoi.height, 0);
    written.firstByte = static_cast<std::int64_t>(dstRoi.x) * channels;
    written.lastByte = (static_cast<std::int64_t>(dstRoi.x) + std::max(dstRoi.width, 0)) * channels;
  }
  static const char* kNames[] = {"ippiRotate_8u_C3R", "ippiRotate_8u_C1R", "ippiShear_8u_C3R",
                                 "ippiShear_8u_C1R", "ippiWarpPerspective_8u_C3R", "ippiWarpPerspective_8u_C1R",
                                 "ippiWarpPerspectiveBack_8u_C3R", "ippiWarpPerspectiveBack_8u_C1R",
                                 "ippiWarpBilinear_8u_C3R", "ippiWarpBilinear_8u_C1R",
                                 "ippiWarpBilinearBack_8u_C3R", "ippiWarpBilinearBack_8u_C1R"};
  which %= 12;
  TGuardedImage src(ImageSpan(srcSize.width, srcSize.height, channels, srcStep), a.Seed());
  TGuardedImage dst(destination, a.Seed());
  const Ipp8u* s = src.Pointer();
  Ipp8u* d = dst.Pointer();
  IppStatus status = ippStsNoErr;
  switch (which) {
    case 0: status = fc_entry(ippiRotate_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, p1, p2, p3, interpolation); break;
    case 1: status = fc_entry(ippiRotate_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, p1, p2, p3, interpolation); break;
    case 2: status = fc_entry(ippiShear_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, p1, p2, p3, p4, interpolation); break;
    case 3: status = fc_entry(ippiShear_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, p1, p2, p3, p4, interpolation); break;
    case 4: status = fc_entry(ippiWarpPerspective_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, perspective, interpolation); break;
    case 5: status = fc_entry(ippiWarpPerspective_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, perspective, interpolation); break;
    case 6: status = fc_entry(ippiWarpPerspectiveBack_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, perspective, interpolation); break;
    case 7: status = fc_entry(ippiWarpPerspectiveBack_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, perspective, interpolation); break;
    case 8: status = fc_entry(ippiWarpBilinear_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, bilinear, interpolation); break;
    case 9: status = fc_entry(ippiWarpBilinear_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, bilinear, interpolation); break;
    case 10: status = fc_entry(ippiWarpBilinearBack_8u_C3R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, bilinear, interpolation); break;
    default: status = fc_entry(ippiWarpBilinearBack_8u_C1R)(s, srcSize, srcStep, srcRoi, d, dstStep, dstRoi, bilinear, interpolation); break;
  }
  dst.CheckUntouchedOutside(status < 0 ? nullptr : &written, kNames[which]);
  double xShift = 0, yShift = 0;
  (void)fc_entry(ippiGetRotateShift)(p1, p2, p3, &xShift, &yShift);
  (void)fc_entry(ippiGetPerspectiveTransform)(srcRoi, quad, perspective);
  (void)fc_entry(ippiGetBilinearTransform)(srcRoi, quad, bilinear);
}

void Histograms(TArguments& a, int which) {
  const int channels = which % 2 ? 1 : 3;
  const IppiSize roi = a.Size();
  const int step = a.Step(std::max(roi.width, 0) * channels);
  int levels[3];
  Ipp32s lower[3], upper[3];
  std::vector<Ipp32s> hist[3], values[3];
  Ipp32s* histPointers[3];
  Ipp32s* levelPointers[3];
  for (int c = 0; c < 3; ++c) {
    levels[c] = a.Small(-1, 300);
    lower[c] = a.Small(-300, 300);
    upper[c] = a.Small(-300, 600);
    hist[c].resize(static_cast<std::size_t>(std::max(levels[c] - 1, 1)));
    values[c].resize(static_cast<std::size_t>(std::max(levels[c], 1)));
    histPointers[c] = hist[c].data();
    levelPointers[c] = values[c].data();
  }
  TGuardedImage src(ImageSpan(roi.width, roi.height, channels, step), a.Seed());
  if (channels == 1)
    (void)fc_entry(ippiHistogramEven_8u_C1R)(src.Pointer(), step, roi, histPointers[0], levelPointers[0], levels[0],
                                             lower[0], upper[0]);
  else
    (void)fc_entry(ippiHistogramEven_8u_C3R)(src.Pointer(), step, roi, histPointers, levelPointers, levels, lower,
                                             upper);
}

void PlanesAndFill(TArguments& a, int which) {
  if (which % 2) {
    const int length = a.Small(-1, 4000);
    TRowSpan span{0, 0, 1, 0, std::max(length, 0)};
    TGuardedImage dst(span, a.Seed());
    const IppStatus status = fc_entry(ippsSet_8u)(a.Byte(), dst.Pointer(), length);
    dst.CheckUntouchedOutside(status < 0 ? nullptr : &span, "ippsSet_8u");
    return;
  }
  const IppiSize roi = a.Size();
  const int srcStep = a.Step(std::max(roi.width, 0) * 3), dstStep = a.Step(std::max(roi.width, 0));
  const TRowSpan plane = ImageSpan(roi.width, roi.height, 1, dstStep);
  TGuardedImage src(ImageSpan(roi.width, roi.height, 3, srcStep), a.Seed());
  TGuardedImage p0(plane, 1), p1(plane, 2), p2(plane, 3);
  Ipp8u* const planes[3] = {p0.Pointer(), p1.Pointer(), p2.Pointer()};
  const IppStatus status = fc_entry(ippiCopy_8u_C3P3R)(src.Pointer(), srcStep, planes, dstStep, roi);
  for (const TGuardedImage* p : {&p0, &p1, &p2}) p->CheckUntouchedOutside(status < 0 ? nullptr : &plane, "ippiCopy_8u_C3P3R");
}

}  // namespace
}  // namespace fc::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fc::fuzz;
  FuzzedDataProvider provider(data, size);
  TArguments a(provider);
  const int family = provider.ConsumeIntegralInRange(0, 10);
  const int which = provider.ConsumeIntegralInRange(0, 17);
  switch (family) {
    case 0: FixedMaskFilters(a, which); break;
    case 1: PointOperations(a, which); break;
    case 2: CodedMaskFilters(a, which); break;
    case 3: RankFilters(a, which); break;
    case 4: Morphology(a, which); break;
    case 5: ColourValues(a, which); break;
    case 6: OneImage(a, which); break;
    case 7: Resize(a, which); break;
    case 8: Geometric(a, which); break;
    case 9: Histograms(a, which); break;
    default: PlanesAndFill(a, which); break;
  }
  return 0;
}
