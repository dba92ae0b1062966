#include "tools/framecraft/plot_label.h"

#include <array>
#include <cstdint>

namespace fc::tool {

namespace {

// Rows of a glyph, top first; bit 4 is the leftmost pixel.
using TGlyph = std::array<std::uint8_t, kGlyphHeight>;

const TGlyph* GlyphOf(char c) {
  static constexpr TGlyph kDigits[10] = {
      {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
      {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
      {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
      {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
      {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
  };
  static constexpr TGlyph kMinus{0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00};
  static constexpr TGlyph kPlus{0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00};
  static constexpr TGlyph kPoint{0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C};
  static constexpr TGlyph kE{0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E};
  if (c >= '0' && c <= '9') return &kDigits[c - '0'];
  switch (c) {
    case '-': return &kMinus;
    case '+': return &kPlus;
    case '.': return &kPoint;
    case 'e': return &kE;
    default: return nullptr;
  }
}

}  // namespace

void PutPixel(const TFCImageBuffer& frame, Ipp8u* pixels, int x, int y, TPlotShade shade) {
  if (x < 0 || y < 0 || x >= frame.Width() || y >= frame.Height()) return;
  pixels[std::size_t{1} * y * frame.Step() + static_cast<std::size_t>(x)] = shade;
}

void DrawLabel(TFCImageBuffer& frame, int x, int y, std::string_view text, TPlotShade shade) {
  Ipp8u* pixels = frame.Modify();
  for (char c : text) {
    if (const TGlyph* glyph = GlyphOf(c)) {
      for (int row = 0; row < kGlyphHeight; ++row) {
        for (int column = 0; column < kGlyphWidth; ++column)
          if ((*glyph)[static_cast<std::size_t>(row)] & (0x10 >> column))
            PutPixel(frame, pixels, x + column, y + row, shade);
      }
    }
    x += kGlyphAdvance;
  }
}

}  // namespace fc::tool
