#include "components/Fcthreshold.h"

#include "dispatch/primitives.h"

namespace fc {

// The two descendants publish the same properties and differ in the stored
// default of Threshold, which the registry keeps per property; so the three
// properties are published by each descendant rather than by this class.
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCThresholdValue, TPersistent)

template <class T>
TClassInfo TFCThresholdValue::DescendantInfo(const char* name, std::optional<TColor> thresholdDefault) {
  using V = TFCThresholdValue;
  return TClassBuilder<T>(name, &V::StaticClassInfo())
      .template Property<TColor, TColor>("Threshold", &V::GetThreshold, &V::SetThreshold, thresholdDefault,
                                         kColorTypeName)
      .template Property<TColor, TColor>("Value", &V::GetValue, &V::SetValue, std::nullopt, kColorTypeName)
      .template Property<bool, bool>("Enabled", &V::GetEnabled, &V::SetEnabled, kEnabledDefault)
      .Build();
}

const TClassInfo& TFCThresholdValueTop::StaticClassInfo() {
  static const TClassInfo info = DescendantInfo<TFCThresholdValueTop>("TFCThresholdValueTop", kThresholdDefault);
  return info;
}

const TClassInfo& TFCThresholdValueBottom::StaticClassInfo() {
  static const TClassInfo info = DescendantInfo<TFCThresholdValueBottom>("TFCThresholdValueBottom", std::nullopt);
  return info;
}

const TClassInfo& TFCThreshold::StaticClassInfo() {
  using T = TFCThreshold;
  static const TClassInfo info = TClassBuilder<T>("TFCThreshold", &TFCCommonFilter::StaticClassInfo())
                                     .Object("ThresholdTop", &T::GetThresholdTop)
                                     .Object("ThresholdBottom", &T::GetThresholdBottom)
                                     .Build();
  return info;
}

void TFCThreshold::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const bool top = top_.GetEnabled(), bottom = bottom_.GetEnabled();
  if (!top && !bottom) return;
  const TColorBytes topThreshold = ColorBytes(top_.GetThreshold()), topValue = ColorBytes(top_.GetValue());
  const TColorBytes bottomThreshold = ColorBytes(bottom_.GetThreshold()), bottomValue = ColorBytes(bottom_.GetValue());
  const Ipp8u* src = In.Read();
  const int srcStep = In.Step(), dstStep = Out->Step();
  // Every primitive below writes the whole frame: nothing to fill first.
  Ipp8u* dst = Out->Overwrite();
  if (top && bottom)
    PrimitiveSucceeded(fc_entry(ippiThreshold_LTValGTVal_8u_C3R)(src, srcStep, dst, dstStep, In.SizeRecord(),
                                                                 bottomThreshold.bytes, bottomValue.bytes,
                                                                 topThreshold.bytes, topValue.bytes),
                       "ippiThreshold_LTValGTVal_8u_C3R");
  else if (top)
    PrimitiveSucceeded(fc_entry(ippiThreshold_GTVal_8u_C3R)(src, srcStep, dst, dstStep, In.SizeRecord(),
                                                            topThreshold.bytes, topValue.bytes),
                       "ippiThreshold_GTVal_8u_C3R");
  else
    PrimitiveSucceeded(fc_entry(ippiThreshold_LTVal_8u_C3R)(src, srcStep, dst, dstStep, In.SizeRecord(),
                                                            bottomThreshold.bytes, bottomValue.bytes),
                       "ippiThreshold_LTVal_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcthreshold, TFCThreshold)
