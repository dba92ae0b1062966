// work_buffer.h - per-call work buffers of the primitives, from the aligned
// allocator and released when they go out of scope, on every return path.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "dispatch/primitives.h"

namespace fc::primitives {

/// A work buffer of `count` elements from the aligned allocator, released
/// when it goes out of scope. Null when the count is below 1 or above the
/// allocator's int range, or when memory runs out. T is trivial: tables of
/// plain records are placed in a byte block.
template <typename T>
class WorkBuffer {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  explicit WorkBuffer(std::int64_t count) : data_(allocate(count)) {}
  ~WorkBuffer() { ippsFree(data_); }
  WorkBuffer(const WorkBuffer&) = delete;
  WorkBuffer& operator=(const WorkBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  T* get() const { return data_; }
  T& operator[](std::ptrdiff_t i) const { return data_[i]; }

 private:
  static T* allocate(std::int64_t count) {
    if (count < 1 || count > INT_MAX) return nullptr;
    const int len = static_cast<int>(count);
    if constexpr (std::is_same_v<T, Ipp8u>) return ippsMalloc_8u(len);
    if constexpr (std::is_same_v<T, Ipp16u>) return ippsMalloc_16u(len);
    if constexpr (std::is_same_v<T, Ipp32s>) return ippsMalloc_32s(len);
    if constexpr (std::is_same_v<T, Ipp32f>) return ippsMalloc_32f(len);
    if constexpr (!std::is_same_v<T, Ipp8u> && !std::is_same_v<T, Ipp16u> &&
                  !std::is_same_v<T, Ipp32s> && !std::is_same_v<T, Ipp32f>) {
      const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(T));
      if (bytes > INT_MAX) return nullptr;
      return reinterpret_cast<T*>(ippsMalloc_8u(static_cast<int>(bytes)));
    }
  }

  T* data_;
};

}  // namespace fc::primitives
