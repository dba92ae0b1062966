// ffmpeg_log.h - FFmpeg's own log output routed into the library's log.
#pragma once

#include "platform/runtime/components_api.h"

namespace fc::media {

/// Routes everything FFmpeg logs (up to its informational level) into fc::Log
/// at the Debug level, so it is quiet by default and FRAMECRAFT_LOG=debug
/// shows it. Idempotent and thread-safe; every media layer calls it before
/// its first FFmpeg call.
FC_COMPONENTS_API void RouteFFmpegLog();

}  // namespace fc::media
