#include "platform/runtime/log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace fc {

namespace {

TFCLogLevel LevelFromEnvironment() {
  const char* value = std::getenv("FRAMECRAFT_LOG");
  const std::string text = value ? value : "";
  if (text == "debug") return TFCLogLevel::Debug;
  if (text == "warning") return TFCLogLevel::Warning;
  return TFCLogLevel::Quiet;
}

std::atomic<TFCLogLevel>& LevelInForce() {
  static std::atomic<TFCLogLevel> level{LevelFromEnvironment()};
  return level;
}

void WriteToStderr(TFCLogLevel level, std::string_view text) {
  const char* tag = level == TFCLogLevel::Debug ? "debug" : "warning";
  std::fprintf(stderr, "framecraft: %s: %.*s\n", tag, static_cast<int>(text.size()), text.data());
}

struct THandlerSlot {
  std::mutex mutex;  // also keeps messages from interleaving
  TFCLogHandler handler = WriteToStderr;
};

THandlerSlot& Slot() {
  static THandlerSlot slot;
  return slot;
}

}  // namespace

TFCLogLevel LogLevel() { return LevelInForce().load(std::memory_order_relaxed); }

void SetLogLevel(TFCLogLevel level) { LevelInForce().store(level, std::memory_order_relaxed); }

TFCLogHandler SetLogHandler(TFCLogHandler handler) {
  THandlerSlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  TFCLogHandler previous = std::move(slot.handler);
  slot.handler = handler ? std::move(handler) : TFCLogHandler(WriteToStderr);
  return previous;
}

void Log(TFCLogLevel level, std::string_view text) {
  if (level == TFCLogLevel::Quiet || static_cast<int>(level) > static_cast<int>(LogLevel())) return;
  THandlerSlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  slot.handler(level, text);
}

}  // namespace fc
