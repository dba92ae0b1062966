// codec_manager_lookup.h - internal to the media layers: FFmpeg's codecs by
// four-character code or by name, and encoders opened on the first pixel
// format they accept.
#pragma once

#include <functional>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "contracts/video/bitmap_header.h"

namespace fc::media {

/// FFmpeg's codec of a four-character video code, through libavformat's
/// table of the codes of video streams in RIFF files; AV_CODEC_ID_NONE for a
/// code it does not know.
AVCodecID VideoCodecIdOf(TFCFourCC code);
/// A video encoder named by a code of up to four characters ("WMV2") or by
/// FFmpeg's encoder name ("wmv2", "dvvideo"); null when there is none.
const AVCodec* FindVideoEncoder(std::string_view codeOrName);
/// An audio encoder named by a code ("WMA1", "WMA2", "PCM", "MP2", "AC3",
/// "AAC") or by FFmpeg's encoder name; null when there is none.
const AVCodec* FindAudioEncoder(std::string_view codeOrName);

/// A quality from 1 (lowest) to `best` as FFmpeg's lambda of a quantiser
/// scale from 31 down to 1, for encoders run at constant quality.
int QualityLambda(int quality, int best);

/// Allocates a context of `codec`, lets `configure` set it, and opens it on
/// the pixel format nearest to `source` that the encoder takes, else on each
/// format it lists in turn (some encoders accept only one format for a
/// given size). The context on success, else null and `error` set to the
/// last FFmpeg error code.
AVCodecContext* OpenVideoEncoder(const AVCodec& codec, AVPixelFormat source,
                                 const std::function<void(AVCodecContext&)>& configure, int& error);

}  // namespace fc::media
