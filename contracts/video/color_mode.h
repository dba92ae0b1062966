// color_mode.h - the colour spaces that splitters, mergers, histograms and
// colour-to-data converters work in, and the names of their three channels.
#pragma once

#include <array>
#include <string_view>

#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

enum TFCColorMode { cmRGB, cmHLS, cmHSV, cmYUV, cmLUV, cmXYZ, cmYCbCr, cmYCC, cmLab };

/// The identifiers of TFCColorMode, for published properties.
FC_COMPONENTS_API const TEnumInfo& ColorModeInfo();

/// The names of the three channel pins in `mode`, in channel order ("Red",
/// "Green", "Blu" for cmRGB ...); the cmRGB names for a value outside the
/// enumeration.
FC_COMPONENTS_API std::array<std::string_view, 3> ColorModeChannelNames(TFCColorMode mode);

}  // namespace fc
