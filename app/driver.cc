#include "app/driver.h"

#include <cctype>
#include <clocale>
#include <cstdio>

#include "app/file_system.h"
#include "app/my_exception.h"
#include "app/output_file.h"
#include "cmdline/program_options.h"
#include "events/diagnostics.h"
#include "path/path_parts.h"
#include "sequence/pattern_extraction.h"
#include "sequence/sequence_writer.h"
#include "sequence/track_assembly.h"
#include "smf/smf_parser.h"

namespace {

// Makes a parser the current one for as long as it lives.
class CurrentParserScope {
 public:
  explicit CurrentParserScope(SmfParser& parser) { currentParser = &parser; }
  ~CurrentParserScope() { currentParser = nullptr; }
  CurrentParserScope(const CurrentParserScope&) = delete;
  CurrentParserScope& operator=(const CurrentParserScope&) = delete;
};

}  // namespace

void writeSequence(SmfParser& parser, TextStream& out,
                   const std::string& outputName, const std::string& label,
                   const ProgramOptions& options) {
  const auto timebase = static_cast<std::uint32_t>(options.timebase);
  const TrackAllocation allocation = allocateTracks(parser, timebase);
  writeHeader(out, outputName, label, allocation.allocationMask,
              options.timebase);
  for (int track = 0; track < SmfParser::kChannels; ++track) {
    if ((allocation.allocationMask & (1u << track)) == 0) continue;
    // The track's copies, rests and calls all go before the next track.
    const EventPool::Scope trackEvents(parser.eventPool());
    std::vector<Measure> measures =
        splitMeasures(parser, track, timebase, allocation.leadingSkip);
    const std::vector<std::unique_ptr<Pattern>> patterns =
        extractPatterns(measures, track, label);
    writeTrack(out, label, track, measures, patterns);
    measures.clear();  // release the calls before their patterns
  }
  writeTrailer(out, label);
}

std::string outputNameFor(const std::string& inputName) {
  const std::size_t dot = inputName.rfind('.');
  return inputName.substr(0, dot) + ".tune";
}

std::string sequenceLabelFor(const std::string& inputName) {
  std::string name = getBaseName(inputName);
  for (char& c : name) {
    if (c != '_' && std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
  }
  if (name.empty() || name[0] != '_') return "SMF_" + name;
  return "SMF" + name;
}

void convertFile(const std::string& inputName, const ProgramOptions& options) {
  const std::string outputName = options.outputFileName.empty()
                                     ? outputNameFor(inputName)
                                     : options.outputFileName;
  const std::string label = sequenceLabelFor(inputName);

  if (options.update && compareWriteTimes(inputName, outputName) > 0) {
    if (options.verbose) {
      std::printf("seqsmith: %s is update.\n", outputName.c_str());
      std::fflush(stdout);
    }
    return;
  }

  SmfParser parser;
  const CurrentParserScope scope(parser);
  try {
    parser.parse(inputName, options, label);
  } catch (ParseException& failure) {
    failure.fileName = inputName;
    throw;
  }

  if (isSameFile(inputName, outputName)) {
    throw my_exception("cannot open " + outputName +
                       " for writing: it is the input file");
  }
  OutputFile output(outputName);
  try {
    TextStream out(&output);
    writeSequence(parser, out, outputName, label, options);
    out.flush();
    output.close();
  } catch (...) {
    output.discard();
    throw;
  }
}

void run(int argc, const char* const argv[]) {
  std::setlocale(LC_ALL, "");
  ProgramOptions options;
  {
    MyCommandLineArgParser parser(options);
    parser.parse(argc, argv);
  }
  if (options.inputFiles.empty() || options.help) {
    printUsage();
    return;
  }
  for (const std::string& inputName : options.inputFiles) {
    convertFile(inputName, options);
  }
}
