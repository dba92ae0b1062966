// binary_buffer.h - blocks of bytes (compressed video, any opaque data) as
// they travel between components on binary pins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "contracts/pins/operations.h"
#include "contracts/pins/time_stamps.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A block of bytes with the begin and end time of what it holds and its
/// chunk flags (kBinaryKeyFrame marks a compressed frame that decodes on its
/// own). Blocks are shared read-only between the sinks of a fan-out through
/// the reference count of the pointer that carries them (IWCBinaryBuffer),
/// so sending one never copies its bytes.
class FC_COMPONENTS_API TWCBinaryBuffer : public IPMDataBuffer {
public:
  TWCBinaryBuffer() = default;
  /// A block holding a copy of `bytes`.
  explicit TWCBinaryBuffer(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}
  /// A block taking `bytes` over.
  explicit TWCBinaryBuffer(std::vector<std::uint8_t>&& bytes) : bytes_(std::move(bytes)) {}

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::span<std::uint8_t> Bytes() { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

  const TPMTimeStamps& TimeStamps() const { return timeStamps_; }
  void SetTimeStamps(const TPMTimeStamps& stamps) { timeStamps_ = stamps; }
  std::uint32_t Flags() const { return flags_; }
  void SetFlags(std::uint32_t flags) { flags_ = flags; }
  bool IsKeyFrame() const;

private:
  std::vector<std::uint8_t> bytes_;
  TPMTimeStamps timeStamps_;
  std::uint32_t flags_ = 0;
};

/// The chunk flag of a key frame.
inline constexpr std::uint32_t kBinaryKeyFrame = 0x10;

inline bool TWCBinaryBuffer::IsKeyFrame() const { return (flags_ & kBinaryKeyFrame) != 0; }

/// Blocks as they are passed between components.
using IWCBinaryBuffer = std::shared_ptr<const TWCBinaryBuffer>;

}  // namespace fc
