// color_mode_conversion.h - how a frame's pixels become the three channels of
// a colour mode, for the components that work per channel (splitters,
// histograms, colour-to-data converters).
#pragma once

#include <string_view>

#include "contracts/video/color_mode.h"
#include "contracts/video/image_buffer.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// How a grey frame gives channel `channel` (0 to 2) in the modes that take
/// grey frames as they are (cmRGB to cmYUV): the grey values themselves, all
/// zero, or the neutral chroma value 128.
enum TFCGreyChannel { gcGrey, gcZero, gcNeutral };
FC_COMPONENTS_API TFCGreyChannel GreyChannelOf(TFCColorMode mode, int channel);

/// Whether a grey frame must first become a grey colour frame to give
/// meaningful channels in `mode` (cmLUV to cmLab); the other modes take grey
/// frames by GreyChannelOf.
FC_COMPONENTS_API bool GreyNeedsColorFrame(TFCColorMode mode);

/// Converts a three-byte (vfRGB24) blue-green-red frame into the channels of `mode`:
/// `out` becomes a frame of the same size whose bytes 0, 1, 2 of each pixel
/// are the mode's channels in order (red, green, blue for cmRGB). Except for
/// cmLab, whose conversion takes blue-green-red order, the channels are first
/// swapped to red-green-blue, in `work`. Both frames are reused from call to
/// call when they keep their size and nobody else holds them. Returns the
/// status of the first primitive that failed, and its name in `failedEntry`
/// when given (out is then unspecified); ippStsNoErr otherwise.
FC_COMPONENTS_API IppStatus ConvertToColorMode(const TFCImageBuffer& bgr, TFCColorMode mode, TFCImageBuffer& work,
                             TFCImageBuffer& out, std::string_view* failedEntry = nullptr);

/// The inverse: `channels` holds the channels of `mode` in bytes 0, 1, 2 of
/// each pixel; `bgr` becomes the three-byte blue-green-red frame of the same
/// size they describe (the mode's inverse conversion, then, except for
/// cmLab, the swap back from red-green-blue). Returns the status of the
/// first primitive that failed, and its name in `failedEntry` when given
/// (bgr is then unspecified); ippStsNoErr otherwise.
FC_COMPONENTS_API IppStatus ConvertFromColorMode(const TFCImageBuffer& channels, TFCColorMode mode, TFCImageBuffer& bgr,
                               std::string_view* failedEntry = nullptr);

}  // namespace fc
