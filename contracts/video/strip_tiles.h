// strip_tiles.h - tall, narrow strips of a frame laid out as short, wide
// tiles, so a neighbourhood filter covers them in one call over long rows.
//
// A filter called on a strip a few pixels wide spends most of its time on
// its setup per row. The strips beside a frame's inner part share their rows:
// the tiles cut those rows into chunks and place, for every chunk, the
// bordered copy of each strip side by side in one wide source. One call of
// the filter over it gives every strip's pixels; the outputs between two
// copies, whose windows straddle both, are left unused. Where each output
// pixel depends on its window alone, the strips' pixels are those of a
// bordered copy of the whole frame.
#pragma once

#include <cstddef>
#include <span>

#include "contracts/video/image_buffer.h"

namespace fc {

class TFCStripTiles {
public:
  static constexpr int kMaxStrips = 2;

  /// Tiles for `strips` of a frame of `bpp`-byte pixels, filtered with a
  /// mask of `mask` placed at `anchor`. The strips lie inside the frame and
  /// cover the same rows; empty strips are left out, and strips past
  /// kMaxStrips are ignored.
  TFCStripTiles(std::span<const TFCImageRect> strips, IppiSize mask, IppiPoint anchor, int bpp);

  /// Whether there is nothing to filter.
  bool Empty() const { return count_ == 0; }

  /// Bytes of the source buffer Gather fills, and its row step.
  std::size_t SourceBytes() const;
  int SourceStep() const { return chunks_ * chunkWidth_ * bpp_; }
  /// Offset in the source buffer of the filter's first pixel: the one whose
  /// window starts at the buffer's first byte.
  std::ptrdiff_t SourceOrigin() const;

  /// The region the filter writes, its bytes and its row step.
  IppiSize OutputSize() const { return {chunks_ * chunkWidth_ - (mask_.width - 1), chunkRows_}; }
  std::size_t OutputBytes() const;
  int OutputStep() const { return OutputSize().width * bpp_; }

  /// Fills `source` (SourceBytes()) with every chunk's bordered copies.
  void Gather(const TFCImageBuffer& In, Ipp8u* source) const;
  /// Copies each strip's filtered pixels from `output` (OutputBytes(),
  /// written by the filter) to their places in `pixels`, rows `step` apart.
  void Scatter(const Ipp8u* output, Ipp8u* pixels, int step) const;

private:
  /// The column, in pixels, where strip `strip`'s bordered copy starts in
  /// chunk `chunk` of a source row; its filtered pixels start at the same
  /// column of an output row.
  int OutputColumn(int chunk, int strip) const { return chunk * chunkWidth_ + blockColumn_[strip]; }

  TFCImageRect strips_[kMaxStrips] = {};
  int blockColumn_[kMaxStrips] = {};  // each strip's bordered copy within a chunk
  int count_ = 0;
  IppiSize mask_;
  IppiPoint anchor_;
  int bpp_;
  int chunks_ = 0;
  int chunkRows_ = 0;
  int chunkWidth_ = 0;  // pixels of source per chunk, all strips' copies
};

}  // namespace fc
