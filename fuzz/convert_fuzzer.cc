// libFuzzer target: the whole conversion of one MIDI file held in memory,
// from reading through track assembly and pattern extraction to the
// written text, under several time bases. A diagnostic is a normal end;
// anything else (a crash, a sanitizer report, another exception, a hang)
// is a finding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "app/driver.h"
#include "app/my_exception.h"
#include "cmdline/program_options.h"
#include "events/diagnostics.h"
#include "events/text_stream.h"
#include "sequence/track_assembly.h"
#include "smf/smf_parser.h"

namespace {

// The time bases that take different paths: the default, the file's usual
// division, one that shrinks every length to nothing, a large one that
// makes products wrap, and one whose 32 bits read as negative.
constexpr std::int32_t kTimebases[] = {48, 480, 1, 100000, -48};

// A few bytes can make a track of up to a million measures: a correct
// listing of many megabytes that the Release program writes in a fraction
// of a second, but that takes seconds under the sanitizers, five times
// over. Such files are not written here (bench/hostile.sh times them);
// their reading still is, and so is the refusal of longer tracks.
constexpr std::uint64_t kMaxFuzzMeasures = 5000;

// True when some channel would make a track of more than kMaxFuzzMeasures
// measures that the writer accepts (at most kMaxMeasures).
bool tooLongToWrite(const SmfParser& parser) {
  for (const ChannelTrack& channel : parser.channels) {
    std::uint32_t end = channel.lastTick;
    for (const auto& event : channel.events.items()) {
      end = std::max(end, event->tick);
    }
    const std::uint64_t count =
        std::uint64_t{parser.timeSignatures.positionOf(end).measure} + 1;
    if (count > kMaxFuzzMeasures && count <= kMaxMeasures) return true;
  }
  return false;
}

// Takes the listing and forgets it, so that memory stays flat however
// long the listing is.
class DiscardingSink : public TextSink {
 public:
  void write(std::string_view /*text*/) override {}
};

void convert(const std::uint8_t* data, std::size_t size, std::int32_t timebase,
             bool verbose) {
  // fmemopen wants a non-empty buffer.
  static const char kEmpty = 0;
  const void* bytes = size == 0 ? static_cast<const void*>(&kEmpty) : data;
  std::FILE* stream = fmemopen(const_cast<void*>(bytes), size, "rb");
  if (stream == nullptr) return;

  ProgramOptions options;
  options.timebase = timebase;
  options.verbose = verbose;
  SmfParser parser;
  currentParser = &parser;
  try {
    parser.parse(stream, "fuzz.mid", options, "SMF_fuzz");
    if (!tooLongToWrite(parser)) {
      DiscardingSink sink;
      TextStream out(&sink);
      writeSequence(parser, out, "fuzz.tune", "SMF_fuzz", options);
      out.flush();
    }
  } catch (const ParseException&) {
    // A diagnostic: the expected end for most inputs.
  }
  currentParser = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // The ignored-text notice of verbose runs goes nowhere.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  bool verbose = true;
  for (std::int32_t timebase : kTimebases) {
    convert(data, size, timebase, verbose);
    verbose = false;
  }
  return 0;
}
