// A vector whose resize leaves new elements of a trivial type unset instead of zero-filling
// them: for large buffers that are written whole right after (an image's pixel codes), where
// the zero-fill would be a pass over the memory, and its page faults, for nothing. Blocks of
// image size are aligned to 2 MB and asked to be backed by huge pages, so that their first
// writes take one page fault per 2 MB instead of one per 4 KB.
#pragma once

#include <cstddef>

#include <algorithm>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kestrin {

namespace uninit_detail {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kHugeFrom = size_t(4) << 20;  // smaller blocks come from the heap as usual

inline void* allocate_bytes(size_t bytes, size_t align) {
  if (bytes < kHugeFrom) return ::operator new(bytes, std::align_val_t(align));
  void* p = ::operator new(bytes, std::align_val_t(kHugePage));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);  // advice only: failure changes nothing
#endif
  return p;
}

inline void free_bytes(void* p, size_t bytes, size_t align) noexcept {
  // The unsized form: clang builds without sized deallocation by default.
  ::operator delete(p, std::align_val_t(bytes < kHugeFrom ? align : kHugePage));
}

}  // namespace uninit_detail

template <class T>
struct UninitAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = UninitAllocator<U>;
  };
  UninitAllocator() = default;
  template <class U>
  UninitAllocator(const UninitAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > std::allocator_traits<std::allocator<T>>::max_size(*this)) throw std::bad_array_new_length();
    return static_cast<T*>(uninit_detail::allocate_bytes(n * sizeof(T), alignof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { uninit_detail::free_bytes(p, n * sizeof(T), alignof(T)); }

  // Default-initialisation: no value for a trivial type.
  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

template <class T>
using UninitVector = std::vector<T, UninitAllocator<T>>;

// Element-wise comparison with a plain vector of the same elements.
template <class T>
bool operator==(const UninitVector<T>& a, const std::vector<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace kestrin
