#include "events/time_signature_map.h"

#include <algorithm>

void TimeSignatureMap::append(std::unique_ptr<BeatEvent> entry) {
  std::uint32_t firstMeasure = 0;
  std::uint64_t firstMeasureExact = 0;
  std::uint32_t sectionStart = 0;
  if (!entries_.empty()) {
    const BeatEvent& previous = *entries_.back();
    const auto count = static_cast<std::uint32_t>(previous.measureCount);
    const std::uint32_t measureTicks =
        previous.numerator * static_cast<std::uint32_t>(previous.beatTicks);
    firstMeasure = firstMeasure_.back() + count;
    firstMeasureExact = firstMeasureExact_.back() + count;
    sectionStart = sectionStart_.back() + measureTicks * count;
  }
  entryTicks_.push_back(entry->tick);
  firstMeasure_.push_back(firstMeasure);
  firstMeasureExact_.push_back(firstMeasureExact);
  sectionStart_.push_back(sectionStart);
  entries_.push_back(std::move(entry));
}

MusicalPosition TimeSignatureMap::positionOf(std::uint32_t tick) const {
  MusicalPosition position;
  if (entries_.empty()) {
    position.tick = tick;
    return position;
  }
  // The section of the last entry at or before `tick`; the first entry
  // holds every tick before the second.
  const auto after =
      std::upper_bound(entryTicks_.begin() + 1, entryTicks_.end(), tick);
  const auto current =
      static_cast<std::size_t>(after - entryTicks_.begin()) - 1;
  const BeatEvent& entry = *entries_[current];
  const std::uint32_t ticksPerBeat =
      static_cast<std::uint32_t>(entry.beatTicks);
  const std::uint32_t offset = tick - entry.tick;
  const std::uint32_t beats = offset / ticksPerBeat;
  const std::uint32_t measures = beats / entry.numerator;
  position.measure = firstMeasure_[current] + measures;
  position.beat = beats - measures * entry.numerator;
  position.tick = offset - beats * ticksPerBeat;
  return position;
}

std::uint32_t TimeSignatureMap::measureStartTick(std::uint32_t measure) const {
  if (entries_.empty()) return 0;
  // The first closed section that holds the measure, else the last entry.
  const std::size_t closed = entries_.size() - 1;
  std::size_t index = 0;
  std::size_t low = 0;
  std::size_t high = closed;
  while (low < high) {
    const std::size_t mid = (low + high) / 2;
    const std::uint64_t end =
        firstMeasureExact_[mid] +
        static_cast<std::uint32_t>(entries_[mid]->measureCount);
    if (measure < end) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  index = low;
  const BeatEvent& entry = *entries_[index];
  const std::uint32_t measureTicks =
      entry.numerator * static_cast<std::uint32_t>(entry.beatTicks);
  const std::uint32_t within = measure - firstMeasure_[index];
  if (index < closed ||
      within < static_cast<std::uint32_t>(entry.measureCount)) {
    return sectionStart_[index] + measureTicks * within;
  }
  // Past the end of every section: the sum over all of them.
  return sectionStart_[index] +
         measureTicks * static_cast<std::uint32_t>(entry.measureCount);
}
