// writer.h - a media file writer: a muxer over libavformat with an encoder
// per stream (libavcodec). Video arrives as packed frames of our formats and
// is converted (libswscale) to the encoder's pixel format; audio arrives as
// interleaved integer PCM and is converted (libswresample) to the encoder's
// sample format.
//
// Use, in this order: Create (the container), OpenFile (the output),
// AddVideoStream / AddAudioStream, Start (writes the file header), then
// WriteVideo / WriteAudio from any threads, and Finish, which encodes what
// the encoders still hold and writes the trailer and index, so a finished
// file is complete. Destroying a started writer finishes it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "contracts/pins/time_stamps.h"
#include "contracts/video/video_format.h"
#include "platform/media/media_status.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

/// The video stream of a file.
struct FC_COMPONENTS_API TWriterVideoSettings {
  int width = 0;
  int height = 0;
  /// The format of the frames given to WriteVideo: vfRGB24, vfYUY2, vfGray8
  /// or vfRGB32, packed rows, top row first.
  TFCVideoFormat format = vfRGB24;
  /// Frames per second; also the time base of frames without time stamps.
  double rate = 25;
  /// A four-character code ("WMV2", "MJPG", "DVSD") or FFmpeg's encoder name
  /// ("wmv2", "dvvideo").
  std::string codec = "WMV2";
  /// Bits per second; 0 leaves the encoder's default.
  std::int64_t bitRate = 0;
  /// Constant quality 1 (lowest) to 100 (highest), which then rules instead
  /// of the bit rate; 0 for none.
  int quality = 0;
  /// Frames from one key frame to the next; 0 leaves the encoder's default.
  int keyFrameInterval = 0;
  /// Encoder threads; 0 lets the encoder choose.
  int threads = 0;
  /// FFmpeg's name of the pixel format to encode in ("yuv420p"); empty
  /// takes the encoder's format closest to the frames'.
  std::string pixelFormat;
  /// The shape of one pixel as width to height (64:45 makes 720 x 576 a
  /// 16:9 picture); square pixels by default. A number of 0 or less keeps
  /// them square.
  int sampleAspectNumerator = 1;
  int sampleAspectDenominator = 1;
};

/// The audio stream of a file.
struct FC_COMPONENTS_API TWriterAudioSettings {
  int channels = 2;
  int sampleRate = 44100;
  /// Of the PCM given to WriteAudio: 8 (unsigned), 16, 24 or 32 (signed).
  int bitsPerSample = 16;
  /// A code ("WMA2", "WMA1", "PCM", "MP2", "AC3", "AAC") or FFmpeg's encoder
  /// name.
  std::string codec = "WMA2";
  /// Bits per second; 0 leaves the encoder's default.
  std::int64_t bitRate = 0;
  /// The sample rate and channels to encode at, the PCM resampled and its
  /// channels mixed to them; 0 keeps the PCM's (the rate the nearest the
  /// encoder takes).
  int encoderSampleRate = 0;
  int encoderChannels = 0;
};

/// What has gone into the file so far.
struct FC_COMPONENTS_API TWriterProgress {
  std::int64_t videoFrames = 0;   ///< frames given to the video encoder
  std::int64_t audioSamples = 0;  ///< sample frames given to the audio encoder
  std::int64_t bytes = 0;         ///< bytes written to the output
};

/// One output file. All calls are thread-safe; writes from several threads
/// are serialised.
class FC_COMPONENTS_API TMediaWriter {
public:
  TMediaWriter();
  ~TMediaWriter();
  TMediaWriter(const TMediaWriter&) = delete;
  TMediaWriter& operator=(const TMediaWriter&) = delete;

  /// Makes the muxer: `container` is a format's short name ("asf", "avi",
  /// "dv", "matroska" ...) or empty to choose by the file name's extension.
  /// The file is not touched yet.
  TMediaStatus Create(std::string_view container, const std::string& fileName);
  /// Opens (creates or truncates) the output; fails when the file cannot be
  /// written. FFmpeg's protocols such as "pipe:1" are taken as well.
  TMediaStatus OpenFile();
  /// Adds a stream and opens its encoder; before Start.
  TMediaStatus AddVideoStream(const TWriterVideoSettings& settings);
  TMediaStatus AddAudioStream(const TWriterAudioSettings& settings);
  /// Asks for an index of the frames at the end of the file (containers that
  /// keep one write it on seekable output by default). False when the output
  /// cannot carry one (it is not seekable); the file is written without.
  bool SetIndexing(bool index);
  /// Sets a tag of the container (`key` such as "timecode" or "title")
  /// written with the header; before Start. An empty value removes it.
  TMediaStatus SetMetadata(const std::string& key, const std::string& value);
  /// Writes the file header; frames can be written afterwards.
  TMediaStatus Start();
  bool IsStarted() const;

  /// Encodes one frame of the video stream's size and format (`size` bytes
  /// at least step x height). Its time comes from `stamps` when available,
  /// else it follows the previous frame by one frame duration; a time not
  /// after the previous frame's is moved just after it.
  TMediaStatus WriteVideo(const std::uint8_t* pixels, std::size_t size, const TPMTimeStamps& stamps);
  /// Encodes interleaved PCM of the audio stream's format; only whole sample
  /// frames are taken.
  TMediaStatus WriteAudio(std::span<const std::uint8_t> pcm);
  /// Encodes what the encoders still hold, writes the trailer (and index)
  /// and closes the output. Later calls answer the first one's result.
  TMediaStatus Finish();

  TWriterProgress Progress() const;
  /// Whether encoders exist for a video and an audio codec as the settings
  /// name them (an empty name is not checked); the failure names the one
  /// missing.
  static TMediaStatus CheckEncoders(const std::string& videoCodec, const std::string& audioCodec);
  const std::string& FileName() const { return fileName_; }

private:
  struct Impl;

  TMediaStatus Failed(int code, std::string detail);
  void UpdateProgress();

  mutable std::mutex mutex_;
  std::unique_ptr<Impl> impl_;
  std::string fileName_;
  std::atomic<std::int64_t> videoFrames_{0}, audioSamples_{0}, bytes_{0};
};

}  // namespace fc::media
