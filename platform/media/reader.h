// reader.h - a media reader: opens a file or network URL on a thread of its
// own, decodes its first video and first audio stream, and delivers 24-bit
// frames and 16-bit PCM to a callback, paced in real time or by a clock the
// user provides.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/media/reader_types.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

/// The reader's pacing and buffering controls.
class FC_COMPONENTS_API IReaderAdvanced {
public:
  /// With a user-provided clock, samples go out only as far as DeliverTime
  /// allows; without one the reader delivers in real time. May change while
  /// playing.
  virtual int SetUserProvidedClock(bool on) = 0;
  /// Lets the reader decode and deliver, in order, every sample whose
  /// presentation time is at most `time` (100-ns units). Returns at once;
  /// delivery happens on the reader thread. A time below an earlier one
  /// changes nothing.
  virtual int DeliverTime(std::int64_t time) = 0;
  /// Buffering of a network source: percent done and the media time
  /// buffered so far (100-ns units). False for a local file, and before
  /// the open completed.
  ///
  /// A network source reads ahead before it plays (between rsBufferingStarted
  /// and rsBufferingStopped): half a second of media by the times of the
  /// packets read, or 8 MiB, whichever comes first. The percent is the
  /// larger of the two fractions; it only grows, stays below 100 while
  /// filling and is 100 once buffering stopped (also when the source ended
  /// before the target was reached). Real-time pacing counts from the end
  /// of buffering, so the read-ahead absorbs the network's jitter.
  virtual bool GetBufferProgress(std::uint32_t& percent, std::int64_t& bufferingTime) = 0;

protected:
  ~IReaderAdvanced() = default;
};

/// A reader of one file or URL at a time (anything FFmpeg opens: local
/// files, http, https, rtsp, udp ...).
///
/// Calls return 0 or a negative FFmpeg error code. Open returns at once and
/// completes on the reader thread, which reports rsOpened (or rsError, with
/// the code) to the callback; every sample and status after that comes from
/// the same thread. Outputs are the streams of the source, numbered from 0:
/// the first video stream with a decoder delivers frames converted to 24-bit
/// blue-green-red, the first audio stream with a decoder interleaved 16-bit
/// PCM at its own rate and channels; the others are listed but not
/// delivered. Time stamps count from the start of the source.
///
/// Sources over TLS (https ...) are encrypted, but the server's certificate
/// is not verified: a server with a self-signed certificate plays. Network
/// sources buffer before they play (see GetBufferProgress).
///
/// `timeout` bounds the open and every read: one that does not complete in
/// time is abandoned (rsError with AVERROR(ETIMEDOUT)). Stop and Close end
/// any wait of the reader thread at once, return when it has left its
/// current step, and must not be called from the callback.
class FC_COMPONENTS_API TReader final : public IReaderAdvanced {
public:
  /// Makes a closed reader; 0, or a negative code when it cannot be made.
  static int Create(std::unique_ptr<TReader>& reader);
  ~TReader();
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  /// The advanced interface (this reader).
  int QueryAdvanced(IReaderAdvanced*& advanced);

  /// Starts opening `url` (a file path or URL). A timeout of zero or less
  /// waits without limit. Fails when the reader is open or the URL is empty.
  int Open(const std::string& url, IReaderCallback& callback, std::chrono::milliseconds timeout);
  /// Outputs of the opened source (0 before rsOpened).
  int GetOutputCount(int& count) const;
  int GetOutputProps(int output, TOutputProps& props) const;
  /// The source's descriptive tags ("title", "artist", "comment" ...), in
  /// the source's order.
  std::vector<std::pair<std::string, std::string>> MetaData() const;

  /// Plays from `start` (100-ns units) for `duration` (0: to the end) at
  /// `rate` (only 1.0 is supported). Reports rsStarted, then delivers.
  int Start(std::int64_t start, std::int64_t duration, double rate);
  /// Holds delivery; the reader thread waits.
  int Pause();
  int Resume();
  /// Ends playing and waits for the reader thread to leave it (rsStopped);
  /// a new Start plays from the start time again.
  int Stop();
  /// Ends everything, waits for the reader thread (rsClosed when the open
  /// had completed) and releases the source. The reader may open again.
  int Close();

  int SetUserProvidedClock(bool on) override;
  int DeliverTime(std::int64_t time) override;
  bool GetBufferProgress(std::uint32_t& percent, std::int64_t& bufferingTime) override;

  struct TState;

private:
  TReader();
  std::unique_ptr<TState> state_;
};

}  // namespace fc::media
