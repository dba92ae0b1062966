// media_status.h - what a call of a media layer answers.
#pragma once

#include <string>

#include "platform/runtime/components_api.h"

namespace fc::media {

/// 0 (or a positive count) on success, else FFmpeg's negative error code
/// with a short account of what failed ("avcodec_open2 wmv2: Invalid
/// argument"). Components report `code` with the message their definition
/// gives (see ffmpeg_error.h for FFmpegErrorCode).
struct FC_COMPONENTS_API TMediaStatus {
  int code = 0;
  std::string detail;

  explicit operator bool() const { return code >= 0; }
  static TMediaStatus Failure(int code, std::string detail) { return {code < 0 ? code : -1, std::move(detail)}; }
};

/// FFmpeg's code for a system error number (its AVERROR of it).
inline int SystemErrorCode(int errorNumber) { return -errorNumber; }

}  // namespace fc::media
