// work_buffer.h - a per-call work buffer from the aligned allocator, released
// when it goes out of scope, on every return path.
#pragma once

#include <cstdint>

#include "dispatch/primitives.h"

namespace fc::primitives::warp {

/// Doubles kept in a byte buffer from ippsMalloc_8u; empty after a failed
/// allocation (a count that does not fit the allocator's int is a failure).
class DoubleBuffer {
 public:
  explicit DoubleBuffer(std::int64_t count) {
    const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(double));
    if (count > 0 && bytes <= INT32_MAX) data_ = reinterpret_cast<double*>(ippsMalloc_8u(static_cast<int>(bytes)));
  }
  ~DoubleBuffer() { ippsFree(data_); }
  DoubleBuffer(const DoubleBuffer&) = delete;
  DoubleBuffer& operator=(const DoubleBuffer&) = delete;

  double* data() const { return data_; }
  bool empty() const { return data_ == nullptr; }

 private:
  double* data_ = nullptr;
};

}  // namespace fc::primitives::warp
