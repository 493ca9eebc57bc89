// The sequence text writer: the file frame (header comments, the begin and
// start labels with track allocation and opening, the end label) and one
// labelled command stream per track, divided into measures by comment
// lines and followed by the track's patterns. Lines end with CR LF.
#ifndef SEQSMITH_SEQUENCE_SEQUENCE_WRITER_H_
#define SEQSMITH_SEQUENCE_SEQUENCE_WRITER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "events/measure.h"
#include "events/text_stream.h"

// The header comments naming `outputName`, label + "_Begin:", the
// alloctrack line (when more than track 0 is written), label + "_Start:",
// the timebase line (when it is not 48) and an opentrack line for every
// written track but 0.
void writeHeader(TextStream& out, const std::string& outputName,
                 const std::string& label, std::uint16_t allocationMask,
                 std::int32_t timebase);

// Track `track`: its comment block, label and commands up to "fin", with a
// "; Measure N" comment before each measure and consecutive rests merged
// into one (across measures too), then its patterns, each ending in "ret".
// Rethrows the diagnostic of an event that cannot be rendered.
void writeTrack(TextStream& out, const std::string& label, int track,
                const std::vector<Measure>& measures,
                const std::vector<std::unique_ptr<Pattern>>& patterns);

// An empty line and label + "_End:".
void writeTrailer(TextStream& out, const std::string& label);

#endif  // SEQSMITH_SEQUENCE_SEQUENCE_WRITER_H_
