#include "platform/signal/clock_generator.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "platform/runtime/error.h"

namespace fc {

namespace {

// Longest period accepted: a day, far beyond any stream rate, and small
// enough that the conversion to nanoseconds cannot overflow.
constexpr double kMaxPeriodMs = 24.0 * 3600.0 * 1000.0;

double CheckedPeriod(double periodMs) {
  if (!std::isfinite(periodMs) || periodMs <= 0 || periodMs > kMaxPeriodMs)
    throw EFCError("clock generator: period " + std::to_string(periodMs) +
                   " ms is not between 0 (exclusive) and one day");
  return periodMs;
}

}  // namespace

TWCClockGenItem::TWCClockGenItem(double periodMs, std::function<void()> handler)
    : periodMs_(CheckedPeriod(periodMs)), thread_(std::move(handler)) {
  const auto period = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::duration<double, std::milli>(periodMs_));
  thread_.Start(std::max(period, std::chrono::nanoseconds(1)));
}

}  // namespace fc
