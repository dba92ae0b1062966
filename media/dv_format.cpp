#include "media/dv_format.h"

#include <array>
#include <optional>

#include "platform/runtime/error.h"

namespace fc {

namespace {

constexpr std::array kFormatValues{media::kDVEncoderNTSC, media::kDVEncoderPAL};
constexpr std::array kEncodingValues{media::kDVEncoderDVSD, media::kDVEncoderDVHD, media::kDVEncoderDVSL};
constexpr std::array kResolutionValues{media::kDVEncoderRes720, media::kDVEncoderRes360, media::kDVEncoderRes180,
                                       media::kDVEncoderRes88};

// The ordinal whose encoder value is `value`, if any.
template <std::size_t N> std::optional<int> OrdinalOf(const std::array<int, N>& values, int value) {
  for (std::size_t i = 0; i < N; ++i)
    if (values[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

void CheckEnumOrdinal(const TPersistent& owner, const char* property, const TEnumInfo& info, int ordinal) {
  if (ordinal < 0 || ordinal >= info.Count())
    throw EFCError::ForProperty(owner.NamePath(), property, "is not a " + info.TypeName() + " value");
}

const TEnumInfo& DSDVFormatInfo() {
  static const TEnumInfo info("TFCDSDVFormat", {"dvfNTSC", "dvfPAL"});
  return info;
}

const TEnumInfo& DSDVEncodingInfo() {
  static const TEnumInfo info("TFCDSDVEncoding", {"dveDVSD", "dveDVHD", "dveDVSL"});
  return info;
}

const TEnumInfo& DSDVOutResolutionInfo() {
  static const TEnumInfo info("TFCDSDVOutResolution", {"dvr720", "dvr360", "dvr180", "dvr88"});
  return info;
}

const TClassInfo& TFCDVFormat::StaticClassInfo() {
  using F = TFCDVFormat;
  static const TClassInfo info =
      TClassBuilder<F>("TFCDVFormat", &TPersistent::StaticClassInfo())
          .Enum("Format", &F::GetFormat, &F::SetFormat, DSDVFormatInfo(), kFormatDefault)
          .Enum("Encoding", &F::GetEncoding, &F::SetEncoding, DSDVEncodingInfo(), kEncodingDefault)
          .Enum("Resolution", &F::GetResolution, &F::SetResolution, DSDVOutResolutionInfo(), kResolutionDefault)
          .Property("UseCurrent", &F::GetUseCurrent, &F::SetUseCurrent, kUseCurrentDefault)
          .Build();
  return info;
}

void TFCDVFormat::SetFormat(TFCDSDVFormat v) {
  CheckEnumOrdinal(*this, "Format", DSDVFormatInfo(), v);
  Store(format_, v);
}

void TFCDVFormat::SetEncoding(TFCDSDVEncoding v) {
  CheckEnumOrdinal(*this, "Encoding", DSDVEncodingInfo(), v);
  Store(encoding_, v);
}

void TFCDVFormat::SetResolution(TFCDSDVOutResolution v) {
  CheckEnumOrdinal(*this, "Resolution", DSDVOutResolutionInfo(), v);
  Store(resolution_, v);
}

media::TDSDVEncoderSettings TFCDVFormat::EncoderSettings() const {
  auto section = Lock().ReadLock();
  return {kFormatValues[format_], kEncodingValues[encoding_], kResolutionValues[resolution_]};
}

void TFCDVFormat::ReadFromEncoder(const media::TDSDVEncoderSettings& settings) {
  auto section = Lock().WriteLock();
  if (auto ordinal = OrdinalOf(kFormatValues, settings.videoFormat)) format_ = static_cast<TFCDSDVFormat>(*ordinal);
  if (auto ordinal = OrdinalOf(kEncodingValues, settings.encoding)) encoding_ = static_cast<TFCDSDVEncoding>(*ordinal);
  if (auto ordinal = OrdinalOf(kResolutionValues, settings.resolution))
    resolution_ = static_cast<TFCDSDVOutResolution>(*ordinal);
}

}  // namespace fc
