#include "platform/runtime/resource_budget.h"

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/runtime/error.h"

namespace fc {

namespace {

std::atomic<std::uint64_t>& BudgetSetByCaller() {
  static std::atomic<std::uint64_t> bytes{0};
  return bytes;
}

std::uint64_t BudgetFromEnvironment() {
  static const std::uint64_t bytes = [] {
    const char* text = std::getenv("FRAMECRAFT_MAX_FRAME_BYTES");
    return text ? ParseBufferBytes(text).value_or(kDefaultMaxBufferBytes) : kDefaultMaxBufferBytes;
  }();
  return bytes;
}

std::string BudgetText() {
  return std::to_string(kMaxFrameSide) + " x " + std::to_string(kMaxFrameSide) + " pixels and " +
         std::to_string(MaxBufferBytes()) + " bytes per buffer";
}

}  // namespace

std::uint64_t MaxBufferBytes() {
  const std::uint64_t set = BudgetSetByCaller().load(std::memory_order_relaxed);
  return set ? set : BudgetFromEnvironment();
}

void SetMaxBufferBytes(std::uint64_t bytes) { BudgetSetByCaller().store(bytes, std::memory_order_relaxed); }

std::optional<std::uint64_t> ParseBufferBytes(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
  return value;
}

bool WithinBufferBudget(std::uint64_t bytes) { return bytes <= MaxBufferBytes(); }

bool WithinFrameBudget(std::int64_t width, std::int64_t height, int bytesPerPixel) {
  if (width < 0 || height < 0 || width > kMaxFrameSide || height > kMaxFrameSide || bytesPerPixel < 0) return false;
  return WithinBufferBudget(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
                            static_cast<std::uint64_t>(bytesPerPixel));
}

void CheckFrameSide(std::string_view owner, std::string_view property, std::int64_t side) {
  if (side < 0 || side > kMaxFrameSide)
    throw EFCError::ForProperty(owner, property,
                                std::to_string(side) + " lies outside the frame budget of " + BudgetText());
}

void CheckFrameBudget(std::string_view owner, std::string_view property, std::int64_t width, std::int64_t height,
                      int bytesPerPixel) {
  if (!WithinFrameBudget(width, height, bytesPerPixel))
    throw EFCError::ForProperty(owner, property,
                                std::to_string(width) + " x " + std::to_string(height) +
                                    " exceeds the frame budget of " + BudgetText());
}

void CheckBufferBudget(std::string_view owner, std::string_view property, std::uint64_t bytes) {
  if (!WithinBufferBudget(bytes))
    throw EFCError::ForProperty(owner, property,
                                "needs a buffer of " + std::to_string(bytes) + " bytes, above the budget of " +
                                    BudgetText());
}

}  // namespace fc
