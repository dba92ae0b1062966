// reader_types.h - what a media reader reports: its statuses, the media
// types of its outputs, and the callback that receives statuses, samples
// and requests for credentials.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc::media {

/// The statuses of a reader, in this order. A player passes each on as its
/// own status of the same name.
enum TReaderStatus : int {
  rsError,                     ///< open or read failed; the result holds the code
  rsOpened,                    ///< the open completed; outputs can be queried
  rsBufferingStarted,          ///< a network source is filling its buffer
  rsBufferingStopped,          ///< the first data of a network source arrived
  rsEndOfFile,                 ///< every sample up to the end was delivered
  rsEndOfSegment,
  rsEndOfStreaming,            ///< the source has no more data
  rsLocating,
  rsConnecting,                ///< a network open is under way
  rsMissingCodec,              ///< a stream has no decoder; it is not delivered
  rsStarted,                   ///< playing from the start time
  rsStopped,                   ///< a Stop took effect
  rsClosed,                    ///< the reader closed
  rsStriding,
  rsTimer,
  rsIndexProgress,
  rsSaveAsStart,
  rsSaveAsStop,
  rsNewSourceFlags,
  rsNewMetaData,               ///< title, author and the rest can be read
  rsSourceSwitch,
  rsErrorWithUrl,
  rsClientConnect,
  rsClientDisconnect,
  rsNativeOutputPropsChanged,
  rsReconnectStart,
  rsReconnectEnd,
  rsClientConnectEx,
  rsClientDisconnectEx,
  rsSetFECSpan,
  rsPrerollReady,
  rsPrerollComplete,
  rsClientProperties,
};
inline constexpr int kReaderStatusCount = rsClientProperties + 1;

/// The code of an open or read abandoned after its timeout.
inline constexpr int kReaderTimedOut = -ETIMEDOUT;

/// The major type of an output's media.
enum class TMajorType { Other, Video, Audio };
/// The sample format an output delivers: 24-bit blue-green-red frames,
/// interleaved integer PCM, or none (a stream that is not decoded).
enum class TSubtype { Other, RGB24, PCM };
/// The format record that describes the output.
enum class TFormatType { None, VideoInfo, WaveFormatEx };

/// The media type of one output of a reader.
struct FC_COMPONENTS_API TOutputProps {
  TMajorType majorType = TMajorType::Other;
  TSubtype subtype = TSubtype::Other;
  TFormatType formatType = TFormatType::None;
  std::string codecName;  ///< the stream's codec, e.g. "wmv2"

  // Video outputs: frames of width x height pixels, rows packed, top row
  // first; the average frame duration in 100-ns units (0 when unknown).
  int width = 0;
  int height = 0;
  std::int64_t averageTimePerFrame = 0;

  // Audio outputs: interleaved samples of bitsPerSample bits.
  int channels = 0;
  std::uint32_t samplesPerSecond = 0;
  int bitsPerSample = 0;
  int blockAlign = 0;         ///< bytes of one sample frame (all channels)
  std::uint32_t sampleSize = 0;  ///< bytes of one sample frame, as blockAlign
};

/// Receives what a reader reports, on the reader's own thread. A handler
/// must return without waiting for the reader (it may call its Pause,
/// Resume, DeliverTime and the queries, but not Stop or Close, which wait
/// for the reader thread).
class FC_COMPONENTS_API IReaderCallback {
public:
  /// A status; `result` is 0 or a negative FFmpeg error code.
  virtual void OnStatus(TReaderStatus status, int result) = 0;
  /// One sample of `output`: a frame or a block of audio, due at
  /// `sampleTime` for `duration` (100-ns units from the start of the
  /// stream). `data` is valid only until the call returns.
  virtual void OnSample(int output, std::int64_t sampleTime, std::int64_t duration,
                        std::span<const std::uint8_t> data) = 0;
  /// A source asks for credentials (an http server answered 401). Write the
  /// user name and password, each terminated by a null character, into the
  /// buffers of `userLength` and `passwordLength` characters; set `flags`.
  /// Return false to give none. `status` is the code the source answered.
  virtual bool AcquireCredentials(std::string_view realm, std::string_view site, char* user,
                                  std::size_t userLength, char* password, std::size_t passwordLength,
                                  int status, std::uint32_t& flags) = 0;

protected:
  ~IReaderCallback() = default;
};

}  // namespace fc::media
