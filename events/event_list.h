// EventList: an ordered list that owns its events. An event is in one list
// only; copying a list clones every event into the copy.
#ifndef SEQSMITH_EVENTS_EVENT_LIST_H_
#define SEQSMITH_EVENTS_EVENT_LIST_H_

#include <cstddef>
#include <memory>
#include <vector>

#include "events/event.h"
#include "events/large_allocator.h"

class EventList {
 public:
  using Items = std::vector<std::unique_ptr<Event>,
                            LargeAllocator<std::unique_ptr<Event>>>;

  EventList() = default;
  EventList(EventList&&) noexcept = default;
  EventList& operator=(EventList&&) noexcept = default;
  EventList(const EventList& other);
  EventList& operator=(const EventList& other);
  ~EventList() = default;

  void append(std::unique_ptr<Event> event) {
    items_.push_back(std::move(event));
  }
  void reserve(std::size_t count) { items_.reserve(count); }
  // Deletes every event.
  void clear() { items_.clear(); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  Event& operator[](std::size_t i) { return *items_[i]; }
  const Event& operator[](std::size_t i) const { return *items_[i]; }
  Event& back() { return *items_.back(); }
  const Event& back() const { return *items_.back(); }

  // The owning pointers, for sorting and for moving events out.
  Items& items() { return items_; }
  const Items& items() const { return items_; }

  // Equal when both hold the same number of events and each event of this
  // list equals the one at the same place in `other`.
  bool operator==(const EventList& other) const;

 private:
  Items items_;
};

#endif  // SEQSMITH_EVENTS_EVENT_LIST_H_
