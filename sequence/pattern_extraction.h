// Pattern extraction: measures of a track whose contents repeat later in
// the track are lifted out into a pattern, written once after the track,
// and every occurrence (the first included) becomes a call of it.
#ifndef SEQSMITH_SEQUENCE_PATTERN_EXTRACTION_H_
#define SEQSMITH_SEQUENCE_PATTERN_EXTRACTION_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "events/measure.h"

// A measure needs at least this many events to start a pattern.
inline constexpr std::size_t kMinPatternEvents = 8;

// Replaces repeated measures of track `track` by calls and returns the
// patterns in the order they were created, labelled
// trackLabel(label, track) + "_" + number from 0. The earliest measure of
// a group of equal measures gives the pattern its events; a measure that
// holds a text event never takes part. The measures' calls refer to the
// returned patterns, which must outlive them.
std::vector<std::unique_ptr<Pattern>> extractPatterns(
    std::vector<Measure>& measures, int track, const std::string& label);

#endif  // SEQSMITH_SEQUENCE_PATTERN_EXTRACTION_H_
