// reader.cpp - the media reader's thread: open, play, pace, stop, close.
#include "platform/media/reader.h"

#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

#include "contracts/pins/time_stamps.h"
#include "platform/media/ffmpeg_log.h"
#include "platform/media/reader_decoder.h"
#include "platform/media/reader_preroll.h"
#include "platform/media/reader_source.h"

namespace fc::media {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr std::int64_t kNothingYet = std::numeric_limits<std::int64_t>::min();

SteadyClock::duration DurationOf(std::int64_t timeUnits) {
  return std::chrono::duration_cast<SteadyClock::duration>(std::chrono::nanoseconds(timeUnits * 100));
}

}  // namespace

struct TReader::TState {
  // Fixed while the reader thread runs.
  IReaderCallback* callback = nullptr;
  std::string url;
  std::chrono::milliseconds timeout{0};
  bool network = false;
  std::thread thread;
  TInterruptGate gate;

  // Guarded by mutex; wake is signalled on every change.
  std::mutex mutex;
  std::condition_variable wake;
  bool opened = false;
  bool closing = false;
  bool startRequested = false;
  bool stopRequested = false;
  bool playing = false;
  bool startedSinceStop = false;
  bool paused = false;
  bool userClock = false;
  std::int64_t deliverUntil = kNothingYet;
  std::int64_t startTime = 0;
  std::int64_t endTime = std::numeric_limits<std::int64_t>::max();
  std::int64_t lastTime = 0;             // of the last sample delivered
  SteadyClock::time_point origin;        // when startTime is due in real time
  SteadyClock::time_point pausedAt;
  bool buffering = false;
  std::uint32_t bufferPercent = 0;
  std::int64_t bufferedTime = 0;
  std::vector<TOutputProps> outputs;
  std::vector<std::pair<std::string, std::string>> metaData;

  // The reader thread's own.
  AVFormatContext* format = nullptr;
  std::unique_ptr<TStreamDecoder> video, audio;
  int videoIndex = -1, audioIndex = -1;
  bool playedBefore = false;
  bool pastEnd = false;  // a sample lay beyond the duration asked for

  void Report(TReaderStatus status, int result) { callback->OnStatus(status, result); }
  bool OnReaderThread() const { return std::this_thread::get_id() == thread.get_id(); }

  void Run();
  void Discover();
  void Serve();
  void Play();
  bool PlayPackets(AVPacket& packet);
  int Preroll(TPreroll& preroll, AVPacket& packet);
  void BufferingDone(const TPreroll& preroll);
  bool DrainDecoders();
  bool Decode(int index, const AVPacket* packet);
  bool Deliver(int output, std::int64_t time, std::int64_t duration, std::span<const std::uint8_t> data);
  bool WaitUntilDue(std::unique_lock<std::mutex>& lock, std::int64_t time);
  void Rewind();
  void Release();
};

// ---- The reader thread ----

void TReader::TState::Run() {
  if (network) Report(rsConnecting, 0);
  AVFormatContext* context = nullptr;
  const int code = OpenSource(url, gate, timeout, *callback, context);
  if (code < 0) {
    // An open abandoned by Close reports nothing.
    if (code != AVERROR_EXIT) Report(rsError, code);
    return;
  }
  format = context;
  Discover();
  Serve();
  Report(rsClosed, 0);
}

// Lists every stream as an output and opens the decoders of the first video
// and first audio stream that have one.
void TReader::TState::Discover() {
  std::vector<TOutputProps> found;
  std::vector<int> missing;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream& stream = *format->streams[i];
    TOutputProps props = UndecodedProps(stream);
    const bool picture = (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
    int* index = props.majorType == TMajorType::Video ? &videoIndex
                 : props.majorType == TMajorType::Audio ? &audioIndex
                                                        : nullptr;
    if (index && *index < 0 && !picture) {
      auto decoder = std::make_unique<TStreamDecoder>();
      const int code = decoder->Open(stream, format->start_time);
      if (code >= 0) {
        *index = static_cast<int>(i);
        props = decoder->Props();
        (props.majorType == TMajorType::Video ? video : audio) = std::move(decoder);
      } else if (code == AVERROR_DECODER_NOT_FOUND) {
        missing.push_back(code);
      }
    }
    found.push_back(props);
  }
  std::vector<std::pair<std::string, std::string>> tags;
  const AVDictionaryEntry* entry = nullptr;
  while ((entry = av_dict_get(format->metadata, "", entry, AV_DICT_IGNORE_SUFFIX)))
    tags.emplace_back(entry->key, entry->value);
  {
    std::lock_guard guard(mutex);
    outputs = std::move(found);
    metaData = tags;
    opened = true;
  }
  for (const int code : missing) Report(rsMissingCodec, code);
  if (!tags.empty()) Report(rsNewMetaData, 0);
  Report(rsOpened, 0);
}

// Waits for starts and stops until the reader closes.
void TReader::TState::Serve() {
  std::unique_lock lock(mutex);
  for (;;) {
    wake.wait(lock, [this] { return startRequested || stopRequested || closing; });
    if (closing) return;
    if (stopRequested) {
      stopRequested = false;
      gate.Abort(false);
      const bool report = startedSinceStop;
      startedSinceStop = false;
      wake.notify_all();
      if (report) {
        lock.unlock();
        Report(rsStopped, 0);
        lock.lock();
      }
      continue;
    }
    startRequested = false;
    playing = startedSinceStop = true;
    lock.unlock();
    Play();
    lock.lock();
    playing = false;
    wake.notify_all();
  }
}

void TReader::TState::Play() {
  if (playedBefore) Rewind();
  playedBefore = true;
  Report(rsStarted, 0);
  {
    std::lock_guard guard(mutex);
    origin = SteadyClock::now();
    buffering = network;
    bufferPercent = 0;
    bufferedTime = 0;
  }
  if (network) Report(rsBufferingStarted, 0);
  pastEnd = false;
  AVPacket* packet = av_packet_alloc();
  if (!packet) {
    Report(rsError, AVERROR(ENOMEM));
    return;
  }
  const bool ended = PlayPackets(*packet);
  av_packet_free(&packet);
  if (ended) Report(rsEndOfFile, 0);
}

// Reads, decodes and delivers until the end (true) or a stop, close or
// error (false). A network source first fills its read-ahead buffer.
bool TReader::TState::PlayPackets(AVPacket& packet) {
  TPreroll preroll;
  bool sourceEnded = false;
  if (network) {
    const int code = Preroll(preroll, packet);
    if (code == AVERROR_EXIT) return false;  // stopped or closed
    if (code < 0 && code != AVERROR_EOF) {
      Report(rsError, code);
      return false;
    }
    sourceEnded = code == AVERROR_EOF;
    BufferingDone(preroll);
  }
  for (;;) {
    const int code = preroll.Next(packet) ? 0 : sourceEnded ? AVERROR_EOF : ReadPacket(*format, packet, gate, timeout);
    if (code == AVERROR_EOF) {
      Report(rsEndOfStreaming, 0);
      return DrainDecoders();
    }
    if (code == AVERROR_EXIT) return false;  // stopped or closed
    if (code < 0) {
      Report(rsError, code);
      return false;
    }
    const bool going = Decode(packet.stream_index, &packet);
    av_packet_unref(&packet);
    if (pastEnd) {
      Report(rsEndOfStreaming, 0);
      return true;
    }
    if (!going) return false;
  }
}

// Reads packets of the decoded streams into `preroll` until it is full:
// 0, AVERROR_EOF when the source ended first, or the read's error.
int TReader::TState::Preroll(TPreroll& preroll, AVPacket& packet) {
  while (!preroll.Full()) {
    const int code = ReadPacket(*format, packet, gate, timeout);
    if (code < 0) return code;
    const int index = packet.stream_index;
    const bool decoded = index >= 0 && (index == videoIndex || index == audioIndex);
    if (decoded && !preroll.Hold(packet, format->streams[index]->time_base)) {
      av_packet_unref(&packet);
      return AVERROR(ENOMEM);
    }
    av_packet_unref(&packet);
    std::lock_guard guard(mutex);
    bufferPercent = preroll.Percent();
    bufferedTime = preroll.BufferedTime();
  }
  return 0;
}

// Buffering ends: real-time pacing counts from now.
void TReader::TState::BufferingDone(const TPreroll& preroll) {
  {
    std::lock_guard guard(mutex);
    buffering = false;
    bufferPercent = 100;
    bufferedTime = preroll.BufferedTime();
    origin = SteadyClock::now();
    if (paused) pausedAt = origin;
  }
  Report(rsBufferingStopped, 0);
}

bool TReader::TState::DrainDecoders() {
  return Decode(videoIndex, nullptr) && Decode(audioIndex, nullptr);
}

// Decodes one packet of stream `index` (null: drains it); false when
// delivery must end.
bool TReader::TState::Decode(int index, const AVPacket* packet) {
  if (index < 0 || (index != videoIndex && index != audioIndex)) return true;
  TStreamDecoder& decoder = index == videoIndex ? *video : *audio;
  bool going = true;
  const int code = decoder.Decode(packet, [&](std::int64_t time, std::int64_t duration, std::span<const std::uint8_t> data) {
    going = Deliver(index, time, duration, data);
    return going;
  });
  if (code < 0 && going) Report(rsError, code);
  return going && code >= 0;
}

bool TReader::TState::Deliver(int output, std::int64_t time, std::int64_t duration,
                              std::span<const std::uint8_t> data) {
  {
    std::unique_lock lock(mutex);
    if (time >= endTime) {
      pastEnd = true;
      return false;
    }
    if (!WaitUntilDue(lock, time)) return false;
    lastTime = time;
  }
  callback->OnSample(output, time, duration, data);
  return true;
}

// Holds the reader thread until a sample due at `time` may go out: in real
// time, or once DeliverTime reached it with a user-provided clock; never
// while paused. False when a stop or close ends the wait.
bool TReader::TState::WaitUntilDue(std::unique_lock<std::mutex>& lock, std::int64_t time) {
  for (;;) {
    if (stopRequested || closing) return false;
    if (paused) {
      wake.wait(lock);
    } else if (userClock) {
      if (time <= deliverUntil) return true;
      wake.wait(lock);
    } else {
      const SteadyClock::time_point due = origin + DurationOf(time - startTime);
      if (SteadyClock::now() >= due) return true;
      wake.wait_until(lock, due);
    }
  }
}

// Back to the start time for another play.
void TReader::TState::Rewind() {
  std::int64_t target;
  {
    std::lock_guard guard(mutex);
    target = av_rescale(startTime, AV_TIME_BASE, kTimeUnitsPerSecond);
  }
  if (format->start_time != AV_NOPTS_VALUE) target += format->start_time;
  avformat_seek_file(format, -1, std::numeric_limits<std::int64_t>::min(), target, target, 0);
  if (video) video->Flush();
  if (audio) audio->Flush();
}

void TReader::TState::Release() {
  video.reset();
  audio.reset();
  avformat_close_input(&format);
  videoIndex = audioIndex = -1;
  playedBefore = false;
}

// ---- The caller's side ----

TReader::TReader() : state_(std::make_unique<TState>()) {}

TReader::~TReader() { Close(); }

int TReader::Create(std::unique_ptr<TReader>& reader) {
  RouteFFmpegLog();
  reader.reset(new (std::nothrow) TReader());
  return reader ? 0 : AVERROR(ENOMEM);
}

int TReader::QueryAdvanced(IReaderAdvanced*& advanced) {
  advanced = this;
  return 0;
}

int TReader::Open(const std::string& url, IReaderCallback& callback, std::chrono::milliseconds timeout) {
  TState& s = *state_;
  if (url.empty()) return AVERROR(EINVAL);
  if (s.thread.joinable()) return AVERROR(EBUSY);
  s.callback = &callback;
  s.url = url;
  s.timeout = timeout;
  s.network = IsNetworkUrl(url);
  s.gate.Abort(false);
  try {
    s.thread = std::thread([&s] { s.Run(); });
  } catch (const std::system_error&) {
    return AVERROR(EAGAIN);
  }
  return 0;
}

int TReader::GetOutputCount(int& count) const {
  std::lock_guard guard(state_->mutex);
  count = static_cast<int>(state_->outputs.size());
  return 0;
}

int TReader::GetOutputProps(int output, TOutputProps& props) const {
  std::lock_guard guard(state_->mutex);
  if (output < 0 || output >= static_cast<int>(state_->outputs.size())) return AVERROR(EINVAL);
  props = state_->outputs[static_cast<std::size_t>(output)];
  return 0;
}

std::vector<std::pair<std::string, std::string>> TReader::MetaData() const {
  std::lock_guard guard(state_->mutex);
  return state_->metaData;
}

int TReader::Start(std::int64_t start, std::int64_t duration, double rate) {
  if (rate != 1.0 || start < 0 || duration < 0) return AVERROR(EINVAL);
  TState& s = *state_;
  if (s.OnReaderThread()) return AVERROR(EDEADLK);
  Stop();  // a start while playing plays from the start again
  std::lock_guard guard(s.mutex);
  if (!s.opened || s.closing) return AVERROR(EINVAL);
  s.startTime = start;
  s.endTime = duration > 0 ? start + duration : std::numeric_limits<std::int64_t>::max();
  s.deliverUntil = kNothingYet;
  s.paused = false;
  s.startRequested = true;
  s.wake.notify_all();
  return 0;
}

int TReader::Pause() {
  std::lock_guard guard(state_->mutex);
  if (!state_->paused) state_->pausedAt = SteadyClock::now();
  state_->paused = true;
  return 0;
}

int TReader::Resume() {
  TState& s = *state_;
  std::lock_guard guard(s.mutex);
  if (s.paused) s.origin += SteadyClock::now() - s.pausedAt;  // real time goes on from where it paused
  s.paused = false;
  s.wake.notify_all();
  return 0;
}

int TReader::Stop() {
  TState& s = *state_;
  if (s.OnReaderThread()) return AVERROR(EDEADLK);
  std::unique_lock lock(s.mutex);
  if (!s.thread.joinable() || (!s.startedSinceStop && !s.startRequested)) return 0;
  s.startRequested = false;
  s.stopRequested = true;
  s.gate.Abort(true);
  s.wake.notify_all();
  s.wake.wait(lock, [&s] { return !s.stopRequested || s.closing; });
  return 0;
}

int TReader::Close() {
  TState& s = *state_;
  if (s.OnReaderThread()) return AVERROR(EDEADLK);
  {
    std::lock_guard guard(s.mutex);
    s.closing = true;
    s.gate.Abort(true);
    s.wake.notify_all();
  }
  if (s.thread.joinable()) s.thread.join();
  s.Release();
  std::lock_guard guard(s.mutex);
  s.closing = s.opened = s.startRequested = s.stopRequested = s.startedSinceStop = s.paused = false;
  s.outputs.clear();
  s.metaData.clear();
  return 0;
}

int TReader::SetUserProvidedClock(bool on) {
  TState& s = *state_;
  std::lock_guard guard(s.mutex);
  if (s.userClock && !on) s.origin = SteadyClock::now() - DurationOf(s.lastTime - s.startTime);
  s.userClock = on;
  s.wake.notify_all();
  return 0;
}

int TReader::DeliverTime(std::int64_t time) {
  TState& s = *state_;
  std::lock_guard guard(s.mutex);
  s.deliverUntil = std::max(s.deliverUntil, time);
  s.wake.notify_all();
  return 0;
}

bool TReader::GetBufferProgress(std::uint32_t& percent, std::int64_t& bufferingTime) {
  TState& s = *state_;
  std::lock_guard guard(s.mutex);
  if (!s.network || !s.opened) return false;
  percent = s.bufferPercent;
  bufferingTime = s.bufferedTime;
  return true;
}

}  // namespace fc::media
