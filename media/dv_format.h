// dv_format.h - the DV format a video output asks of its DV encoder.
#pragma once

#include <cstdint>

#include "contracts/pins/locked_persistent.h"
#include "platform/media/dv_encoder_settings.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

// Of a fixed size, so a value outside the identifiers can be held and refused.
enum TFCDSDVFormat : std::int32_t { dvfNTSC, dvfPAL };
enum TFCDSDVEncoding : std::int32_t { dveDVSD, dveDVHD, dveDVSL };
enum TFCDSDVOutResolution : std::int32_t { dvr720, dvr360, dvr180, dvr88 };

FC_COMPONENTS_API const TEnumInfo& DSDVFormatInfo();
FC_COMPONENTS_API const TEnumInfo& DSDVEncodingInfo();
FC_COMPONENTS_API const TEnumInfo& DSDVOutResolutionInfo();

/// Raises EFCError naming `owner`'s `property` when `ordinal` is not one of
/// `info`'s values (an enumeration of a fixed size can hold any).
void CheckEnumOrdinal(const TPersistent& owner, const char* property, const TEnumInfo& info, int ordinal);

/// `Format` (starts dvfNTSC), `Encoding` (dveDVSD), `Resolution` (dvr720)
/// and `UseCurrent` (true: the encoder keeps its own settings, and the
/// other three are not sent to it). Guarded by the owner's lock.
class FC_COMPONENTS_API TFCDVFormat : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCDSDVFormat kFormatDefault = dvfNTSC;
  static constexpr TFCDSDVEncoding kEncodingDefault = dveDVSD;
  static constexpr TFCDSDVOutResolution kResolutionDefault = dvr720;
  static constexpr bool kUseCurrentDefault = true;

  using TPMLockedPersistent::TPMLockedPersistent;

  TFCDSDVFormat GetFormat() const { return Load(format_); }
  TFCDSDVEncoding GetEncoding() const { return Load(encoding_); }
  TFCDSDVOutResolution GetResolution() const { return Load(resolution_); }
  bool GetUseCurrent() const { return Load(useCurrent_); }
  /// A value outside its enumeration raises EFCError naming the property.
  void SetFormat(TFCDSDVFormat v);
  void SetEncoding(TFCDSDVEncoding v);
  void SetResolution(TFCDSDVOutResolution v);
  void SetUseCurrent(bool v) { Store(useCurrent_, v); }

  /// The encoder values of Format, Encoding and Resolution (2000 ... 2015).
  media::TDSDVEncoderSettings EncoderSettings() const;
  /// Takes Format, Encoding and Resolution back from an encoder's values; a
  /// value without a property value leaves that property as it is.
  void ReadFromEncoder(const media::TDSDVEncoderSettings& settings);

private:
  TFCDSDVFormat format_ = kFormatDefault;
  TFCDSDVEncoding encoding_ = kEncodingDefault;
  TFCDSDVOutResolution resolution_ = kResolutionDefault;
  bool useCurrent_ = kUseCurrentDefault;
};

}  // namespace fc
