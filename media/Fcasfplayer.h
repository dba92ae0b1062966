// Fcasfplayer.h - plays a media file or network stream: its video as 24-bit
// frames on "OutputPin", its audio as 16-bit PCM on "AudioOutputPin".
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/pins/state_pins.h"
#include "contracts/video/buffer_queue.h"
#include "contracts/video/image_pins.h"
#include "contracts/video/video_buffer_queue_thread.h"
#include "media/asf_credentials.h"
#include "media/asf_player_status.h"
#include "package/registered_unit.h"
#include "platform/audio/audio_pins.h"
#include "platform/media/reader.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/clock_thread.h"
#include "platform/signal/main_thread_notifier.h"

namespace fc {

/// A status of the player, on the main thread.
using TFCASFPlayerStatusEvent = std::function<void(TComponent& sender, TFCASFPlayerStatus status)>;
/// A failure: the message, the reader's code as an unsigned number; set
/// `handled` to keep the player from raising it.
using TFCErrorEvent =
    std::function<void(TComponent& sender, const std::string& message, std::uint32_t code, bool& handled)>;

/// Plays `FileName` (a file path or a URL: http, https, rtsp, udp ...) when
/// `Enabled` (starts true) and a file name are set: opens it within
/// `Timeout` milliseconds (default 30000; 0 or less waits without limit),
/// sends a start-pump on both outputs, the frame format (when the source
/// has video) and the wave format (when it has audio), then the frames and
/// blocks in time order. The first video stream goes out as frames stamped
/// with their presentation times, the first audio stream as blocks of
/// interleaved 16-bit samples.
///
/// Pacing: in real time by the reader (free running); by one frame period
/// (or 1024 audio samples when there is no video) per tick of "ClockPin"
/// when that pin is connected at the start; or by master pumps from
/// downstream, which switch a free-running player to being pumped.
///
/// At the end of the source every queued frame and block goes out, then a
/// stop on the outputs, then the status apsEndOfFile. Statuses reach
/// `OnPlayerStatus` on the main thread (TWCMainThreadNotifier), in order.
/// Failures to create or open the reader go to `OnError` and, unless it
/// handles them, raise EFCError with "<message> - <code> - <code in hex>".
///
/// Threads: the reader's thread decodes and hands frames to a bounded
/// queue (it waits while the queue is full, never past a stop); the
/// delivery thread sends frames and audio downstream; statuses run on the
/// main thread. Stop, Close and destruction always return.
class FC_COMPONENTS_API TFCASFPlayer : public TComponent,
                                       public TPMObject,
                                       public IPMPinDispatcher,
                                       private media::IReaderCallback {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kTimeoutDefault = 30000;
  /// Audio held for delivery at most, in seconds; older blocks are dropped.
  static constexpr std::uint32_t kAudioQueueSeconds = 4;
  /// Rounds of one frame and one block per wake of the delivery thread.
  static constexpr int kDeliveryRounds = 11;

  explicit TFCASFPlayer(TComponent* owner);
  ~TFCASFPlayer() override;

  bool GetEnabled() const;
  void SetEnabled(bool enabled);
  std::string GetFileName() const;
  void SetFileName(std::string fileName);
  TFCASFCredentials* GetCredentials() { return &credentials_; }
  std::int32_t GetTimeout() const;
  void SetTimeout(std::int32_t milliseconds);
  bool GetPaused() const;
  void SetPaused(bool paused);

  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TTBAudioSourcePin* GetAudioOutputPin() { return &audioOutputPin_; }
  TPMStringSinkPin* GetFileNamePin() { return &fileNamePin_; }
  TPMBoolStatePin* GetEnablePin() { return &enablePin_; }
  TPMBoolStatePin* GetPausePin() { return &pausePin_; }
  TPMClockSinkPin* GetClockPin() { return &clockPin_; }

  void SetOnPlayerStatus(TFCASFPlayerStatusEvent handler);
  void SetOnError(TFCErrorEvent handler);

  /// Opens FileName and waits for the open to complete; true when opened.
  bool Open();
  /// Stops and releases the reader.
  void Close();
  /// Starts playing (opening first); true when playing.
  bool Start();
  /// Stops playing: queued frames and blocks are dropped, a stop goes out.
  void Stop();
  void Pause();
  void Resume();
  /// One step of the user clock, when playing and clock-driven.
  void Pump();
  /// Buffering of a network source: the percent of its read-ahead filled
  /// (0 to 100, growing) and the media time held, 100-ns units; false for
  /// a local file or when no reader is open.
  bool GetBufferingState(std::int64_t& bufferingTime, std::uint32_t& percent);

  bool IsOpened() const;
  bool IsPlaying() const;
  /// What the open found: the frame size and duration (100-ns units) of the
  /// video, the format of the audio (0 when absent).
  bool HasVideo() const;
  bool HasAudio() const;
  int VideoWidth() const;
  int VideoHeight() const;
  std::int64_t FrameDuration() const;
  int AudioChannels() const;
  std::uint32_t AudioSampleRate() const;
  /// The user clock's step (100-ns units).
  std::int64_t ClockStep() const;
  /// The source's descriptive tags ("title", "artist" ...), after the open.
  std::vector<std::pair<std::string, std::string>> MetaData() const;
  /// The value of one tag, empty when absent.
  std::string MetaDataValue(const std::string& name) const;
  /// Audio blocks dropped because delivery fell more than
  /// kAudioQueueSeconds behind, since the last start.
  std::uint64_t DroppedAudioBlocks() const { return audioQueue_.DroppedBlocks(); }
  /// The code the reader gave with its last apsError (a negative FFmpeg
  /// error code), 0 when there was none since the last open.
  int LastReaderError() const { return lastReaderError_; }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  struct TStreams;

  // Reader callbacks (reader thread).
  void OnStatus(media::TReaderStatus status, int result) override;
  void OnSample(int output, std::int64_t sampleTime, std::int64_t duration,
                std::span<const std::uint8_t> data) override;
  bool AcquireCredentials(std::string_view realm, std::string_view site, char* user, std::size_t userLength,
                          char* password, std::size_t passwordLength, int status, std::uint32_t& flags) override;

  void StartOrDisable();
  bool IntStart();
  void IntStop();
  void IntPump();
  bool OpenReader(const std::string& fileName, std::int32_t timeout);
  bool WaitForOpen(std::int32_t timeout, int& result);
  void DiscoverStreams();
  void SendFormats();
  bool MasterPump(TPMSourcePin& pin, const TPMOperation& operation);
  void SendPauseOrResume(const TPMOperation& operation);
  void AnswerIgnore();
  void Error(const std::string& message, int code);

  // The delivery thread's wake.
  void NewThreadFrame();
  bool DeliverRound(std::int64_t& framesSent);
  void FinishEndOfFile();
  void SendStops();

  void QueueStatus(TFCASFPlayerStatus status);
  void FireStatuses();

  TFCPMImageSourcePin outputPin_;
  TTBAudioSourcePin audioOutputPin_;
  TPMStringSinkPin fileNamePin_;
  TPMBoolStatePin enablePin_;
  TPMBoolStatePin pausePin_;
  TPMClockSinkPin clockPin_;
  TFCASFCredentials credentials_;

  // Published values, under the component lock.
  bool enabled_ = true;
  std::string fileName_;
  std::int32_t timeout_ = kTimeoutDefault;
  bool paused_ = false;
  TFCASFPlayerStatusEvent onPlayerStatus_;
  TFCErrorEvent onError_;

  // Starts, stops and opens run one at a time.
  std::recursive_mutex control_;
  // Replaced under control_ and stateMutex_; a pump copies it under
  // stateMutex_ alone, so pumping never waits for a start or stop.
  std::shared_ptr<media::TReader> reader_;
  media::IReaderAdvanced* advanced_ = nullptr;

  // Stream state, under stateMutex_.
  mutable std::mutex stateMutex_;
  std::unique_ptr<TStreams> streams_;
  bool opened_ = false;
  bool playing_ = false;
  bool started_ = false;
  bool freeRunning_ = true;
  bool clockDriven_ = false;
  bool streamRunning_ = false;  // a start went out and no stop yet
  std::int64_t userClockTime_ = 0;
  bool firstAfterStart_ = false;
  const TPMPin* lastPumpPin_ = nullptr;
  const TComponent* lastPumpSender_ = nullptr;
  // The last pump taken, held so that a later pump allocated at its address
  // cannot pass for it.
  TPMOperation lastPump_;

  // The open's completion, signalled by the reader thread.
  std::mutex openMutex_;
  std::condition_variable openDone_;
  bool openCompleted_ = false;
  bool openSucceeded_ = false;
  int openResult_ = 0;

  TFCVideoBufferQueueThread videoQueue_;
  TFCDSBufferQueue audioQueue_;
  int sentAudio_ = 0;
  std::atomic<bool> endPending_{false};
  std::atomic<int> lastReaderError_{0};
  // Held while taking from the queues and sending, so nothing goes out
  // after a stop. Recursive: a sink may call back in.
  std::recursive_mutex sendOrder_;

  std::mutex statusMutex_;
  std::deque<TFCASFPlayerStatus> statuses_;
  TWCMainThreadNotifier notifier_;
  TWCClockThread delivery_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcasfplayer)
