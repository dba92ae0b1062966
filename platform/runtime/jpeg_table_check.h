#pragma once
// A check made before JPEG data reaches the picture decoder.

#include <cstddef>
#include <cstdint>

namespace fc {

/// False when JPEG data holds a Huffman table whose sixteen code counts add up
/// to more than the 256 symbols a table can hold. The decoder trusts those
/// counts and would write past its tables, so such data is refused first.
///
/// The check reads every table the decoder could meet: it starts at every
/// 0xFF 0xC4 byte pair (the table-definition marker, which the decoder only
/// recognises right after a 0xFF byte), walks the segment's tables as the
/// decoder does, and reads bytes past the end as zero, as the decoder does.
/// Data that does not start with 0xFF is not JPEG and passes.
bool JpegHuffmanTablesFit(const std::uint8_t* data, std::size_t size);

}  // namespace fc
