// plugin_frames.h - frames brought into the layout an effect plug-in reads
// (bottom row first, three or four bytes per pixel, padded to the size of
// its instance) and back.
#pragma once

#include "contracts/video/image_buffer.h"
#include "dispatch/Fcimagedefs.h"

namespace fc {

/// `frame` (three-byte) placed at the origin of a frame of `size`, the rest
/// black, rows in reverse order, in vfRGB32 when `use32` (fourth byte 0)
/// else vfRGB24. `size` must hold the frame. Returns the status of the
/// first helper primitive that failed, else ippStsNoErr.
IppStatus ToPluginLayout(const TFCImageBuffer& frame, IppiSize size, bool use32, TFCImageBuffer& out);

/// The reverse: `work` (vfRGB24 or vfRGB32, bottom row first) as a
/// three-byte frame, top row first, in `out`. `work` is changed on the way.
IppStatus FromPluginLayout(TFCImageBuffer& work, TFCImageBuffer& out);

/// `frame` as a three-byte frame: itself when it is one, else a converted
/// copy.
TFCImageBuffer AsRGB24(const TFCImageBuffer& frame);

}  // namespace fc
