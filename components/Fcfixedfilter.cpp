#include "components/Fcfixedfilter.h"

#include <cstddef>

#include "dispatch/primitives.h"

namespace fc {

const TEnumInfo& FixedMaskSizeInfo() {
  static const TEnumInfo info("TFCFixedMaskSize", {"fms3x3", "fms5x5"});
  return info;
}

const TEnumInfo& FixedFilterTypeInfo() {
  static const TEnumInfo info("TFCFixedFilterType",
                              {"ftPrewittHoriz", "ftPrewittVert", "ftSobelHoriz", "ftSobelVert", "ftRobertsDown",
                               "ftRobertsUp", "ftLaplace", "ftGauss", "ftHipass", "ftLowpass", "ftSharpen",
                               "ftMedianCross", "ftMedianColor"});
  return info;
}

const TClassInfo& TFCFixedFilter::StaticClassInfo() {
  using F = TFCFixedFilter;
  static const TClassInfo info = TClassBuilder<F>("TFCFixedFilter", &TFCCommonROIFilter::StaticClassInfo())
                                     .Enum("MaskSize", &F::GetMaskSize, &F::SetMaskSize, FixedMaskSizeInfo())
                                     .Enum("FilterType", &F::GetFilterType, &F::SetFilterType, FixedFilterTypeInfo())
                                     .Build();
  return info;
}

TFCFixedMaskSize TFCFixedFilter::GetMaskSize() const {
  auto section = ReadLock();
  return maskSize_;
}

void TFCFixedFilter::SetMaskSize(TFCFixedMaskSize size) {
  auto section = WriteLock();
  if (size == maskSize_) return;
  maskSize_ = size;
}

TFCFixedFilterType TFCFixedFilter::GetFilterType() const {
  auto section = ReadLock();
  return filterType_;
}

void TFCFixedFilter::SetFilterType(TFCFixedFilterType type) {
  auto section = WriteLock();
  if (type == filterType_) return;
  filterType_ = type;
}

namespace {

bool TakesMask(TFCFixedFilterType type) {
  switch (type) {
    case ftLaplace:
    case ftGauss:
    case ftHipass:
    case ftLowpass:
    case ftMedianCross:
    case ftMedianColor: return true;
    default: return false;
  }
}

// The name of the entry a filter type calls, for failure reports.
const char* EntryName(TFCFixedFilterType type) {
  switch (type) {
    case ftPrewittHoriz: return "ippiFilterPrewittHoriz_8u_C3R";
    case ftPrewittVert: return "ippiFilterPrewittVert_8u_C3R";
    case ftSobelHoriz: return "ippiFilterSobelHoriz_8u_C3R";
    case ftSobelVert: return "ippiFilterSobelVert_8u_C3R";
    case ftRobertsDown: return "ippiFilterRobertsDown_8u_C3R";
    case ftRobertsUp: return "ippiFilterRobertsUp_8u_C3R";
    case ftLaplace: return "ippiFilterLaplace_8u_C3R";
    case ftGauss: return "ippiFilterGauss_8u_C3R";
    case ftHipass: return "ippiFilterHipass_8u_C3R";
    case ftLowpass: return "ippiFilterLowpass_8u_C3R";
    case ftSharpen: return "ippiFilterSharpen_8u_C3R";
    case ftMedianCross: return "ippiFilterMedianCross_8u_C3R";
    case ftMedianColor: return "ippiFilterMedianColor_8u_C3R";
  }
  return "an unknown fixed filter";
}

// The primitives' identifier of a mask size.
int MaskCode(TFCFixedMaskSize size) { return size == fms5x5 ? ippMskSize5x5 : ippMskSize3x3; }

}  // namespace

int TFCFixedFilter::Margin() const {
  auto section = ReadLock();
  return maskSize_ == fms5x5 && TakesMask(filterType_) ? 5 : 3;
}

TFCImageRect TFCFixedFilter::FilteredArea(IppiSize frame) const {
  const TFCImageRect region = ClippedRegion(frame);
  const int margin = Margin(), offset = (margin + 1) / 2;
  return {region.x + offset, region.y + offset, region.width - margin, region.height - margin};
}

IppStatus TFCFixedFilter::CallPrimitive(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                                        IppiSize size) const {
  const int mask = MaskCode(maskSize_);
  switch (filterType_) {
    case ftPrewittHoriz: return fc_entry(ippiFilterPrewittHoriz_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftPrewittVert: return fc_entry(ippiFilterPrewittVert_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftSobelHoriz: return fc_entry(ippiFilterSobelHoriz_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftSobelVert: return fc_entry(ippiFilterSobelVert_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftRobertsDown: return fc_entry(ippiFilterRobertsDown_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftRobertsUp: return fc_entry(ippiFilterRobertsUp_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftLaplace: return fc_entry(ippiFilterLaplace_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
    case ftGauss: return fc_entry(ippiFilterGauss_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
    case ftHipass: return fc_entry(ippiFilterHipass_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
    case ftLowpass: return fc_entry(ippiFilterLowpass_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
    case ftSharpen: return fc_entry(ippiFilterSharpen_8u_C3R)(src, srcStep, dst, dstStep, size);
    case ftMedianCross: return fc_entry(ippiFilterMedianCross_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
    case ftMedianColor: return fc_entry(ippiFilterMedianColor_8u_C3R)(src, srcStep, dst, dstStep, size, mask);
  }
  return ippStsMaskSizeErr;
}

void TFCFixedFilter::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const TFCImageRect area = FilteredArea(In.SizeRecord());
  // A frame too small for the margin leaves an empty area, which the
  // primitives refuse; nothing is read or written for it.
  if (area.width <= 0 || area.height <= 0) {
    PrimitiveSucceeded(ippStsSizeErr, EntryName(filterType_), TFCFailedFrame::PassInput);
    return;
  }
  // Everything outside the filtered area keeps the input pixels; the area is
  // written whole by the primitive.
  Ipp8u* const pixels = PixelsAround(In, *Out, area);
  const int step = In.Step();
  const std::ptrdiff_t srcOffset = static_cast<std::ptrdiff_t>(area.y) * step + area.x * 3;
  const std::ptrdiff_t dstOffset = static_cast<std::ptrdiff_t>(area.y) * Out->Step() + area.x * 3;
  const IppStatus status =
      CallPrimitive(In.Read() + srcOffset, step, pixels + dstOffset, Out->Step(), {area.width, area.height});
  // Defined to pass its input on unchanged when the primitive fails.
  PrimitiveSucceeded(status, EntryName(filterType_), TFCFailedFrame::PassInput);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcfixedfilter, TFCFixedFilter)
