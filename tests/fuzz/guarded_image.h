// guarded_image.h - image buffers for calling primitives with hostile
// arguments: each buffer holds exactly the rows its arguments describe and
// ends against an inaccessible page, so a read or write past what the caller
// handed over faults at once; destinations also tell whether a call wrote
// anywhere outside its rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fc::fuzz {

/// The rows an image argument describes, relative to the pointer the callee
/// gets: rows `firstRow` .. `lastRow` - 1, each at pointer + row * step,
/// bytes `firstByte` .. `lastByte` - 1 of it. Any step works, zero and
/// negative ones too.
struct TRowSpan {
  std::int64_t step = 0;
  std::int64_t firstRow = 0, lastRow = 0;
  std::int64_t firstByte = 0, lastByte = 0;

  bool Empty() const { return lastRow <= firstRow || lastByte <= firstByte; }
};

/// A buffer holding exactly the bytes of a row span, placed so that its
/// last byte lies just before a page the process may not touch.
class TGuardedImage {
public:
  /// Allocates the span's bytes (at least one) and fills them from `seed`.
  TGuardedImage(const TRowSpan& span, std::uint32_t seed);
  ~TGuardedImage();
  TGuardedImage(const TGuardedImage&) = delete;
  TGuardedImage& operator=(const TGuardedImage&) = delete;

  /// The pointer to hand to the callee (row 0, byte 0 of the span).
  std::uint8_t* Pointer() const { return origin_; }
  /// Aborts, naming the entry, when a byte outside `written` (or any byte,
  /// when `written` is null: a refused call writes nothing) changed.
  void CheckUntouchedOutside(const TRowSpan* written, const char* entry) const;

private:
  std::uint8_t* mapping_ = nullptr;
  std::size_t mappingBytes_ = 0;
  std::uint8_t* data_ = nullptr;
  std::size_t bytes_ = 0;
  std::uint8_t* origin_ = nullptr;
  std::vector<std::uint8_t> before_;
};

}  // namespace fc::fuzz
