#include "platform/runtime/picture_decoders.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <limits>
#include <string>

#include <jpeglib.h>

#include "platform/runtime/error.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

namespace {

// A progressive file may hold any number of scans, and each is a pass over
// the whole picture; real files have about ten. More are refused, so that a
// small file cannot keep the decoder busy for minutes.
constexpr int kMaxScans = 256;

// The library reports a fatal error by calling error_exit, which must not
// return: it keeps the message and jumps back to the step that was running.
// Only the library's own C frames lie between the jump and its target.
struct TJumpingErrors {
  jpeg_error_mgr base;  // first, so the library's pointer is ours too
  std::jmp_buf step;
  char message[JMSG_LENGTH_MAX];
};

TJumpingErrors& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<TJumpingErrors*>(info->err); }

[[noreturn]] void LeaveStep(j_common_ptr info) {
  TJumpingErrors& errors = ErrorsOf(info);
  errors.base.format_message(info, errors.message);
  std::longjmp(errors.step, 1);
}

// Warnings (damaged data the decoder works around) and trace messages are
// neither printed nor fatal.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxScans) return;
  TJumpingErrors& errors = ErrorsOf(info);
  std::snprintf(errors.message, sizeof errors.message, "more than %d scans", kMaxScans);
  std::longjmp(errors.step, 1);
}

// The colour spaces held as four bytes a pixel in Adobe's inverted form:
// the picture's red is C x K / 255 (rounded), and so on.
bool IsInkColourSpace(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

void InkToRgba(std::uint8_t* pixels, std::size_t count) {
  for (std::uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
    const unsigned black = p[3];
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] * black + 127) / 255);
    p[3] = 255;
  }
}

// One decompression. Each step runs under its own setjmp and answers false,
// with Message() set, when the library gave up; the steps hold no objects
// with destructors, so the jump skips nothing that needs cleaning up.
class TJpegDecompression {
public:
  TJpegDecompression() {
    info_.err = jpeg_std_error(&errors_.base);
    errors_.base.error_exit = LeaveStep;
    errors_.base.emit_message = IgnoreMessage;
    errors_.base.output_message = IgnoreOutput;
    progress_.progress_monitor = LimitScans;
  }
  ~TJpegDecompression() { jpeg_destroy_decompress(&info_); }  // safe when never created: no memory manager
  TJpegDecompression(const TJpegDecompression&) = delete;
  TJpegDecompression& operator=(const TJpegDecompression&) = delete;

  bool ReadHeader(const std::uint8_t* data, std::size_t size) {
    if (setjmp(errors_.step)) return false;
    jpeg_create_decompress(&info_);  // clears every field but the error manager
    info_.progress = &progress_;
    jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info_, TRUE);
    return true;
  }

  int Width() const { return static_cast<int>(info_.image_width); }
  int Height() const { return static_cast<int>(info_.image_height); }

  // Decodes into Width() x Height() pixels of four bytes; `maxWorkBytes`
  // bounds the whole-picture buffers of progressive and multi-scan files.
  bool Decode(std::uint8_t* pixels, long maxWorkBytes) {
    if (setjmp(errors_.step)) return false;
    ink_ = IsInkColourSpace(info_.jpeg_color_space);
    info_.out_color_space = ink_ ? JCS_CMYK : JCS_EXT_RGBA;
    info_.mem->max_memory_to_use = maxWorkBytes;
    jpeg_start_decompress(&info_);
    if (info_.output_width != info_.image_width || info_.output_height != info_.image_height ||
        info_.output_components != 4)
      return Fail("unexpected output layout");
    const std::size_t stride = std::size_t{4} * info_.output_width;
    while (info_.output_scanline < info_.output_height) {
      JSAMPROW row = pixels + stride * info_.output_scanline;
      if (jpeg_read_scanlines(&info_, &row, 1) != 1) return Fail("the decoder stopped before the last row");
    }
    return true;
  }

  bool InkPixels() const { return ink_; }
  const char* Message() const { return errors_.message; }

private:
  bool Fail(const char* message) {
    std::snprintf(errors_.message, sizeof errors_.message, "%s", message);
    return false;
  }

  jpeg_decompress_struct info_{};
  TJumpingErrors errors_{};
  jpeg_progress_mgr progress_{};
  bool ink_ = false;
};

[[noreturn]] void Refuse(std::string_view owner, const char* reason) {
  throw EFCError(std::string(owner) + ": not a valid JPEG picture (" + reason + ")");
}

}  // namespace

bool IsJpegData(const std::uint8_t* data, std::size_t size) {
  return size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

TDecodedPicture DecodeJpeg(std::string_view owner, const std::uint8_t* data, std::size_t size) {
  TJpegDecompression decompression;
  if (!decompression.ReadHeader(data, size)) Refuse(owner, decompression.Message());
  TDecodedPicture picture{decompression.Width(), decompression.Height(), {}};
  CheckFrameBudget(owner, "Data", picture.width, picture.height, 4);
  const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  picture.rgba.resize(count * 4);
  const std::uint64_t maxWorkBytes = std::min<std::uint64_t>(MaxBufferBytes(), std::numeric_limits<long>::max());
  if (!decompression.Decode(picture.rgba.data(), static_cast<long>(maxWorkBytes))) Refuse(owner, decompression.Message());
  if (decompression.InkPixels()) InkToRgba(picture.rgba.data(), count);
  return picture;
}

}  // namespace fc
