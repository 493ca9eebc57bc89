// The program's option set: what each option stores in ProgramOptions, the
// conversion of the time base, and the usage text.
#include "cmdline/program_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/usage_text.h"

namespace {

// Parses `words` (the program name is put in front) into fresh options.
ProgramOptions parseOptions(const std::vector<std::string>& words) {
  std::vector<const char*> argv{"seqsmith"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  ProgramOptions options;
  MyCommandLineArgParser parser(options);
  parser.parse(static_cast<int>(argv.size()), argv.data());
  return options;
}

// The message of the command-line error `words` raise, or "<no error>".
std::string errorOf(const std::vector<std::string>& words) {
  try {
    parseOptions(words);
  } catch (const tonekit::CommandLineArgParserException& failure) {
    return failure.what();
  }
  return "<no error>";
}

TEST(ProgramOptions, DefaultsWhenNothingIsGiven) {
  const ProgramOptions options = parseOptions({});
  EXPECT_TRUE(options.inputFiles.empty());
  EXPECT_FALSE(options.verbose);
  EXPECT_FALSE(options.update);
  EXPECT_FALSE(options.help);
  EXPECT_EQ(options.outputFileName, "");
  EXPECT_EQ(options.timebase, 48);
}

TEST(ProgramOptions, FlagsInShortLongAndClusteredForms) {
  struct Case {
    std::vector<std::string> words;
    bool verbose, update, help;
  } cases[] = {
      {{"-v"}, true, false, false},
      {{"--verbose"}, true, false, false},
      {{"-u"}, false, true, false},
      {{"--update"}, false, true, false},
      {{"-h"}, false, false, true},
      {{"--help"}, false, false, true},
      {{"-uv"}, true, true, false},
      {{"-vuh"}, true, true, true},
      {{"-v", "-v", "--verbose"}, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.front());
    const ProgramOptions options = parseOptions(c.words);
    EXPECT_EQ(options.verbose, c.verbose);
    EXPECT_EQ(options.update, c.update);
    EXPECT_EQ(options.help, c.help);
    EXPECT_TRUE(options.inputFiles.empty());
    EXPECT_EQ(options.outputFileName, "");
    EXPECT_EQ(options.timebase, 48);
  }
}

TEST(ProgramOptions, OneOutputNameForAllOperandsInTheirOrder) {
  const ProgramOptions options =
      parseOptions({"-o", "out.tune", "a.mid", "b.mid"});
  EXPECT_EQ(options.outputFileName, "out.tune");
  EXPECT_EQ(options.inputFiles, (std::vector<std::string>{"a.mid", "b.mid"}));
}

TEST(ProgramOptions, OperandsAroundOptionsKeepTheirOrder) {
  const ProgramOptions options =
      parseOptions({"z.mid", "-o", "x", "a.mid", "-v", "", "m.mid"});
  EXPECT_EQ(options.inputFiles,
            (std::vector<std::string>{"z.mid", "a.mid", "", "m.mid"}));
  EXPECT_EQ(options.outputFileName, "x");
  EXPECT_TRUE(options.verbose);
}

TEST(ProgramOptions, SecondValueReplacesTheFirst) {
  EXPECT_EQ(parseOptions({"-o", "a", "-o", "b"}).outputFileName, "b");
  EXPECT_EQ(parseOptions({"--timebase", "96", "--timebase", "120"}).timebase,
            120);
}

TEST(ProgramOptions, OptionValueLooksLikeAnOptionButIsStored) {
  const ProgramOptions options = parseOptions({"-o", "-h", "--timebase", "96"});
  EXPECT_EQ(options.outputFileName, "-h");
  EXPECT_FALSE(options.help);
  EXPECT_EQ(options.timebase, 96);
}

TEST(ProgramOptions, TimebaseInEveryBase) {
  for (const char* value : {"96", "0x60", "0X60", "0140"}) {
    EXPECT_EQ(parseOptions({"--timebase", value}).timebase, 96) << value;
  }
}

TEST(ProgramOptions, CommandLineErrors) {
  struct Case {
    std::vector<std::string> words;
    std::string error;
  } cases[] = {
      {{"--o", "x"}, "unrecognized option '--o'"},
      {{"-t", "96"}, "invalid option -- t"},
      {{"--timebase", "96x"}, "invalid timebase \"96x\""},
      {{"--timebase", "96 "}, "invalid timebase \"96 \""},
      {{"--timebase", ""}, "invalid timebase \"\""},
      // The bad time base stops the parse; -h is never looked at.
      {{"--timebase", "abc", "-h"}, "invalid timebase \"abc\""},
      {{"--timebase", "abc", "-x"}, "invalid timebase \"abc\""},
      {{"-h", "--timebase"}, "option '--timebase' requires an argument"},
      {{"a.mid", "-o"}, "option requires an argument -- o"},
      {{"--version"}, "unrecognized option '--version'"},
      {{"-V"}, "invalid option -- V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.front());
    EXPECT_EQ(errorOf(c.words), c.error);
  }
}

TEST(ParseTimebase, ConvertsLikeStrtoulWithBaseZeroOn32Bits) {
  struct Case {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"96", 96},
      {"1", 1},
      {"0x60", 96},
      {"0X60", 96},
      {"0xfF", 255},
      {"0140", 96},
      {" 96", 96},
      {"\t\n\v\f\r 96", 96},
      {"+96", 96},
      {"-48", -48},
      {"-0x10", -16},
      {"-010", -8},
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN},
      {"4294967295", -1},
      {"0xffffffff", -1},
      {"037777777777", -1},
      // Magnitudes beyond 32 bits are clamped, not wrapped.
      {"4294967296", -1},
      {"0x100000060", -1},
      {"18446744073709551712", -1},
      {"99999999999999999999999999999999", -1},
      // The minus sign negates the clamped magnitude modulo 2^32.
      {"-4294967295", 1},
      {"-4294967296", 1},
      {"-18446744073709551712", 1},
      {"-2147483648", INT32_MIN},
      {"-4294967247", 49},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseTimebase(c.value), c.expected) << '"' << c.value << '"';
  }
}

TEST(ParseTimebase, RefusesLeftoverCharactersAndZero) {
  for (const char* value :
       {// Characters left after the number.
        "96x", "96 ", "96\n", "0x60 ", "1e3", "12.5", "0x1g",
        // Octal stops at 8 and 9; "0x" without a hex digit reads the 0
        // and leaves the x.
        "08", "0149", "0x", "0xg", "-0x",
        // No digits at all.
        "abc", " ", "+", "-", "- 5", "+-5", "x60",
        // A time base of 0 would leave the output without a time unit.
        "", "0", "00", "0x0", "-0", "+0", " 0", "0x00000"}) {
    try {
      parseTimebase(value);
      ADD_FAILURE() << "accepted \"" << value << '"';
    } catch (const tonekit::CommandLineArgParserException& failure) {
      EXPECT_EQ(std::string(failure.what()),
                std::string("invalid timebase \"") + value + "\"");
    }
  }
}

TEST(PrintUsage, WritesTheBannerAndOptionsToStandardOutput) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  printUsage();
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, smftest::kUsageText);
  EXPECT_EQ(err, "");
}

}  // namespace
