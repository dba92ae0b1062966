// time_stamps.h - when a buffer of a stream (a frame, a block of audio) is
// due, in 100-nanosecond units from the start of its stream.
#pragma once

#include <cstdint>

#include "platform/runtime/components_api.h"

namespace fc {

/// Ticks of 100 ns in one second.
inline constexpr std::int64_t kTimeUnitsPerSecond = 10'000'000;

/// Begin and end time of a buffer, in 100-ns units. `available` is false
/// when the producer gave no times (the values are then meaningless).
struct FC_COMPONENTS_API TPMTimeStamps {
  std::int64_t begin = 0;
  std::int64_t end = 0;
  bool available = false;

  bool operator==(const TPMTimeStamps&) const = default;
};

}  // namespace fc
