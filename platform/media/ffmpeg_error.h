// ffmpeg_error.h - FFmpeg's error codes as the media layers report them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/components_api.h"

namespace fc::media {

/// FFmpeg's words for an error code (a negative AVERROR value), e.g.
/// "Connection refused"; "Unknown error <code>" when FFmpeg has none.
FC_COMPONENTS_API std::string FFmpegErrorText(int code);

/// The code as components pass it on in their error events: FFmpeg's
/// (negative) code reinterpreted as an unsigned 32-bit number.
inline std::uint32_t FFmpegErrorCode(int code) { return static_cast<std::uint32_t>(code); }

}  // namespace fc::media
