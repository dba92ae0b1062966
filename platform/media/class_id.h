// class_id.h - 16-byte class identifiers of video-effect objects and their
// registry text form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc {

struct FC_COMPONENTS_API TEffectClassId {
  std::array<std::uint8_t, 16> bytes{};

  /// The null identifier: every byte 0 (no effect).
  bool IsNull() const;
  bool operator==(const TEffectClassId&) const = default;

  /// Registry text form, upper-case hexadecimal digits in byte order.
  std::string ToString() const;
  /// Reads the registry text form (either case); nothing for other text.
  static std::optional<TEffectClassId> FromString(std::string_view text);
  /// The name-based identifier (version 5: SHA-1 of one fixed namespace of
  /// ours and `name`): the same name always gives the same identifier.
  static TEffectClassId FromName(std::string_view name);
};

}  // namespace fc
