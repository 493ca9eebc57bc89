#include "events/event_list.h"

EventList::EventList(const EventList& other) {
  items_.reserve(other.items_.size());
  for (const auto& event : other.items_) items_.push_back(event->clone());
}

EventList& EventList::operator=(const EventList& other) {
  if (this != &other) {
    EventList copy(other);
    items_ = std::move(copy.items_);
  }
  return *this;
}

bool EventList::operator==(const EventList& other) const {
  if (items_.size() != other.items_.size()) return false;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i]->equals(*other.items_[i])) return false;
  }
  return true;
}
