#include "sequence/track_assembly.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "events/diagnostics.h"
#include "smf/smf_parser.h"

namespace {

// Puts a channel's events in eventBefore order, keeping the order of
// equivalent events: the result of a stable sort. The events of each
// track chunk are already in order, so the list is a few ordered runs;
// merging neighbouring runs, each merge stable, sorts it in a pass or two.
void sortTrack(EventList& events) {
  EventList::Items& items = events.items();
  const auto before = [](const std::unique_ptr<Event>& a,
                         const std::unique_ptr<Event>& b) {
    return eventBefore(*a, *b);
  };
  std::vector<std::size_t> runStarts{0};
  for (std::size_t i = 1; i < items.size(); ++i) {
    if (before(items[i], items[i - 1])) runStarts.push_back(i);
  }
  runStarts.push_back(items.size());
  while (runStarts.size() > 2) {
    std::vector<std::size_t> merged{0};
    std::size_t k = 0;
    for (; k + 2 < runStarts.size(); k += 2) {
      std::inplace_merge(
          items.begin() + static_cast<std::ptrdiff_t>(runStarts[k]),
          items.begin() + static_cast<std::ptrdiff_t>(runStarts[k + 1]),
          items.begin() + static_cast<std::ptrdiff_t>(runStarts[k + 2]),
          before);
      merged.push_back(runStarts[k + 2]);
    }
    if (k + 1 < runStarts.size()) merged.push_back(runStarts.back());
    runStarts = std::move(merged);
  }
}

// Appends the rests of one measure, less what is left of the leading skip.
class RestPlacer {
 public:
  RestPlacer(EventPool& pool, std::uint32_t skip, std::uint32_t division,
             std::uint32_t timebase)
      : pool_(pool), skip_(skip), division_(division), timebase_(timebase) {}

  // A rest of `length` output ticks at `position` output ticks into the
  // measure that starts at input tick `start`.
  void place(Measure& measure, std::uint32_t start, std::uint32_t position,
             std::uint32_t length) {
    if (length == 0) return;
    if (skip_ < length) {
      measure.events.append(Event::create<WaitEvent>(
          pool_, start + position * division_ / timebase_, length - skip_));
      skip_ = 0;
    } else {
      skip_ -= length;
    }
  }

 private:
  EventPool& pool_;
  std::uint32_t skip_;
  std::uint32_t division_;
  std::uint32_t timebase_;
};

}  // namespace

TrackAllocation allocateTracks(SmfParser& parser, std::uint32_t timebase) {
  TrackAllocation allocation;
  std::uint32_t minimum = 0xFFFFFFFFu;
  bool contentFound = false;
  for (int channel = 0; channel < SmfParser::kChannels; ++channel) {
    EventList& events =
        parser.channels[static_cast<std::size_t>(channel)].events;
    const bool active =
        std::any_of(events.items().begin(), events.items().end(),
                    [](const auto& event) { return event->activatesTrack(); });
    if (!active) {
      if (channel == 0) sortTrack(events);  // track 0 is always written
      continue;
    }
    allocation.allocationMask =
        static_cast<std::uint16_t>(allocation.allocationMask | (1u << channel));
    sortTrack(events);
    const auto content =
        std::find_if(events.items().begin(), events.items().end(),
                     [](const auto& event) { return event->isContent(); });
    if (content != events.items().end()) {
      contentFound = true;
      minimum = std::min(minimum, (*content)->tick);
    }
  }
  if (contentFound) {
    allocation.leadingSkip = minimum * timebase / parser.division;
  }
  return allocation;
}

std::vector<Measure> splitMeasures(const SmfParser& parser, int track,
                                   std::uint32_t timebase,
                                   std::uint32_t leadingSkip) {
  const ChannelTrack& channel =
      parser.channels[static_cast<std::size_t>(track)];
  const EventList& events = channel.events;
  const TimeSignatureMap& map = parser.timeSignatures;
  const std::uint32_t division = parser.division;

  std::uint32_t endTick = channel.lastTick;
  if (!events.empty() && events.back().tick > endTick) {
    endTick = events.back().tick;
  }
  const std::uint64_t count =
      std::uint64_t{map.positionOf(endTick).measure} + 1;
  if (count > kMaxMeasures) {
    throw ParseException("Too many measures - " + std::to_string(count));
  }

  std::vector<Measure> measures(static_cast<std::size_t>(count));
  RestPlacer rests(parser.eventPool(), leadingSkip, division, timebase);
  std::size_t cursor = 0;
  std::size_t entry = 0;
  auto remaining = static_cast<std::uint32_t>(map[0].measureCount);
  const auto last = static_cast<std::uint32_t>(count - 1);

  std::uint32_t start = map.measureStartTick(0);
  for (std::uint32_t m = 0; m <= last; ++m) {
    while (remaining == 0 && entry + 1 < map.size()) {
      ++entry;
      remaining = static_cast<std::uint32_t>(map[entry].measureCount);
    }
    const BeatEvent& signature = map[entry];
    const bool isLast = m == last;
    const std::uint32_t measureLength =
        isLast ? (endTick - start) * timebase / division
               : signature.numerator *
                     static_cast<std::uint32_t>(signature.beatTicks) *
                     timebase / division;
    // The events of measure m are those before the next measure starts;
    // the last measure takes the rest, which all lie up to endTick.
    const std::uint32_t nextStart = isLast ? 0 : map.measureStartTick(m + 1);
    std::size_t measureEnd = cursor;
    while (measureEnd < events.size() &&
           (isLast || events[measureEnd].tick < nextStart)) {
      ++measureEnd;
    }
    Measure& measure = measures[m];
    measure.events.reserve(2 * (measureEnd - cursor) + 1);
    std::uint32_t position = 0;
    for (; cursor < measureEnd; ++cursor) {
      const Event& event = events[cursor];
      assert(map.positionOf(event.tick).measure == m);
      const std::uint32_t offset =
          std::min((event.tick - start) * timebase / division, measureLength);
      rests.place(measure, start, position, offset - position);
      position = offset;
      std::unique_ptr<Event> copy = event.clone();
      copy->rescale(division, timebase);
      measure.events.append(std::move(copy));
    }
    rests.place(measure, start, position, measureLength - position);
    --remaining;
    start = nextStart;
  }
  return measures;
}
