// FFmpeg's log and error codes as the media layers pass them on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include "platform/media/ffmpeg_error.h"
#include "platform/media/ffmpeg_log.h"
#include "platform/runtime/log.h"

namespace fc::media {
namespace {

TEST(FFmpegLog, LinesReachOurLogAtDebugOnlyAndWithoutTheirNewLine) {
  RouteFFmpegLog();
  RouteFFmpegLog();  // a second call changes nothing
  std::vector<std::string> lines;
  const TFCLogLevel previousLevel = LogLevel();
  TFCLogHandler previous = SetLogHandler([&](TFCLogLevel, std::string_view text) { lines.emplace_back(text); });

  SetLogLevel(TFCLogLevel::Warning);
  av_log(nullptr, AV_LOG_ERROR, "hidden below debug\n");
  EXPECT_TRUE(lines.empty());

  SetLogLevel(TFCLogLevel::Debug);
  av_log(nullptr, AV_LOG_ERROR, "decoder said %d\n", 42);
  av_log(nullptr, AV_LOG_TRACE, "too chatty\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "decoder said 42");

  SetLogHandler(previous);
  SetLogLevel(previousLevel);
}

TEST(FFmpegError, CodesKeepTheirBitsAndHaveWords) {
  EXPECT_EQ(FFmpegErrorCode(AVERROR(ECONNREFUSED)), static_cast<std::uint32_t>(-ECONNREFUSED));
  EXPECT_EQ(FFmpegErrorText(AVERROR(ECONNREFUSED)), "Connection refused");
  EXPECT_EQ(FFmpegErrorText(AVERROR_EOF), "End of file");
}

}  // namespace
}  // namespace fc::media
