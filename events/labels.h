// The label scheme of the sequence text, shared by the reader's text
// commands and the writer.
#ifndef SEQSMITH_EVENTS_LABELS_H_
#define SEQSMITH_EVENTS_LABELS_H_

#include <cstdint>
#include <string>

// "Track_" + n, for example Track_3.
inline std::string trackName(std::int32_t n) {
  return "Track_" + std::to_string(n);
}

// label + "_Track_" + n, for example SMF_song_Track_3: the entry label of
// track n and the stem of its loop and pattern labels.
inline std::string trackLabel(const std::string& label, std::int32_t n) {
  return label + "_" + trackName(n);
}

#endif  // SEQSMITH_EVENTS_LABELS_H_
