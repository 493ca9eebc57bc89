// EventPool: the memory that events of one file live in. Events are many,
// small and of a few sizes, made while a file is read and while its
// tracks are assembled, and all gone when the file is done; a pool hands
// out slots of each size and takes them back for reuse, which is much
// cheaper than the general heap.
//
// Slots come from 16 KiB chunks, each holding slots of one size and
// starting with a header that names its pool, so a slot finds its way
// home from its address alone. A small pool takes its chunks from the
// heap; a pool that grows large takes them from 2 MiB blocks offered to
// the system as huge pages, which saves most of the cost of first
// touching the memory.
//
// Events are placed in a pool with Event::create; every event in a pool
// must be destroyed before the pool is. A Scope marks events that all go
// together (the copies of one track): when it ends, their memory is handed
// out again from where the scope began, in order.
#ifndef SEQSMITH_EVENTS_EVENT_POOL_H_
#define SEQSMITH_EVENTS_EVENT_POOL_H_

#include <array>
#include <cstddef>
#include <vector>

class EventPool {
 public:
  // The largest slot a pool hands out.
  static constexpr std::size_t kMaxSlotBytes = 64;

  EventPool() = default;
  ~EventPool();
  EventPool(const EventPool&) = delete;
  EventPool& operator=(const EventPool&) = delete;

  // A slot of at least `size` bytes (1 to kMaxSlotBytes), aligned for any
  // event. Throws std::bad_alloc when memory runs out.
  void* allocate(std::size_t size);
  // Gives a slot back to the pool it came from.
  static void release(void* slot) noexcept;
  // Stops keeping given-back slots for reuse: the owner is about to
  // destroy all its events before the pool.
  void close() noexcept { closed_ = true; }
  // The pool a slot came from.
  static EventPool& owner(const void* slot) noexcept;

 private:
  static constexpr std::size_t kGrain = 8;
  static constexpr std::size_t kClasses = kMaxSlotBytes / kGrain;

  struct FreeSlot {
    FreeSlot* next;
  };
  struct SizeClass {
    // Slots given back, reused first in, first out.
    FreeSlot* free = nullptr;
    FreeSlot* lastFree = nullptr;
    std::vector<char*> chunks;  // every chunk of this size, in order taken
    std::size_t inUse = 0;      // chunks[inUse - 1] is being filled
    char* next = nullptr;       // its unused slots
    char* end = nullptr;
  };

  // Moves a class on to its next chunk, taking a new one if need be.
  void nextChunk(SizeClass& sizeClass, std::size_t slotBytes);
  char* takeChunk();

  std::array<SizeClass, kClasses> classes_{};
  std::vector<void*> smallBlocks_;  // one chunk each, from the heap
  std::vector<void*> largeBlocks_;  // huge-page blocks of many chunks
  char* nextChunk_ = nullptr;       // unused chunks of the newest large block
  char* blockEnd_ = nullptr;
  std::size_t liveSlots_ = 0;
  bool closed_ = false;

 public:
  // Events made while a Scope lives must all be destroyed before it ends.
  // Then every slot made since it began is handed out again, from the
  // first, in order: the next track's copies walk through memory the
  // last track warmed, instead of through scattered given-back slots.
  class Scope {
   public:
    explicit Scope(EventPool& pool);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    struct Mark {
      std::size_t inUse;
      char* next;
      char* end;
    };
    EventPool& pool_;
    std::array<Mark, kClasses> marks_{};
    std::size_t liveSlots_;
  };
};

#endif  // SEQSMITH_EVENTS_EVENT_POOL_H_
