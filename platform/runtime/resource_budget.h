// resource_budget.h - the one memory budget for frames and work buffers,
// checked before anything is allocated, so a hostile size ends as an error
// naming the component and property instead of an exhausted machine.
//
// The budget: no frame side above kMaxFrameSide (16384) pixels, and no single
// buffer (a frame, a filter's bordered source, a work buffer) above
// MaxBufferBytes(), 1 GiB unless FRAMECRAFT_MAX_FRAME_BYTES or the tool's
// --max-frame-bytes says otherwise.
//
//   CheckFrameSide(NamePath(), "Width", v);                       // in a setter
//   CheckBufferBudget(NamePath(), "MaskSize", BorderedBytes(...)); // before a resize
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc {

inline constexpr std::int64_t kMaxFrameSide = 16384;
inline constexpr std::uint64_t kDefaultMaxBufferBytes = std::uint64_t{1} << 30;

/// The largest buffer allowed, in bytes: the value of SetMaxBufferBytes, else
/// FRAMECRAFT_MAX_FRAME_BYTES when it holds a positive decimal number, else
/// kDefaultMaxBufferBytes.
FC_COMPONENTS_API std::uint64_t MaxBufferBytes();
/// Sets the budget for the process; 0 returns to the environment or default.
FC_COMPONENTS_API void SetMaxBufferBytes(std::uint64_t bytes);
/// A positive decimal byte count, or nothing.
FC_COMPONENTS_API std::optional<std::uint64_t> ParseBufferBytes(std::string_view text);

/// True when `bytes` fits the budget.
FC_COMPONENTS_API bool WithinBufferBudget(std::uint64_t bytes);
/// True when each side lies in 0..kMaxFrameSide and width x height x
/// bytesPerPixel fits the budget.
FC_COMPONENTS_API bool WithinFrameBudget(std::int64_t width, std::int64_t height, int bytesPerPixel);

/// EFCError "<owner>.<property>: ..." unless 0 <= side <= kMaxFrameSide.
FC_COMPONENTS_API void CheckFrameSide(std::string_view owner, std::string_view property, std::int64_t side);
/// EFCError "<owner>.<property>: ..." unless WithinFrameBudget.
FC_COMPONENTS_API void CheckFrameBudget(std::string_view owner, std::string_view property, std::int64_t width, std::int64_t height,
                      int bytesPerPixel);
/// EFCError "<owner>.<property>: ..." unless WithinBufferBudget.
FC_COMPONENTS_API void CheckBufferBudget(std::string_view owner, std::string_view property, std::uint64_t bytes);

}  // namespace fc
