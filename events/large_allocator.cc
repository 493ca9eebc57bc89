#include "events/large_allocator.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

void* pointerAt(std::uintptr_t address) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): addresses worked out by hand
  return reinterpret_cast<void*>(address);
}

}  // namespace

void* mapHugePages(std::size_t bytes) {
  // Map one huge page more than asked and give back the unaligned ends.
  const std::size_t mappedBytes = bytes + kHugePageBytes;
  void* mapped = mmap(nullptr, mappedBytes, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned =
      (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::uintptr_t end = aligned + bytes;
  const std::uintptr_t mappedEnd = start + mappedBytes;
  if (mappedEnd > end) munmap(pointerAt(end), mappedEnd - end);
  void* memory = pointerAt(aligned);
  madvise(memory, bytes, MADV_HUGEPAGE);  // advice only: may be refused
  return memory;
}

void unmapHugePages(void* memory, std::size_t bytes) noexcept {
  munmap(memory, bytes);
}
