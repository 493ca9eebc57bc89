#include "sequence/pattern_extraction.h"

#include <algorithm>
#include <cstdint>

#include "events/labels.h"

namespace {

// A measure can equal another only when every event equals itself (text
// events never do). Asked only of measures that may start a pattern, so
// that a run of equal measures holding text is not compared pair by pair.
bool canRepeat(const Measure& measure) {
  const EventList& events = measure.events;
  return std::all_of(events.items().begin(), events.items().end(),
                     [](const auto& event) { return event->equals(*event); });
}

std::uint64_t hashOf(const EventList& events) {
  std::uint64_t hash = events.size();
  for (const auto& event : events.items()) {
    hash = (hash ^ event->contentHash()) * 0x100000001B3ull;
    hash ^= hash >> 29;
  }
  return hash;
}

// Replaces the contents of a measure by a call of `pattern`, made where
// the measure's events live.
void replaceByCall(Measure& measure, const Pattern& pattern) {
  std::unique_ptr<Event> call =
      Event::createBeside<PatternEvent>(measure.events[0], 0, pattern);
  measure.events.clear();
  measure.events.append(std::move(call));
  measure.replaced = true;
}

}  // namespace

std::vector<std::unique_ptr<Pattern>> extractPatterns(
    std::vector<Measure>& measures, int track, const std::string& label) {
  std::vector<std::unique_ptr<Pattern>> patterns;
  if (measures.size() < 2) return patterns;

  // Equal measures have equal hashes, so only measures of one group need
  // comparing. Sorting (hash, index) pairs lays each group out in a row,
  // its measures in increasing order.
  struct Member {
    std::uint64_t hash;
    std::size_t index;
    bool operator<(const Member& other) const {
      return hash != other.hash ? hash < other.hash : index < other.index;
    }
  };
  std::vector<Member> members;
  for (std::size_t i = 0; i < measures.size(); ++i) {
    if (measures[i].events.size() >= kMinPatternEvents) {
      members.push_back({hashOf(measures[i].events), i});
    }
  }
  std::sort(members.begin(), members.end());
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> placeOf(measures.size(), kNone);
  for (std::size_t k = 0; k < members.size(); ++k) {
    placeOf[members[k].index] = k;
  }

  const std::string stem = trackLabel(label, track) + "_";
  std::int32_t counter = 0;
  for (std::size_t w = 0; w + 1 < measures.size(); ++w) {
    Measure& first = measures[w];
    if (first.replaced || placeOf[w] == kNone) continue;
    const std::size_t place = placeOf[w];
    const std::uint64_t hash = members[place].hash;
    const bool groupGoesOn =
        place + 1 < members.size() && members[place + 1].hash == hash;
    if (!groupGoesOn || !canRepeat(first)) continue;
    Pattern* pattern = nullptr;
    for (std::size_t k = place + 1;
         k < members.size() && members[k].hash == hash; ++k) {
      Measure& later = measures[members[k].index];
      if (later.replaced || !(first.events == later.events)) continue;
      if (pattern == nullptr) {
        patterns.push_back(std::make_unique<Pattern>());
        pattern = patterns.back().get();
        pattern->patternLabel = stem + std::to_string(counter++);
      }
      replaceByCall(later, *pattern);
    }
    if (pattern != nullptr) {
      std::unique_ptr<Event> call =
          Event::createBeside<PatternEvent>(first.events[0], 0, *pattern);
      pattern->events = std::move(first.events);
      first.events = EventList();
      first.events.append(std::move(call));
      first.replaced = true;
    }
  }
  return patterns;
}
