// log.h - the library's log: one place where components, primitives' callers
// and media layers report what went wrong while streaming.
#pragma once

#include <functional>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc {

/// How much the log shows. Quiet shows nothing; Warning shows failures that
/// cost frames; Debug also shows details meant for whoever chases a fault.
enum class TFCLogLevel { Quiet, Warning, Debug };

/// The level in force: the one set with SetLogLevel, else the environment
/// variable FRAMECRAFT_LOG ("warning" or "debug"; anything else is quiet),
/// read at the first call.
FC_COMPONENTS_API TFCLogLevel LogLevel();
FC_COMPONENTS_API void SetLogLevel(TFCLogLevel level);

/// Receives each message the level lets through. The default handler writes
/// "framecraft: warning: <text>" (or "debug:") and a new line to stderr.
using TFCLogHandler = std::function<void(TFCLogLevel level, std::string_view text)>;
/// Replaces the handler (an empty one restores the default); returns the
/// previous one, so a test or a tool can restore it.
FC_COMPONENTS_API TFCLogHandler SetLogHandler(TFCLogHandler handler);

/// Passes `text` to the handler when `level` is at or below the level in
/// force. Thread-safe: messages from several threads never interleave.
FC_COMPONENTS_API void Log(TFCLogLevel level, std::string_view text);
inline void LogWarning(std::string_view text) { Log(TFCLogLevel::Warning, text); }
inline void LogDebug(std::string_view text) { Log(TFCLogLevel::Debug, text); }

}  // namespace fc
