#include "components/Fchistogramequalize.h"

#include <cmath>

#include "dispatch/primitives.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCHistogramEqualize, TFCCommonFilter)

void TFCHistogramEqualize::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonFilter::SetVideoFormat(Buffer);
}

void TFCHistogramEqualize::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (In.Size() == 0) return;  // nothing to equalise
  if (In.Format() == vfGray8)
    EqualizeGrey(In, *Out);
  else
    EqualizeColor(In, *Out);
}

// Level i maps to 255 x (pixels at or below i) / pixels, the running sum kept
// in single precision, rounded to nearest with ties to even.
void TFCHistogramEqualize::BuildTable(const Ipp32s* histogram, double pixels) {
  float sum = 0;
  for (std::size_t i = 0; i < table_.size(); ++i) {
    sum += static_cast<float>(histogram[i]);
    table_[i] = static_cast<Ipp8u>(std::nearbyint(255.0 * sum / pixels));
  }
}

void TFCHistogramEqualize::EqualizeGrey(const TFCImageBuffer& In, TFCImageBuffer& Out) {
  const IppStatus status = fc_entry(ippiHistogramEven_8u_C1R)(In.Read(), In.Step(), In.SizeRecord(),
                                                              histograms_[0].data(), levels_.data(), kLevels, 0,
                                                              kLevels - 1);
  if (!PrimitiveSucceeded(status, "ippiHistogramEven_8u_C1R")) return;
  BuildTable(histograms_[0].data(), double{1} * In.Width() * In.Height());
  const Ipp8u* src = In.Read();
  Ipp8u* dst = Out.Overwrite();
  for (std::size_t i = 0; i < In.Size(); ++i) dst[i] = table_[src[i]];
}

void TFCHistogramEqualize::EqualizeColor(const TFCImageBuffer& In, TFCImageBuffer& Out) {
  if (workFrame_.Width() != In.Width() || workFrame_.Height() != In.Height())
    workFrame_ = TFCImageBuffer(In.Width(), In.Height(), vfRGB24);
  const IppiSize size = In.SizeRecord();
  Ipp8u* hls = workFrame_.Overwrite();
  IppStatus status = fc_entry(ippiRGBToHLS_8u_C3R)(In.Read(), In.Step(), hls, workFrame_.Step(), size);
  if (!PrimitiveSucceeded(status, "ippiRGBToHLS_8u_C3R")) return;
  Ipp32s* hist[3] = {histograms_[0].data(), histograms_[1].data(), histograms_[2].data()};
  Ipp32s* levels[3] = {levels_.data(), levels_.data(), levels_.data()};
  int nLevels[3] = {kLevels, kLevels, kLevels};
  Ipp32s lower[3] = {0, 0, 0};
  Ipp32s upper[3] = {kLevels - 1, kLevels - 1, kLevels - 1};
  status = fc_entry(ippiHistogramEven_8u_C3R)(hls, workFrame_.Step(), size, hist, levels, nLevels, lower, upper);
  if (!PrimitiveSucceeded(status, "ippiHistogramEven_8u_C3R")) return;
  BuildTable(histograms_[1].data(), double{1} * In.Width() * In.Height());
  for (std::size_t i = 1; i < workFrame_.Size(); i += 3) hls[i] = table_[hls[i]];
  status = fc_entry(ippiHLSToRGB_8u_C3R)(hls, workFrame_.Step(), Out.Overwrite(), Out.Step(), size);
  PrimitiveSucceeded(status, "ippiHLSToRGB_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fchistogramequalize, TFCHistogramEqualize)
