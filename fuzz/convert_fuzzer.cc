// libFuzzer target: the whole conversion of one MIDI file held in memory,
// from reading through track assembly and pattern extraction to the
// written text, under several time bases. A diagnostic is a normal end;
// anything else (a crash, a sanitizer report, another exception, a hang)
// is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "app/driver.h"
#include "app/my_exception.h"
#include "cmdline/program_options.h"
#include "events/diagnostics.h"
#include "events/text_stream.h"
#include "smf/smf_parser.h"

namespace {

// The time bases that take different paths: the default, the file's usual
// division, one that shrinks every length to nothing, a large one that
// makes products wrap, and one whose 32 bits read as negative.
constexpr std::int32_t kTimebases[] = {48, 480, 1, 100000, -48};

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
    TextStream out;
    writeSequence(parser, out, "fuzz.tune", "SMF_fuzz", options);
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
