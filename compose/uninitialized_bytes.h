#pragma once
// A byte vector whose new bytes start out unset instead of cleared. The encoders' large buffers
// (filtered rows, indexed pixels, a compressor's output, whose bound is the size of the picture)
// are written in full right after they are made or are mostly never touched: clearing them first
// costs a pass over tens of megabytes and makes the system supply every page of the bound.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vlm {

template <class T>
class TUninitializedAllocator : public std::allocator<T> {
 public:
  template <class U>
  struct rebind {
    using other = TUninitializedAllocator<U>;
  };

  TUninitializedAllocator() = default;
  template <class U>
  TUninitializedAllocator(const TUninitializedAllocator<U>&) noexcept {}

  // Value-initialisation (resize, the size constructor) leaves the element as it is.
  template <class U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... TArgs>
  void construct(U* at, TArgs&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<TArgs>(args)...);
  }
};

using TUninitializedBytes = std::vector<std::uint8_t, TUninitializedAllocator<std::uint8_t>>;

}  // namespace vlm
