#include "cmdline/program_options.h"

#include <cstdio>

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

struct Conversion {
  std::uint32_t value = 0;
  std::size_t end = 0;  // index just after the last character used
};

// strtoul(value, &end, 0) with a 32-bit unsigned long.
Conversion convertUnsigned(const std::string& text) {
  constexpr std::uint64_t kMax = 4294967295u;
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '0') {
    if (i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && digitValue(text[i + 2]) < 16) {
      base = 16;
      i += 2;
    } else {
      base = 8;
    }
  }
  const std::size_t digitsStart = i;
  std::uint64_t magnitude = 0;
  while (i < text.size() && digitValue(text[i]) < base) {
    magnitude = magnitude * static_cast<std::uint64_t>(base) +
                static_cast<std::uint64_t>(digitValue(text[i]));
    if (magnitude > kMax) magnitude = kMax + 1;  // saturate, keep scanning
    ++i;
  }
  Conversion result;
  if (i == digitsStart) return result;  // no digits: nothing converted
  std::uint32_t value = magnitude > kMax
                            ? static_cast<std::uint32_t>(kMax)
                            : static_cast<std::uint32_t>(magnitude);
  if (negative) value = 0u - value;
  result.value = value;
  result.end = i;
  return result;
}

void printLine(const char* line) {
  std::fputs(line, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

MyCommandLineArgParser::MyCommandLineArgParser(ProgramOptions& options)
    : options(options) {
  addOption("h");
  addOption("help");
  addOption("u");
  addOption("update");
  addOption("v");
  addOption("verbose");
  addOptionWithArgument("o");
  addOptionWithArgument("timebase");
}

void MyCommandLineArgParser::onOption(std::string name, std::string value) {
  if (name == "help" || name == "h") {
    options.help = true;
  } else if (name == "verbose" || name == "v") {
    options.verbose = true;
  } else if (name == "update" || name == "u") {
    options.update = true;
  } else if (name == "o") {
    options.outputFileName = std::move(value);
  } else if (name == "timebase") {
    options.timebase = parseTimebase(value);
  }
}

void MyCommandLineArgParser::onOperand(std::string text) {
  options.inputFiles.push_back(std::move(text));
}

std::int32_t parseTimebase(const std::string& value) {
  const Conversion conversion = convertUnsigned(value);
  if (conversion.end != value.size() || conversion.value == 0) {
    throw tonekit::CommandLineArgParserException("invalid timebase \"" + value +
                                                 "\"");
  }
  return static_cast<std::int32_t>(conversion.value);
}

void printUsage() {
  printLine("Orvane_SeqSmith Ver.0.1.0");
  printLine("Converts Standard MIDI Files into sequence text listings.");
  printLine("");
  printLine("");
  printLine("Usage:");
  printLine("  Orvane_SeqSmith [option...] file...");
  printLine("");
  printLine("Options:");
  printLine("  -v, --verbose explain what is being done");
  printLine("  -o filename   specify output filename");
  printLine("      --timebase timebase");
  printLine("                specify timebase");
  printLine(
      "  -u, --update  update only when input file is newer than output file");
  printLine("  -h, --help    display this help and exit");
}
