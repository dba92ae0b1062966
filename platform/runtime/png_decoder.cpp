#include "platform/runtime/picture_decoders.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/runtime/error.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

namespace {

// Ancillary chunks (text, profiles) are held to this size once inflated, so
// a small compressed chunk cannot claim a large buffer.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{8} << 20;

// The encoded bytes, read from the front.
struct TPngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

// One decoding. The library reports a fatal error through StoreError, which
// keeps the message and jumps back to the step that was running; each step
// runs under its own setjmp and answers false, holding no objects with
// destructors, so the jump skips nothing that needs cleaning up.
class TPngDecoding {
public:
  explicit TPngDecoding(TPngSource source) : source_(source) {}
  ~TPngDecoding() { png_destroy_read_struct(&png_, &info_, nullptr); }
  TPngDecoding(const TPngDecoding&) = delete;
  TPngDecoding& operator=(const TPngDecoding&) = delete;

  bool ReadHeader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, StoreError, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) return Fail("out of memory");
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_read_fn(png_, &source_, ReadSource);
    // Any size the format allows is read; the frame budget is checked right
    // after the header, before anything is sized by it.
    png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(png_, kMaxChunkBytes);
    png_read_info(png_, info_);
    return true;
  }

  int Width() const { return static_cast<int>(png_get_image_width(png_, info_)); }
  int Height() const { return static_cast<int>(png_get_image_height(png_, info_)); }

  // Decodes into the rows given, Width() pixels of four bytes each.
  bool Decode(png_bytepp rows) {
    if (setjmp(png_jmpbuf(png_))) return false;
    ExpandToRgba();
    png_set_interlace_handling(png_);
    png_read_update_info(png_, info_);
    if (png_get_rowbytes(png_, info_) != std::size_t{4} * png_get_image_width(png_, info_))
      return Fail("unexpected row layout");
    png_read_image(png_, rows);
    return true;
  }

  const char* Message() const { return message_; }

private:
  void ExpandToRgba() {
    const int type = png_get_color_type(png_, info_);
    const bool transparentColour = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
    if (type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png_, info_) < 8) png_set_expand_gray_1_2_4_to_8(png_);
    if (transparentColour) png_set_tRNS_to_alpha(png_);
    if (png_get_bit_depth(png_, info_) == 16) png_set_strip_16(png_);
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png_);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparentColour) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
  }

  bool Fail(const char* message) {
    std::snprintf(message_, sizeof message_, "%s", message);
    return false;
  }

  [[noreturn]] static void StoreError(png_structp png, png_const_charp message) {
    static_cast<TPngDecoding*>(png_get_error_ptr(png))->Fail(message);
    png_longjmp(png, 1);
  }
  static void IgnoreWarning(png_structp, png_const_charp) {}

  static void ReadSource(png_structp png, png_bytep to, png_size_t count) {
    auto* source = static_cast<TPngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->position) png_error(png, "the data ends early");
    std::memcpy(to, source->data + source->position, count);
    source->position += count;
  }

  TPngSource source_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  char message_[200] = {};
};

[[noreturn]] void Refuse(std::string_view owner, const char* reason) {
  throw EFCError(std::string(owner) + ": not a valid PNG picture (" + reason + ")");
}

}  // namespace

bool IsPngData(const std::uint8_t* data, std::size_t size) {
  return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

TDecodedPicture DecodePng(std::string_view owner, const std::uint8_t* data, std::size_t size) {
  TPngDecoding decoding({data, size, 0});
  if (!decoding.ReadHeader()) Refuse(owner, decoding.Message());
  TDecodedPicture picture{decoding.Width(), decoding.Height(), {}};
  CheckFrameBudget(owner, "Data", picture.width, picture.height, 4);
  const std::size_t stride = std::size_t{4} * static_cast<std::size_t>(picture.width);
  picture.rgba.resize(stride * static_cast<std::size_t>(picture.height));
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = picture.rgba.data() + y * stride;
  if (!decoding.Decode(rows.data())) Refuse(owner, decoding.Message());
  return picture;
}

}  // namespace fc
