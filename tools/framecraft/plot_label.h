// plot_label.h - numbers written into pictures with a small built-in font.
#pragma once

#include <string_view>

#include "contracts/video/image_buffer.h"

namespace fc::tool {

/// A grey level of a picture (0 black, 255 white).
using TPlotShade = Ipp8u;

/// Sets pixel (x, y) of a grey frame whose pixels are `pixels` (from Write
/// or Modify); nothing happens outside the frame.
void PutPixel(const TFCImageBuffer& frame, Ipp8u* pixels, int x, int y, TPlotShade shade);

/// Glyphs are 5 x 7 pixels, one column apart.
inline constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;

/// The width in pixels of `text`.
inline int LabelWidth(std::string_view text) { return static_cast<int>(text.size()) * kGlyphAdvance - 1; }

/// Writes `text` with its top-left corner at (x, y) into a grey frame.
/// Knows digits, '-', '+', '.', 'e' (what
/// printf writes for numbers); other characters leave a gap. Pixels outside
/// the frame are skipped.
void DrawLabel(TFCImageBuffer& frame, int x, int y, std::string_view text, TPlotShade shade);

}  // namespace fc::tool
