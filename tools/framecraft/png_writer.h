// png_writer.h - writes frames as PNG files.
#pragma once

#include <filesystem>

#include "contracts/video/image_buffer.h"

namespace fc::tool {

/// Writes `frame` as a PNG: grey frames as one channel, every other format
/// as red, green, blue. EFCError naming the file when it cannot be written.
void WritePng(const TFCImageBuffer& frame, const std::filesystem::path& path);

}  // namespace fc::tool
