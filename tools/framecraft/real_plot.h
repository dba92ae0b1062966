// real_plot.h - draws a block of real values as a picture.
#pragma once

#include "tools/framecraft/plot_label.h"

namespace fc::tool {

/// Blocks of up to this many values are drawn as bars, longer ones as a line.
inline constexpr int kMaxBarValues = 1024;

/// Plot geometry: the values are drawn in a kPlotWidth x kPlotHeight area
/// whose top-left pixel is (kPlotLeft, kPlotTop) in a kImageWidth x
/// kImageHeight picture, with the axes just outside it.
inline constexpr int kPlotLeft = 80, kPlotTop = 14;
inline constexpr int kPlotWidth = kMaxBarValues, kPlotHeight = 376;
inline constexpr int kImageWidth = kPlotLeft + kPlotWidth + 16;
inline constexpr int kImageHeight = kPlotTop + kPlotHeight + 30;

/// Shades of the picture: grey pictures write three times faster than
/// coloured ones, which counts when every block of a stream is drawn.
inline constexpr TPlotShade kPlotBackground = 255, kPlotInk = 0, kPlotData = 110;

/// A grey frame showing `count` values: bar i spans columns
/// kPlotLeft + i * kPlotWidth / count to the next bar's start, from the zero
/// line (or the nearer end of the range) to the value; a line joins the
/// values of longer blocks. The vertical range spans the finite values (and
/// 0 for bars); its ends are written beside the vertical axis, the first and
/// last index under the horizontal one. Values that are not finite are left
/// out.
TFCImageBuffer PlotValues(const double* values, int count);

}  // namespace fc::tool
