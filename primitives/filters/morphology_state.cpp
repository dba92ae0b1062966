// morphology_state.cpp - allocation and release of the morphology state.
#include "primitives/filters/morphology_state.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "dispatch/primitives.h"

namespace fc::primitives {
namespace {

constexpr std::int64_t roundUpTo16(std::int64_t bytes) { return (bytes + 15) & ~std::int64_t{15}; }

// The block keeps 96 bytes for the record ahead of the mask and work area.
// With 4-byte pointers the mask starts at byte 80; with 8-byte pointers the
// record itself is 88 bytes long, so the mask starts at the first 16-byte
// boundary past it instead (96), and the block size stays the same.
constexpr std::int64_t kMaskOffset = std::max<std::int64_t>(80, roundUpTo16(sizeof(IppiMorphState)));
constexpr std::int64_t kHeaderRoom = 96;
static_assert(kMaskOffset <= kHeaderRoom, "the record and its padding must fit the block's header room");

}  // namespace

MorphStateLayout morphStateLayout(int roiWidth, IppiSize maskSize, Ipp32s dataType) {
  const std::int64_t elementBytes = dataType == kMorph8u ? 1 : 4;
  MorphStateLayout layout{};
  layout.maskOffset = kMaskOffset;
  layout.rowBytes = roundUpTo16((std::int64_t{roiWidth} + maskSize.width) * elementBytes * 3);
  layout.maskBytes = roundUpTo16(std::int64_t{maskSize.width} * maskSize.height);
  // Parts beyond 32 bits can never be allocated; stopping here also keeps
  // the products below within 64 bits.
  if (layout.rowBytes > INT32_MAX || layout.maskBytes > INT32_MAX) {
    layout.blockSize = INT64_MAX;
    return layout;
  }
  layout.workBytes = std::max(2 * std::int64_t{maskSize.height} * layout.rowBytes,
                              elementBytes * 3 * maskSize.height);
  layout.blockSize = layout.maskBytes + kHeaderRoom + layout.workBytes;
  return layout;
}

IppiMorphState* initMorphState(void* block, const MorphStateLayout& layout, int roiWidth, const Ipp8u* pMask,
                               IppiSize maskSize, IppiPoint anchor, Ipp32s dataType) {
  Ipp8u* bytes = static_cast<Ipp8u*>(block);
  auto* state = new (block) IppiMorphState{};
  state->mask = bytes + layout.maskOffset;
  state->rowMask = state->mask;
  state->columnMask = state->mask;
  state->work = state->mask + layout.maskBytes;
  state->reserved0 = 0;
  state->maskWidth = maskSize.width;
  state->maskHeight = maskSize.height;
  state->anchorX = anchor.x;
  state->anchorY = anchor.y;
  state->rightExtent = maskSize.width - anchor.x - 1;
  state->bottomExtent = maskSize.height - anchor.y - 1;
  state->rowBytes = static_cast<Ipp32s>(layout.rowBytes);
  state->blockSize = static_cast<Ipp32s>(layout.blockSize);
  state->dataType = dataType;
  state->channels = 3;
  state->roiWidth = roiWidth;
  state->reserved1 = -1;
  state->reserved2 = 0;
  std::memcpy(state->mask, pMask, static_cast<std::size_t>(maskSize.width) * static_cast<std::size_t>(maskSize.height));
  return state;
}

}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiMorphologyInitAlloc_8u_C3R(int roiWidth, const Ipp8u* pMask, IppiSize maskSize,
                                                              IppiPoint anchor, IppiMorphState** ppState) {
  using namespace fc::primitives;
  if (pMask == nullptr || ppState == nullptr) return ippStsNullPtrErr;
  if (roiWidth < 1 || maskSize.width < 1 || maskSize.height < 1) return ippStsSizeErr;
  if (anchor.x < 0 || anchor.x >= maskSize.width || anchor.y < 0 || anchor.y >= maskSize.height)
    return ippStsAnchorErr;
  const MorphStateLayout layout = morphStateLayout(roiWidth, maskSize, kMorph8u);
  if (layout.blockSize > INT32_MAX) return ippStsMemAllocErr;
  Ipp8u* block = ippsMalloc_8u(static_cast<int>(layout.blockSize));
  if (block == nullptr) return ippStsMemAllocErr;
  *ppState = initMorphState(block, layout, roiWidth, pMask, maskSize, anchor, kMorph8u);
  return ippStsNoErr;
}

extern "C" FC_API IppStatus px_ippiMorphologyFree(IppiMorphState** ppState) {
  if (ppState == nullptr || *ppState == nullptr) return ippStsNullPtrErr;
  ippsFree(*ppState);
  *ppState = nullptr;
  return ippStsNoErr;
}
