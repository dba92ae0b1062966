// output_stages.h - the graph stages of a video output: the device a stream
// is rendered to, the sound device, and the DV chain (colour converter, DV
// encoder, DV multiplexer, audio converter) in front of a DV device.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/media/audio_output.h"
#include "platform/media/dv_encoder_settings.h"
#include "platform/media/dv_stream_device.h"
#include "platform/media/graph.h"
#include "platform/media/graph_stages.h"
#include "platform/media/output_devices.h"
#include "platform/runtime/components_api.h"

struct SwsContext;

namespace fc {

/// "Video Render" of a device that takes frames directly: each video sample
/// (vfRGB24 or vfYUY2 pixels of the stream's size) becomes a frame rendered
/// to the device. The device is owned by the component and outlives the
/// graph.
class FC_COMPONENTS_API TDSDeviceRenderStage : public TDSGraphStage, public IDSSampleInput {
public:
  TDSDeviceRenderStage(std::string name, media::TDSTransmitDevice& device, TFCVideoFormat format, int width,
                       int height)
      : TDSGraphStage(std::move(name)), device_(device), format_(format), width_(width), height_(height) {}
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  media::TDSTransmitDevice& device_;
  TFCVideoFormat format_;
  int width_, height_;
};

/// "Audio Render": audio samples queued to a sound device.
class FC_COMPONENTS_API TDSAudioRenderStage : public TDSGraphStage, public IDSSampleInput {
public:
  TDSAudioRenderStage(std::string name, std::unique_ptr<media::TDSAudioRenderer> renderer)
      : TDSGraphStage(std::move(name)), renderer_(std::move(renderer)) {}
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;
  std::int64_t Dropped() const { return renderer_->DroppedBlocks(); }

private:
  std::unique_ptr<media::TDSAudioRenderer> renderer_;
};

/// "Color Converter": frames of the stream's size and format scaled to the
/// DV frame size as 24-bit BGR.
class FC_COMPONENTS_API TDSColorConverterStage : public TDSGraphStage, public IDSSampleInput {
public:
  TDSColorConverterStage(std::string name, TFCVideoFormat format, int width, int height)
      : TDSGraphStage(std::move(name)), format_(format), width_(width), height_(height) {}
  ~TDSColorConverterStage() override;

  /// The size frames leave at and the stage they go to; before the run.
  void Connect(IDSSampleInput* downstream, int width, int height);
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  TFCVideoFormat format_;
  int width_, height_;
  int outWidth_ = 0, outHeight_ = 0;
  IDSSampleInput* downstream_ = nullptr;
  SwsContext* scaler_ = nullptr;
  TDSMediaSample scaled_;
};

/// "DV Encoder": keeps the DV settings it is given (or its own, see
/// TDSDVEncoderSettings::ForStream) and hands frames on to the multiplexer,
/// which encodes them as DV of those settings at their constant rate.
class FC_COMPONENTS_API TDSDVEncoderStage : public TDSGraphStage, public IDSSampleInput {
public:
  TDSDVEncoderStage(std::string name, const media::TDSDVEncoderSettings& own)
      : TDSGraphStage(std::move(name)), settings_(own) {}

  /// The encoder's format, encoding and resolution values (2000 ... 2015).
  void SetFormat(const media::TDSDVEncoderSettings& settings) { settings_ = settings; }
  const media::TDSDVEncoderSettings& GetFormat() const { return settings_; }

  void Connect(IDSSampleInput* downstream) { downstream_ = downstream; }
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  media::TDSDVEncoderSettings settings_;
  IDSSampleInput* downstream_ = nullptr;
};

/// "DV Mux": the DV stream written to the DV device's output. A write that
/// finds the output gone (a broken pipe) loses the device.
///
/// Every DV frame carries its share of the sound, so a stream with sound
/// whose sound ends while the pictures go on is given silence from then on
/// (EndSound), as much as keeps the sound as long as the pictures; the file
/// goes on with every frame.
class FC_COMPONENTS_API TDSDVMuxStage : public TDSWriterStage {
public:
  TDSDVMuxStage(std::string name, media::TDSDVStreamDevice& device)
      : TDSWriterStage(std::move(name)), device_(device) {}

  /// Makes the DV muxer on the device's output with a DV video stream of
  /// `settings` (frames of 24-bit BGR at the DV size), shaped and time-coded
  /// as `options` say, and, when `withAudio`, 16-bit stereo PCM at the
  /// options' sample rate made from `audio`.
  media::TMediaStatus Configure(const media::TDSDVEncoderSettings& settings, const media::TDSDVStreamOptions& options,
                                bool withAudio, const TTBWaveFormatExtensible& audio);
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

  /// The sound has ended: silence from now on.
  void EndSound();
  /// The sound goes on again (in the format it had): silence up to the
  /// pictures' time first, so it stays in step with them.
  void ResumeSound();
  bool SoundEnded() const;

private:
  // Sound up to the end of `frames` pictures (mutex_ held).
  media::TMediaStatus FillSilence(std::int64_t frames);

  media::TDSDVStreamDevice& device_;
  media::TDSDVEncoderSettings settings_;
  TTBWaveFormatExtensible audio_;
  bool withAudio_ = false;
  mutable std::mutex mutex_;  // serialises the streams' samples and the counts
  bool soundEnded_ = false;
  std::int64_t videoFrames_ = 0, audioFrames_ = 0;
};

/// "ACM Wrapper": the sound on its way into the DV stream; the multiplexer
/// resamples it to 48 kHz 16-bit stereo.
class FC_COMPONENTS_API TDSAudioConverterStage : public TDSGraphStage, public IDSSampleInput {
public:
  using TDSGraphStage::TDSGraphStage;
  void Connect(IDSSampleInput* downstream) { downstream_ = downstream; }
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  IDSSampleInput* downstream_ = nullptr;
};

}  // namespace fc
