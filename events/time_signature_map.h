// The musical time map: the time signatures of a file, in the order read,
// and the conversions between absolute ticks and measures.
//
// The first entry is the 4/4 that the reader builds from the file header at
// tick 0. Each later entry closes the section of the one before it
// (BeatEvent::closeAt) before it is appended, so every entry but the last
// spans a whole number of measures and entry ticks never decrease.
#ifndef SEQSMITH_EVENTS_TIME_SIGNATURE_MAP_H_
#define SEQSMITH_EVENTS_TIME_SIGNATURE_MAP_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "events/event.h"

// A place in the music, every field counted from 0.
struct MusicalPosition {
  std::uint32_t measure = 0;
  std::uint32_t beat = 0;
  std::uint32_t tick = 0;  // ticks into the beat
};

class TimeSignatureMap {
 public:
  // Appends a time signature. The caller has closed the previous last
  // entry at this one's tick (BeatEvent::closeAt), which keeps the ticks
  // in order.
  void append(std::unique_ptr<BeatEvent> entry);

  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  const BeatEvent& operator[](std::size_t i) const { return *entries_[i]; }
  BeatEvent& back() { return *entries_.back(); }

  // The measure, beat and tick into the beat of an absolute tick. An empty
  // map gives measure 0, beat 0 and the tick itself. All arithmetic is
  // 32-bit unsigned.
  MusicalPosition positionOf(std::uint32_t tick) const;

  // The absolute tick at which measure `measure` (from 0) starts; 0 for an
  // empty map. Products and sums wrap at 32 bits.
  std::uint32_t measureStartTick(std::uint32_t measure) const;

 private:
  std::vector<std::unique_ptr<BeatEvent>> entries_;
  // Per entry: the measure index and the tick where its section starts,
  // summed over the closed sections before it (32-bit sums as the time map
  // defines them, and an exact 64-bit measure index for searching).
  std::vector<std::uint32_t> entryTicks_;
  std::vector<std::uint32_t> firstMeasure_;
  std::vector<std::uint64_t> firstMeasureExact_;
  std::vector<std::uint32_t> sectionStart_;
};

#endif  // SEQSMITH_EVENTS_TIME_SIGNATURE_MAP_H_
