// color_value.h - colour values of published properties.
#pragma once

#include <cstdint>
#include <string>

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A colour as published: 0x00BBGGRR, so in memory its bytes are red, green,
/// blue, 0.
using TColor = std::int32_t;
inline constexpr const char* kColorTypeName = "TColor";

/// The first three bytes of a colour in memory order: red, green, blue.
struct FC_COMPONENTS_API TColorBytes {
  Ipp8u bytes[3];
};
inline TColorBytes ColorBytes(TColor color) {
  const auto value = static_cast<std::uint32_t>(color);
  return {{static_cast<Ipp8u>(value), static_cast<Ipp8u>(value >> 8), static_cast<Ipp8u>(value >> 16)}};
}

/// The name of a colour as designers show it: the identifier of one of the
/// sixteen basic colours ("clGreen" for 0x008000), otherwise "$" and the
/// value in eight hexadecimal digits ("$00123456").
FC_COMPONENTS_API std::string ColorToString(TColor color);

}  // namespace fc
