// The records that track assembly and pattern extraction work on: one
// measure of a track, and a pattern, a measure's contents lifted out to be
// written once and reached with "call".
#ifndef SEQSMITH_EVENTS_MEASURE_H_
#define SEQSMITH_EVENTS_MEASURE_H_

#include <string>

#include "events/event_list.h"

struct Measure {
  EventList events;       // the measure's own copies, rests included
  bool replaced = false;  // the contents became a call of a pattern
};

struct Pattern : Measure {
  std::string patternLabel;
};

#endif  // SEQSMITH_EVENTS_MEASURE_H_
