// media_files.h - small media files made by the ffmpeg command for the
// reader and player tests, and what ffmpeg itself decodes from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fc::test {

/// The path of one of these files, made on first use in a temporary folder
/// of the test program:
///   "av.wmv"     WMV2 64x48 at 25 fps, 12 frames, and WMA2 stereo 44.1 kHz, 1 s,
///                titled "Test clip" by "Framecraft"
///   "audio.wma"  WMA2 mono 44.1 kHz, 1 s, no video
///   "video.avi"  MJPEG 64x48 at 25 fps, 10 frames, no audio
///   "nocodec.mkv" video in a codec this FFmpeg cannot decode, and WMA2 audio
///   "clip.mp4"   MPEG-4 64x48 at 25 fps, 12 frames, and AAC audio
///   "stream.ts"  MPEG-2 64x48 at 25 fps, 8 s, and MP2 mono audio in a
///                transport stream, for the live network sources
/// Fails the calling test when ffmpeg cannot make them.
std::string MediaFile(const std::string& name);

/// The bytes of a file.
std::string FileContents(const std::string& path);

/// The 24-bit blue-green-red frames ffmpeg decodes from `path`, packed,
/// converted with the same scaler flags as the reader.
std::vector<std::uint8_t> FFmpegVideoBytes(const std::string& path);
/// The interleaved 16-bit samples ffmpeg decodes from `path`.
std::vector<std::uint8_t> FFmpegAudioBytes(const std::string& path);

}  // namespace fc::test
