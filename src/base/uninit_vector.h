// A vector whose resize leaves new elements of a trivial type unset instead of zero-filling
// them: for large buffers that are written whole right after (an image's pixel codes), where
// the zero-fill would be a pass over the memory, and its page faults, for nothing. Blocks of
// image size are aligned to 2 MB and asked to be backed by huge pages, so that their first
// writes take one page fault per 2 MB instead of one per 4 KB.
// And a vector whose fresh storage is zero without a pass over it: for large buffers that
// must start at zero and are mostly never written (an image's mask); the system's zero pages
// stand in until a page is written.
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
#include <cstdlib>
#include <cstring>

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

// Zeroed blocks: large ones are fresh anonymous mappings, which the system hands out as
// zero pages, so nothing is written or even made resident until a page is written.
inline void* allocate_zeroed(size_t bytes) {
#if defined(__linux__)
  if (bytes >= kHugeFrom) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return p;
  }
#endif
  void* p = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (!p) throw std::bad_alloc();
  return p;
}

inline void free_zeroed(void* p, size_t bytes) noexcept {
#if defined(__linux__)
  if (bytes >= kHugeFrom) {
    munmap(p, bytes);
    return;
  }
#endif
  std::free(p);
}

}  // namespace uninit_detail

// Blocks of image size start on a boundary of this many bytes, the huge page size: a loop that
// splits such a block into lanes of this size touches each huge page from one thread only.
constexpr size_t kHugePageBytes = uninit_detail::kHugePage;

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

// Storage that comes zeroed, and default-initialisation that leaves it so: a vector of a
// trivial type made with n elements holds n zeros, written by nobody. Growing a vector in
// place (resize within its capacity) leaves what the dropped elements held, so a user that
// needs zeros again makes a new vector.
template <class T>
struct ZeroedAllocator : UninitAllocator<T> {
  static_assert(std::is_trivial_v<T>);
  template <class U>
  struct rebind {
    using other = ZeroedAllocator<U>;
  };
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > std::allocator_traits<std::allocator<T>>::max_size(*this)) throw std::bad_array_new_length();
    return static_cast<T*>(uninit_detail::allocate_zeroed(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { uninit_detail::free_zeroed(p, n * sizeof(T)); }
};

template <class T>
using ZeroedVector = std::vector<T, ZeroedAllocator<T>>;

// Element-wise comparison with a plain vector of the same elements.
template <class T>
bool operator==(const UninitVector<T>& a, const std::vector<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
template <class T>
bool operator==(const ZeroedVector<T>& a, const std::vector<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace kestrin
