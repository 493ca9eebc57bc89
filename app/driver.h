// The conversion driver: turns the command line into options and converts
// each input file, in command-line order, into one sequence text file.
#ifndef SEQSMITH_APP_DRIVER_H_
#define SEQSMITH_APP_DRIVER_H_

#include <string>

struct ProgramOptions;
class SmfParser;
class TextStream;

// Runs the program on the process's arguments. Prints the usage text when
// no file is given or help is asked for; otherwise converts every operand.
// Returns normally when everything was converted or skipped; throws at the
// first failure, which ends the run (earlier outputs stay).
void run(int argc, const char* const argv[]);

// The output name of an operand without -o: the operand up to its last
// "." (searched in the whole operand) followed by ".tune".
std::string outputNameFor(const std::string& inputName);

// The sequence label of an operand: "SMF" + "_" + its base name with every
// byte that is not "_" or alphanumeric (in the current locale) replaced by
// "_"; the "_" after "SMF" is the name's own when it begins with one.
std::string sequenceLabelFor(const std::string& inputName);

// Writes the sequence text of a parsed file: chooses and sorts the tracks,
// cuts each into measures, extracts its patterns and writes it. Throws the
// diagnostics of assembly and rendering.
void writeSequence(SmfParser& parser, TextStream& out,
                   const std::string& outputName, const std::string& label,
                   const ProgramOptions& options);

// Converts one operand under `options`; skips it in update mode when its
// output is newer.
void convertFile(const std::string& inputName, const ProgramOptions& options);

#endif  // SEQSMITH_APP_DRIVER_H_
