// The converter's own options: what the command line sets, how it is
// declared to the option parser, and the usage text.
#ifndef SEQSMITH_CMDLINE_PROGRAM_OPTIONS_H_
#define SEQSMITH_CMDLINE_PROGRAM_OPTIONS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "cmdline/command_line_arg_parser.h"

// The results of the command line; created with these defaults by the
// driver and filled by MyCommandLineArgParser.
struct ProgramOptions {
  std::vector<std::string> inputFiles;  // operands, in command-line order
  bool verbose = false;                 // -v, --verbose
  bool update = false;                  // -u, --update
  bool help = false;                    // -h, --help
  std::string outputFileName;           // -o NAME; empty: derive per input
  std::int32_t timebase = 48;  // --timebase N: output ticks per quarter
};

// Declares -h/--help, -u/--update, -v/--verbose, -o NAME and --timebase N
// and stores what the parser reports into a ProgramOptions record, which
// must outlive this object.
class MyCommandLineArgParser : public tonekit::CommandLineArgParser {
 public:
  explicit MyCommandLineArgParser(ProgramOptions& options);

 protected:
  void onOption(std::string name, std::string value) override;
  void onOperand(std::string text) override;

 private:
  ProgramOptions& options;
};

// Converts a --timebase value by the rules of strtoul with base 0 (leading
// white space, sign, 0x / 0 prefixes) on a 32-bit unsigned long: magnitudes
// above 4294967295 clamp to it before a minus sign negates. Returns the 32
// bits as a signed value. Throws tonekit::CommandLineArgParserException
// `invalid timebase "VALUE"` when characters are left over or when the
// result is 0, which would leave the output without a time base.
std::int32_t parseTimebase(const std::string& value);

// Writes the version banner and usage text to standard output, flushing
// after every line.
void printUsage();

#endif  // SEQSMITH_CMDLINE_PROGRAM_OPTIONS_H_
