#include "platform/media/ffmpeg_error.h"

extern "C" {
#include <libavutil/error.h>
}

namespace fc::media {

std::string FFmpegErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  if (av_strerror(code, text, sizeof text) < 0) return "Unknown error " + std::to_string(code);
  return text;
}

}  // namespace fc::media
