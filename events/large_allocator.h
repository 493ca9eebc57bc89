// Memory for the long lists of a large file. Lists of a megabyte or more
// are placed in memory offered to the system as huge pages: first touching
// such memory costs one fault per 2 MiB instead of one per 4 KiB. Smaller
// ones come from the heap as usual.
#ifndef SEQSMITH_EVENTS_LARGE_ALLOCATOR_H_
#define SEQSMITH_EVENTS_LARGE_ALLOCATOR_H_

#include <cstddef>
#include <memory>

inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Maps `bytes` (a multiple of kHugePageBytes) aligned to a huge page and
// advises huge pages. Throws std::bad_alloc when it cannot.
void* mapHugePages(std::size_t bytes);
void unmapHugePages(void* memory, std::size_t bytes) noexcept;

// A standard allocator that places large arrays in huge pages.
template <typename T>
class LargeAllocator {
 public:
  using value_type = T;

  LargeAllocator() = default;
  template <typename U>
  explicit LargeAllocator(const LargeAllocator<U>& /*other*/) {}

  T* allocate(std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargeBytes) return std::allocator<T>().allocate(count);
    return static_cast<T*>(mapHugePages(roundUp(bytes)));
  }
  void deallocate(T* memory, std::size_t count) noexcept {
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargeBytes) {
      std::allocator<T>().deallocate(memory, count);
    } else {
      unmapHugePages(memory, roundUp(bytes));
    }
  }

  template <typename U>
  bool operator==(const LargeAllocator<U>& /*other*/) const {
    return true;
  }

 private:
  static constexpr std::size_t kLargeBytes = std::size_t{1} << 20;
  static std::size_t roundUp(std::size_t bytes) {
    return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  }
};

#endif  // SEQSMITH_EVENTS_LARGE_ALLOCATOR_H_
