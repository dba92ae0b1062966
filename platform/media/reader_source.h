// reader_source.h - the opening half of the media reader: the source opened
// with a deadline and a way to abandon it, and credentials for a server
// that asks for them. Internal to platform/media.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/media/reader_types.h"

namespace fc::media {

/// Ends FFmpeg's blocking calls (open, read) early: when the owner abandons
/// them (`Abort`) or when the armed deadline passes. FFmpeg polls it through
/// the interrupt callback of the format context.
class TInterruptGate {
public:
  /// Sets a deadline `timeout` from now; zero or less sets none.
  void Arm(std::chrono::milliseconds timeout);
  void Disarm();
  void Abort(bool on) { abort_ = on; }
  bool Aborted() const { return abort_; }
  /// True when the last armed deadline passed while armed.
  bool TimedOut() const { return timedOut_; }
  AVIOInterruptCB Callback() { return {&TInterruptGate::Check, this}; }

private:
  static int Check(void* gate);

  std::atomic<bool> abort_{false};
  std::atomic<std::int64_t> deadline_{0};  // steady-clock nanoseconds; 0: none
  std::atomic<bool> timedOut_{false};
};

/// True for a URL whose protocol reaches a network (anything but a plain
/// path or file:).
bool IsNetworkUrl(std::string_view url);

/// `url` with "user:password@" in its authority, both percent-encoded.
std::string UrlWithCredentials(std::string_view url, std::string_view user, std::string_view password);

/// Opens `url` and reads its stream information, each step bounded by
/// `timeout` through `gate`. When the server answers that it needs
/// credentials, asks `callback` once and retries with them. 0 and the
/// context, or a negative code: AVERROR(ETIMEDOUT) when the deadline
/// passed, AVERROR_EXIT when the gate was aborted.
int OpenSource(const std::string& url, TInterruptGate& gate, std::chrono::milliseconds timeout,
               IReaderCallback& callback, AVFormatContext*& context);

/// Reads the next packet, bounded by `timeout` through `gate`; the codes as
/// OpenSource.
int ReadPacket(AVFormatContext& context, AVPacket& packet, TInterruptGate& gate, std::chrono::milliseconds timeout);

}  // namespace fc::media
