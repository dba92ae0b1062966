#include "platform/runtime/jpeg_table_check.h"

namespace fc {
namespace {

constexpr std::uint8_t kMarkerPrefix = 0xFF;
constexpr std::uint8_t kDefineHuffmanTables = 0xC4;
constexpr int kCodeLengths = 16;
constexpr int kMaxSymbols = 256;

// Reads bytes as the decoder does: zero once the data is exhausted.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size, std::size_t at) : data_(data), size_(size), at_(at) {}
  int Next() { return at_ < size_ ? data_[at_++] : 0; }
  int Next16() {
    const int high = Next();
    return (high << 8) | Next();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_;
};

// Walks one table-definition segment whose length field starts at `at`; false
// when a table in it claims more symbols than fit.
bool SegmentTablesFit(const std::uint8_t* data, std::size_t size, std::size_t at) {
  ByteReader reader(data, size, at);
  int remaining = reader.Next16() - 2;
  while (remaining > 0) {
    const int tableClassAndId = reader.Next();
    if ((tableClassAndId >> 4) > 1 || (tableClassAndId & 15) > 3) return true;  // refused by the decoder itself
    int symbols = 0;
    for (int length = 0; length < kCodeLengths; ++length) symbols += reader.Next();
    if (symbols > kMaxSymbols) return false;
    for (int i = 0; i < symbols; ++i) reader.Next();
    remaining -= 1 + kCodeLengths + symbols;
  }
  return true;
}

}  // namespace

bool JpegHuffmanTablesFit(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || data[0] != kMarkerPrefix) return true;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == kDefineHuffmanTables && data[i - 1] == kMarkerPrefix && !SegmentTablesFit(data, size, i + 1))
      return false;
  }
  return true;
}

}  // namespace fc
