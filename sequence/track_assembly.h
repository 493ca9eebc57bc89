// Track assembly: chooses the output tracks (one per MIDI channel in use),
// orders their events, and cuts each track into measures of output ticks
// with explicit rests. The silence before the first sounding event of the
// piece is cut from every track alike.
#ifndef SEQSMITH_SEQUENCE_TRACK_ASSEMBLY_H_
#define SEQSMITH_SEQUENCE_TRACK_ASSEMBLY_H_

#include <cstdint>
#include <vector>

#include "events/measure.h"

class SmfParser;

struct TrackAllocation {
  std::uint16_t allocationMask = 1;  // bit n: track n is written; bit 0 always
  std::uint32_t leadingSkip = 0;     // output ticks cut from every track
};

// The most measures one track may have; a longer one cannot come from
// real music and would only exhaust memory.
inline constexpr std::uint64_t kMaxMeasures = 1000000;

// Chooses the tracks to write and sorts the event list of each of them
// (and of channel 0) by eventBefore, in place. leadingSkip is the tick of
// the earliest content event of the written tracks, in output ticks; 0
// when there is none.
TrackAllocation allocateTracks(SmfParser& parser, std::uint32_t timebase);

// Cuts track `track` into measures, from the first measure of the piece to
// the one that holds the track's last tick, which ends the last measure.
// Each measure holds rescaled clones of its events with WaitEvents for the
// time between them, offsets taken from the measure's start; the first
// `leadingSkip` output ticks of rest are left out. Throws ParseException
// "Too many measures - N" when the track would have more than
// kMaxMeasures measures. The parser's lists are left unchanged.
std::vector<Measure> splitMeasures(const SmfParser& parser, int track,
                                   std::uint32_t timebase,
                                   std::uint32_t leadingSkip);

#endif  // SEQSMITH_SEQUENCE_TRACK_ASSEMBLY_H_
