#include "contracts/video/strip_tiles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "contracts/video/edge_copy.h"

namespace fc {

namespace {

// Each chunk reads mask height - 1 rows of its neighbours' again: chunks of
// at least eight times as many rows keep that to an eighth.
constexpr int kChunkRowsPerSharedRow = 8;
constexpr int kFewestChunkRows = 32;
// Rows wider than this gain nothing more per call; the cap also keeps the
// row step of a very tall frame's tiles within an int.
constexpr std::int64_t kWidestSourceRowBytes = std::int64_t{1} << 16;

}  // namespace

TFCStripTiles::TFCStripTiles(std::span<const TFCImageRect> strips, IppiSize mask, IppiPoint anchor, int bpp)
    : mask_(mask), anchor_(anchor), bpp_(bpp) {
  for (const TFCImageRect& strip : strips) {
    if (strip.width <= 0 || strip.height <= 0 || count_ == kMaxStrips) continue;
    blockColumn_[count_] = chunkWidth_;
    chunkWidth_ += strip.width + mask.width - 1;
    strips_[count_++] = strip;
  }
  if (count_ == 0) return;
  const int rows = strips_[0].height;
  const int wanted = std::max(kFewestChunkRows, kChunkRowsPerSharedRow * (mask.height - 1));
  const std::int64_t chunksOfWantedRows = (std::int64_t{rows} + wanted - 1) / wanted;
  const std::int64_t chunksInWidestRow = kWidestSourceRowBytes / (std::int64_t{chunkWidth_} * bpp);
  chunks_ = static_cast<int>(std::clamp<std::int64_t>(chunksInWidestRow, 1, chunksOfWantedRows));
  chunkRows_ = (rows + chunks_ - 1) / chunks_;  // chunks of even height, the last one no taller
}

std::size_t TFCStripTiles::SourceBytes() const {
  return static_cast<std::size_t>(SourceStep()) * static_cast<std::size_t>(chunkRows_ + mask_.height - 1);
}

std::ptrdiff_t TFCStripTiles::SourceOrigin() const {
  return static_cast<std::ptrdiff_t>(anchor_.y) * SourceStep() + static_cast<std::ptrdiff_t>(anchor_.x) * bpp_;
}

std::size_t TFCStripTiles::OutputBytes() const {
  return static_cast<std::size_t>(OutputStep()) * static_cast<std::size_t>(chunkRows_);
}

void TFCStripTiles::Gather(const TFCImageBuffer& In, Ipp8u* source) const {
  // The last chunk may reach below the strips; its extra rows repeat the
  // frame's like any bordered copy and their output is not used.
  for (int chunk = 0; chunk < chunks_; ++chunk)
    for (int i = 0; i < count_; ++i) {
      const TFCImageRect& strip = strips_[i];
      const TFCImageRect area{strip.x - anchor_.x, strip.y + chunk * chunkRows_ - anchor_.y,
                              strip.width + mask_.width - 1, chunkRows_ + mask_.height - 1};
      CopyRepeatingEdges(In, area, source + static_cast<std::ptrdiff_t>(OutputColumn(chunk, i)) * bpp_,
                         SourceStep());
    }
}

void TFCStripTiles::Scatter(const Ipp8u* output, Ipp8u* pixels, int step) const {
  const int rows = strips_[0].height;
  for (int chunk = 0; chunk < chunks_; ++chunk) {
    const int firstRow = chunk * chunkRows_;
    const int chunkRows = std::min(chunkRows_, rows - firstRow);
    for (int row = 0; row < chunkRows; ++row) {
      const Ipp8u* outputRow = output + static_cast<std::ptrdiff_t>(row) * OutputStep();
      for (int i = 0; i < count_; ++i) {
        const TFCImageRect& strip = strips_[i];
        Ipp8u* to = pixels + static_cast<std::ptrdiff_t>(strip.y + firstRow + row) * step +
                    static_cast<std::ptrdiff_t>(strip.x) * bpp_;
        CopyShortRun(to, outputRow + static_cast<std::ptrdiff_t>(OutputColumn(chunk, i)) * bpp_,
                     static_cast<std::size_t>(strip.width) * static_cast<std::size_t>(bpp_));
      }
    }
  }
}

}  // namespace fc
