// reader_preroll.cpp - the read-ahead buffer of network sources.
#include "platform/media/reader_preroll.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>

#include "contracts/pins/time_stamps.h"

namespace fc::media {

TPreroll::~TPreroll() {
  for (AVPacket* packet : packets_) av_packet_free(&packet);
}

bool TPreroll::Hold(AVPacket& packet, AVRational timeBase) {
  AVPacket* held = av_packet_alloc();
  if (!held) return false;
  av_packet_move_ref(held, &packet);
  packets_.push_back(held);
  bytes_ += static_cast<std::size_t>(std::max(held->size, 0));
  const std::int64_t start = held->pts != AV_NOPTS_VALUE ? held->pts : held->dts;
  if (start != AV_NOPTS_VALUE) {
    const AVRational units{1, static_cast<int>(kTimeUnitsPerSecond)};
    earliest_ = std::min(earliest_, av_rescale_q(start, timeBase, units));
    latest_ = std::max(latest_, av_rescale_q(start + std::max<std::int64_t>(held->duration, 0), timeBase, units));
  }
  return true;
}

std::int64_t TPreroll::BufferedTime() const { return latest_ > earliest_ ? latest_ - earliest_ : 0; }

bool TPreroll::Full() const { return BufferedTime() >= kTargetTime || bytes_ >= kTargetBytes; }

std::uint32_t TPreroll::Percent() const {
  if (Full()) return 100;
  const auto byTime = static_cast<std::uint32_t>(BufferedTime() * 100 / kTargetTime);
  const auto byBytes = static_cast<std::uint32_t>(bytes_ * 100 / kTargetBytes);
  return std::min<std::uint32_t>(std::max(byTime, byBytes), 99);
}

bool TPreroll::Next(AVPacket& packet) {
  if (packets_.empty()) return false;
  AVPacket* oldest = packets_.front();
  packets_.pop_front();
  av_packet_move_ref(&packet, oldest);
  av_packet_free(&oldest);
  return true;
}

}  // namespace fc::media
