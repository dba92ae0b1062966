// reader_preroll.h - what the media reader reads ahead of a network source
// before it plays: its buffering, and the progress figure reported for it.
// Internal to platform/media.
#pragma once

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/rational.h>
}

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>

namespace fc::media {

/// Packets held before playing starts. The buffer is full when the packets
/// span kTargetTime of media (from the earliest start to the latest end of
/// any packet held), or hold kTargetBytes, whichever comes first; the
/// progress is the larger of the two fractions. A source that ends before
/// either is reached is played as far as it goes.
class TPreroll {
public:
  /// Media time read ahead, 100-ns units: half a second absorbs the jitter
  /// of a network without delaying the start much.
  static constexpr std::int64_t kTargetTime = 5'000'000;
  /// Bytes read ahead at most, for streams whose packets carry no times.
  static constexpr std::size_t kTargetBytes = std::size_t{8} << 20;

  TPreroll() = default;
  ~TPreroll();
  TPreroll(const TPreroll&) = delete;
  TPreroll& operator=(const TPreroll&) = delete;

  /// Takes over the data of `packet` (left blank), whose times are in
  /// `timeBase`. False when no memory was left for it.
  bool Hold(AVPacket& packet, AVRational timeBase);
  bool Full() const;
  /// 0 to 99 while filling, 100 once full.
  std::uint32_t Percent() const;
  /// The media time held so far, 100-ns units.
  std::int64_t BufferedTime() const;
  /// Moves the oldest packet held into `packet`; false when none is left.
  bool Next(AVPacket& packet);

private:
  std::deque<AVPacket*> packets_;
  std::int64_t earliest_ = std::numeric_limits<std::int64_t>::max();
  std::int64_t latest_ = std::numeric_limits<std::int64_t>::min();
  std::size_t bytes_ = 0;
};

}  // namespace fc::media
