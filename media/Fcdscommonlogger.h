// Fcdscommonlogger.h - the base of components that record a stream into a
// file through a graph: file name, image and audio inputs, the graph holder,
// and the queuing of frames into the graph's source filters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/video/image_pins.h"
#include "package/unit_load_counter.h"
#include "platform/audio/audio_pins.h"
#include "platform/media/graph.h"
#include "platform/media/graph_stages.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Records the frames arriving on "InputPin", and the audio arriving on
/// "AudioInputPin", into the file `FileName` through `Graph`.
///
/// A start-frame begins a recording: the frame size, the stream's pixel
/// format (1: YUY2 frames are recorded as YUY2, anything else as three-byte
/// frames) and rate are kept and the subclass's BuildGraph makes and runs
/// the graph. When the audio input is connected the build waits for the
/// audio's start-wave (the recording then has audio) or for the first frame
/// (it then has none). Each frame is converted and queued into the graph's
/// "VideoSource" with its time stamps (from the frame, counted from the
/// recording's first frame, else from the frame number and the rate); audio
/// blocks go to its "AudioSource".
///
/// A stop, a new start and destruction finish the recording: the queued
/// frames are encoded, the encoders drained and the file's trailer and index
/// written, so a stopped recording is a complete file. A frame whose size
/// differs from the recording's finishes the file and starts the next one,
/// named with a counter ("out.wmv", "out-2.wmv", "out-3.wmv" ...), rather
/// than writing a broken stream. Errors from the graph's streaming threads
/// are raised (EFCError) on the next frame or stop, on the thread that
/// delivers it.
class FC_COMPONENTS_API TFCDSCommonLogger : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCDSCommonLogger(TComponent* owner);
  ~TFCDSCommonLogger() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TTBAudioSinkPin* GetAudioInputPin() { return &audioInputPin_; }
  TDSGraph* GetGraph() { return &graph_; }

  std::string GetFileName() const;
  /// Takes effect at the next recording.
  void SetFileName(std::string fileName);

  /// True while a graph runs.
  bool IsRunning() const;
  /// Frames given to the file writers of this component, and the bytes of
  /// the files, over every recording since construction.
  std::int64_t FramesWritten() const;
  std::int64_t BytesWritten() const;
  /// The files of the current (or last) recording, in order.
  std::vector<std::string> Files() const;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

protected:
  /// Builds and runs the graph for the current file (CurrentFileName) and
  /// stream; true when it runs. Called under the write lock. On failure it
  /// reports through Graph (which may raise) and leaves nothing running.
  virtual bool BuildGraph() = 0;

  /// Stream state the builder reads.
  const std::string& CurrentFileName() const { return currentFile_; }
  int FrameWidth() const { return width_; }
  int FrameHeight() const { return height_; }
  /// vfYUY2 when the stream's pixel format is 1, else vfRGB24.
  TFCVideoFormat RecordedFormat() const { return pixelFormat_ == vfYUY2 ? vfYUY2 : vfRGB24; }
  double FrameRate() const { return rate_; }
  bool AudioPresent() const { return audioPresent_; }
  const TTBWaveFormatExtensible& AudioFormat() const { return audioFormat_; }
  void SetRunning(bool running) { running_ = running; }

  /// Stops the graph (finishing its file) and empties it.
  void TearDown();
  /// Disconnects the pins and finishes a running recording; subclasses
  /// call it first in their destructor.
  void RetireAndFinish();

private:
  bool StartVideo(const TPMStartFrameOperation& start);
  bool StartAudio(const TTBStartWaveOperation& start);
  bool LogFrame(const TFCImageBuffer& frame);
  bool LogAudio(const TTBAudioBuffer& block);
  bool StopStream();
  bool StopAudio();
  void Build();
  void NextFile(int width, int height);
  void RaiseStreamError();
  void CountFinishedFile();
  TPMTimeStamps StampsOf(const TFCImageBuffer& frame);
  media::TWriterProgress CurrentProgress() const;

  TFCPMImageSinkPin inputPin_;
  TTBAudioSinkPin audioInputPin_;
  TDSGraph graph_;
  std::string fileName_;

  // Stream state, under the component lock.
  bool streaming_ = false;    // a start-frame arrived, no stop yet
  bool buildPending_ = false;
  bool running_ = false;
  int width_ = 0, height_ = 0;
  int pixelFormat_ = vfRGB24;
  double rate_ = 25;
  bool audioStarted_ = false;  // a start-wave arrived, no audio stop yet
  bool audioPresent_ = false;  // the running graph records audio
  TTBWaveFormatExtensible audioFormat_;
  std::string currentFile_;
  std::vector<std::string> files_;
  std::int64_t frameNumber_ = 0;
  std::int64_t firstStamp_ = 0;
  bool haveFirstStamp_ = false;
  std::int64_t finishedFrames_ = 0, finishedBytes_ = 0;
};

}  // namespace fc

FC_DECLARE_UNIT(Fcdscommonlogger)
