// real_buffer.h - blocks of real-valued samples (histograms, channel samples)
// as they travel between components.
#pragma once

#include <cstddef>
#include <memory>

#include "contracts/pins/operations.h"
#include "platform/runtime/components_api.h"

namespace fc {

namespace detail {
struct RealStore;
}  // namespace detail

/// A block of 64-bit floating-point samples with its length.
///
/// Like frames, blocks are copy-on-write: copying a block shares its samples,
/// `Read` never copies, and `Write` or `Modify` first detach samples that
/// another block shares, so a block sent to several sinks (or kept by one of
/// them) never changes under its holders. Sample memory comes from a bounded,
/// thread-safe pool keyed by length, so a steady stream of equally long blocks
/// allocates nothing once it runs. A new or resized block holds zeros. One
/// block object is used by one thread at a time; blocks sharing samples may
/// live on different threads.
class FC_COMPONENTS_API TWCRealBuffer : public IPMDataBuffer {
public:
  TWCRealBuffer() = default;
  /// A block of `length` zeros; a negative length counts as 0.
  explicit TWCRealBuffer(int length);
  TWCRealBuffer(const TWCRealBuffer& other);
  TWCRealBuffer& operator=(const TWCRealBuffer& other);
  ~TWCRealBuffer() override;

  int Length() const { return length_; }
  /// The samples for reading (null for an empty block).
  const double* Read() const;
  /// The samples for overwriting: unshared, contents not kept if shared.
  double* Write();
  /// The samples for changing in place: unshared, contents kept.
  double* Modify();
  /// Changes the length; the samples become zeros. A negative length counts
  /// as 0.
  void SetLength(int length);
  /// True while another block shares the samples (a write would copy).
  bool IsShared() const;

private:
  void Release();
  void Detach(bool keepSamples);

  int length_ = 0;
  detail::RealStore* store_ = nullptr;
};

/// Blocks as they are passed between components.
using IWCRealBuffer = std::shared_ptr<TWCRealBuffer>;

/// A new block of `length` zeros.
FC_COMPONENTS_API IWCRealBuffer MakeRealBuffer(int length);

/// What the sample pool holds for reuse: for tests and diagnostics.
struct FC_COMPONENTS_API TWCRealPoolStats {
  std::size_t blocks = 0;
  std::size_t bytes = 0;
};
FC_COMPONENTS_API TWCRealPoolStats RealPoolStats();

}  // namespace fc
