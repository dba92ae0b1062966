#include "tests/fuzz/guarded_image.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace fc::fuzz {

namespace {

// The lowest and one past the highest byte offset of a span, from row 0.
void Extent(const TRowSpan& span, std::int64_t& low, std::int64_t& high) {
  if (span.Empty()) {
    low = high = 0;
    return;
  }
  const std::int64_t first = span.firstRow * span.step, last = (span.lastRow - 1) * span.step;
  low = std::min(first, last) + span.firstByte;
  high = std::max(first, last) + span.lastByte;
}

bool Inside(const TRowSpan& span, std::int64_t offset) {
  for (std::int64_t row = span.firstRow; row < span.lastRow; ++row) {
    const std::int64_t start = row * span.step;
    if (offset >= start + span.firstByte && offset < start + span.lastByte) return true;
  }
  return false;
}

}  // namespace

TGuardedImage::TGuardedImage(const TRowSpan& span, std::uint32_t seed) {
  std::int64_t low = 0, high = 0;
  Extent(span, low, high);
  bytes_ = static_cast<std::size_t>(std::max<std::int64_t>(high - low, 1));
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t dataPages = (bytes_ + page - 1) / page;
  mappingBytes_ = (dataPages + 1) * page;
  void* mapping = mmap(nullptr, mappingBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) std::abort();
  mapping_ = static_cast<std::uint8_t*>(mapping);
  mprotect(mapping_ + dataPages * page, page, PROT_NONE);
  data_ = mapping_ + dataPages * page - bytes_;
  origin_ = data_ - low;
  std::minstd_rand random(seed);
  for (std::size_t i = 0; i < bytes_; ++i) data_[i] = static_cast<std::uint8_t>(random() >> 7);
  before_.assign(data_, data_ + bytes_);
}

TGuardedImage::~TGuardedImage() { munmap(mapping_, mappingBytes_); }

void TGuardedImage::CheckUntouchedOutside(const TRowSpan* written, const char* entry) const {
  for (std::size_t i = 0; i < bytes_; ++i) {
    if (data_[i] == before_[i]) continue;
    const std::int64_t offset = (data_ + i) - origin_;
    if (written && Inside(*written, offset)) continue;
    std::fprintf(stderr, "%s wrote byte %lld %s\n", entry, static_cast<long long>(offset),
                 written ? "outside its destination rows" : "although it refused the call");
    std::abort();
  }
}

}  // namespace fc::fuzz
