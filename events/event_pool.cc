#include "events/event_pool.h"

#include <sys/mman.h>

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "events/large_allocator.h"

#if defined(__SANITIZE_ADDRESS__)
#define SEQSMITH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SEQSMITH_ASAN 1
#endif
#endif

#ifdef SEQSMITH_ASAN
#include <sanitizer/asan_interface.h>
#define POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define POISON(address, size) ((void)(address), (void)(size))
#define UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace {

// Small enough that the heap, not a fresh mapping, serves a chunk aligned
// to its size.
constexpr std::size_t kChunkBytes = std::size_t{16} << 10;
// Chunks a pool takes from the heap before it turns to huge-page blocks:
// the heap reuses them from file to file, fresh blocks cost page faults.
constexpr std::size_t kSmallChunks = 32;
// The header sits in the first bytes of every chunk.
constexpr std::size_t kHeaderBytes = 64;

struct ChunkHeader {
  EventPool* pool;
  std::size_t slotBytes;
};

ChunkHeader& headerOf(const void* slot) {
  const auto address = reinterpret_cast<std::uintptr_t>(slot);
  // The chunk's start, found from the address of a slot inside it.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  return *reinterpret_cast<ChunkHeader*>(address & ~(kChunkBytes - 1));
}

}  // namespace

EventPool::~EventPool() {
  assert(liveSlots_ == 0 && "events outlived their pool");
  for (void* block : smallBlocks_) {
    UNPOISON(block, kChunkBytes);
    std::free(block);
  }
  for (void* block : largeBlocks_) {
    UNPOISON(block, kHugePageBytes);
    unmapHugePages(block, kHugePageBytes);
  }
}

char* EventPool::takeChunk() {
  if (smallBlocks_.size() < kSmallChunks) {
    smallBlocks_.reserve(smallBlocks_.size() + 1);
    void* chunk = std::aligned_alloc(kChunkBytes, kChunkBytes);
    if (chunk == nullptr) throw std::bad_alloc();
    smallBlocks_.push_back(chunk);
    return static_cast<char*>(chunk);
  }
  if (nextChunk_ == blockEnd_) {
    largeBlocks_.reserve(largeBlocks_.size() + 1);
    void* block = mapHugePages(kHugePageBytes);
    largeBlocks_.push_back(block);
    nextChunk_ = static_cast<char*>(block);
    blockEnd_ = nextChunk_ + kHugePageBytes;
  }
  char* chunk = nextChunk_;
  nextChunk_ += kChunkBytes;
  return chunk;
}

void EventPool::nextChunk(SizeClass& sizeClass, std::size_t slotBytes) {
  if (sizeClass.inUse == sizeClass.chunks.size()) {
    sizeClass.chunks.reserve(sizeClass.chunks.size() + 1);
    char* chunk = takeChunk();
    new (chunk) ChunkHeader{this, slotBytes};
    POISON(chunk + kHeaderBytes, kChunkBytes - kHeaderBytes);
    sizeClass.chunks.push_back(chunk);
  }
  char* chunk = sizeClass.chunks[sizeClass.inUse++];
  sizeClass.next = chunk + kHeaderBytes;
  sizeClass.end = chunk + kChunkBytes;
}

void* EventPool::allocate(std::size_t size) {
  assert(size > 0 && size <= kMaxSlotBytes);
  const std::size_t index = (size + kGrain - 1) / kGrain - 1;
  const std::size_t slotBytes = (index + 1) * kGrain;
  SizeClass& sizeClass = classes_[index];
  void* slot = nullptr;
  if (sizeClass.free != nullptr) {
    slot = sizeClass.free;
    UNPOISON(slot, slotBytes);
    sizeClass.free = sizeClass.free->next;
    if (sizeClass.free == nullptr) sizeClass.lastFree = nullptr;
  } else {
    if (static_cast<std::size_t>(sizeClass.end - sizeClass.next) < slotBytes) {
      nextChunk(sizeClass, slotBytes);
    }
    slot = sizeClass.next;
    sizeClass.next += slotBytes;
    UNPOISON(slot, slotBytes);
  }
  ++liveSlots_;
  return slot;
}

void EventPool::release(void* slot) noexcept {
  const ChunkHeader& header = headerOf(slot);
  EventPool& pool = *header.pool;
  --pool.liveSlots_;
  if (pool.closed_) {
    POISON(slot, header.slotBytes);
    return;
  }
  SizeClass& sizeClass = pool.classes_[header.slotBytes / kGrain - 1];
  auto* freed = static_cast<FreeSlot*>(slot);
  freed->next = nullptr;
  POISON(slot, header.slotBytes);
  if (sizeClass.lastFree == nullptr) {
    sizeClass.free = freed;
  } else {
    UNPOISON(sizeClass.lastFree, sizeof(FreeSlot));
    sizeClass.lastFree->next = freed;
    POISON(sizeClass.lastFree, sizeof(FreeSlot));
  }
  sizeClass.lastFree = freed;
}

EventPool& EventPool::owner(const void* slot) noexcept {
  return *headerOf(slot).pool;
}

EventPool::Scope::Scope(EventPool& pool)
    : pool_(pool), liveSlots_(pool.liveSlots_) {
  for (std::size_t i = 0; i < kClasses; ++i) {
    const SizeClass& sizeClass = pool.classes_[i];
    marks_[i] = {sizeClass.inUse, sizeClass.next, sizeClass.end};
  }
}

EventPool::Scope::~Scope() {
  assert(pool_.liveSlots_ == liveSlots_ && "events outlived their scope");
  for (std::size_t i = 0; i < kClasses; ++i) {
    SizeClass& sizeClass = pool_.classes_[i];
    const Mark& mark = marks_[i];
    // Every slot given back in the scope lies behind the mark again.
    // Slots given back before it are not reused (there are none while a
    // file is converted).
    sizeClass.free = nullptr;
    sizeClass.lastFree = nullptr;
    sizeClass.inUse = mark.inUse;
    sizeClass.next = mark.next;
    sizeClass.end = mark.end;
  }
}
