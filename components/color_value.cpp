#include "components/color_value.h"

#include <cstdio>

namespace fc {

std::string ColorToString(TColor color) {
  struct TNamedColor {
    TColor value;
    const char* name;
  };
  static constexpr TNamedColor kNames[] = {
      {0x000000, "clBlack"},  {0x000080, "clMaroon"}, {0x008000, "clGreen"},  {0x008080, "clOlive"},
      {0x800000, "clNavy"},   {0x800080, "clPurple"}, {0x808000, "clTeal"},   {0x808080, "clGray"},
      {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"},    {0x00FF00, "clLime"},   {0x00FFFF, "clYellow"},
      {0xFF0000, "clBlue"},   {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},  {0xFFFFFF, "clWhite"},
  };
  for (const TNamedColor& named : kNames)
    if (named.value == color) return named.name;
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return text;
}

}  // namespace fc
