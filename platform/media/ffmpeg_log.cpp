#include "platform/media/ffmpeg_log.h"

#include <cstdarg>
#include <mutex>
#include <string_view>

extern "C" {
#include <libavutil/log.h>
}

#include "platform/runtime/log.h"

namespace fc::media {
namespace {

void ForwardLine(void* context, int level, const char* format, va_list arguments) {
  if (level > AV_LOG_INFO) return;
  // FFmpeg may split a line over several calls; the prefix state follows the
  // thread that writes it.
  thread_local int printPrefix = 1;
  char line[1024];
  av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
  std::string_view text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  if (!text.empty()) LogDebug(text);
}

}  // namespace

void RouteFFmpegLog() {
  static std::once_flag routed;
  std::call_once(routed, [] { av_log_set_callback(ForwardLine); });
}

}  // namespace fc::media
