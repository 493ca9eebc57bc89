// The general option parser: what it reports, in which order, and the five
// syntax errors it throws, seen through a subclass that records every call.
#include "cmdline/command_line_arg_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records "option NAME=VALUE" and "operand TEXT" in the order of the calls.
class RecordingParser : public tonekit::CommandLineArgParser {
 public:
  std::vector<std::string> calls;

 protected:
  void onOption(std::string name, std::string value) override {
    calls.push_back("option " + name + "=" + value);
  }
  void onOperand(std::string text) override {
    calls.push_back("operand " + text);
  }
};

// A parser with the declarations used by most cases: h, v and help without
// an argument; o, t, in and timebase with one.
void declareUsual(RecordingParser& parser) {
  parser.addOption("h");
  parser.addOption("v");
  parser.addOption("help");
  parser.addOptionWithArgument("o");
  parser.addOptionWithArgument("t");
  parser.addOptionWithArgument("in");
  parser.addOptionWithArgument("timebase");
}

struct Outcome {
  std::vector<std::string> calls;
  std::string error;  // the exception's message, "" when none was thrown
};

// Parses `words` (the program name is put in front) and returns the calls
// made and the message of the syntax error, if any.
Outcome parseWords(RecordingParser& parser,
                   const std::vector<std::string>& words) {
  std::vector<const char*> argv{"seqsmith"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  Outcome outcome;
  try {
    parser.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const tonekit::CommandLineArgParserException& failure) {
    outcome.error = failure.what();
  }
  outcome.calls = parser.calls;
  return outcome;
}

struct Case {
  std::vector<std::string> words;
  std::vector<std::string> calls;
  std::string error;
};

void checkCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& word : c.words) shown += "[" + word + "] ";
    SCOPED_TRACE(shown);
    RecordingParser parser;
    declareUsual(parser);
    const Outcome outcome = parseWords(parser, c.words);
    EXPECT_EQ(outcome.calls, c.calls);
    EXPECT_EQ(outcome.error, c.error);
  }
}

TEST(CommandLineArgParser, ReportsOptionsAndOperandsInCommandLineOrder) {
  checkCases({
      {{}, {}, ""},
      {{"a.mid", "-v", "b.mid"},
       {"operand a.mid", "option v=", "operand b.mid"},
       ""},
      {{""}, {"operand "}, ""},
      {{"a-b", "x-"}, {"operand a-b", "operand x-"}, ""},
      {{"--help", "--timebase", "96", "-o", "out"},
       {"option help=", "option timebase=96", "option o=out"},
       ""},
      {{"-hv", "-vh"},
       {"option h=", "option v=", "option v=", "option h="},
       ""},
  });
}

TEST(CommandLineArgParser, PendingOptionTakesTheNextWordWhole) {
  checkCases({
      {{"-o", "-v"}, {"option o=-v"}, ""},
      {{"-o", "--"}, {"option o=--"}, ""},
      {{"-o", "-"}, {"option o=-"}, ""},
      {{"-o", ""}, {"option o="}, ""},
      {{"-o", "--timebase", "96"}, {"option o=--timebase", "operand 96"}, ""},
      {{"--timebase", "-h"}, {"option timebase=-h"}, ""},
      {{"--in", "-"}, {"option in=-"}, ""},
      {{"--timebase", "--bogus"}, {"option timebase=--bogus"}, ""},
  });
}

TEST(CommandLineArgParser, ClusterIsReadCharacterByCharacter) {
  checkCases({
      // The options after o in its cluster are reported before o itself.
      {{"-ov", "out"}, {"option v=", "option o=out"}, ""},
      {{"-hov", "out", "x"},
       {"option h=", "option v=", "option o=out", "operand x"},
       ""},
      // Only the last pending name of a cluster receives the argument.
      {{"-ot", "a"}, {"option t=a"}, ""},
      {{"-oo", "a"}, {"option o=a"}, ""},
      // -ofile is o, f, i, l, e: f is not declared.
      {{"-ofile"}, {}, "invalid option -- f"},
      {{"-hx"}, {"option h="}, "invalid option -- x"},
  });
}

TEST(CommandLineArgParser, SyntaxErrorsHaveTheirExactMessages) {
  checkCases({
      {{"-"}, {}, "unrecognized option '-'"},
      {{"--"}, {}, "unrecognized option '--'"},
      {{"--bogus"}, {}, "unrecognized option '--bogus'"},
      {{"--help=1"}, {}, "unrecognized option '--help=1'"},
      {{"--hel"}, {}, "unrecognized option '--hel'"},
      {{"--Help"}, {}, "unrecognized option '--Help'"},
      {{"--timebase=96"}, {}, "unrecognized option '--timebase=96'"},
      // A one-character name is only ever a short option.
      {{"--o", "x"}, {}, "unrecognized option '--o'"},
      {{"-V"}, {}, "invalid option -- V"},
      {{"-7"}, {}, "invalid option -- 7"},
      {{"-\xC3\xA9"}, {}, "invalid option -- \xC3"},
      {{"-o"}, {}, "option requires an argument -- o"},
      {{"-vo"}, {"option v="}, "option requires an argument -- o"},
      {{"--timebase"}, {}, "option '--timebase' requires an argument"},
      {{"--in"}, {}, "option '--in' requires an argument"},
      {{"-o", "x", "-t"}, {"option o=x"}, "option requires an argument -- t"},
      // Of two pending names in one cluster, the last decides the message.
      {{"-to"}, {}, "option requires an argument -- o"},
  });
}

TEST(CommandLineArgParser, EverythingBeforeTheErrorIsReportedAndNothingAfter) {
  checkCases({
      {{"a", "-v", "b", "-x", "c", "-h"},
       {"operand a", "option v=", "operand b"},
       "invalid option -- x"},
      {{"a", "--bogus", "b"}, {"operand a"}, "unrecognized option '--bogus'"},
      {{"-h", "-", "-v"}, {"option h="}, "unrecognized option '-'"},
      {{"a", "--timebase"},
       {"operand a"},
       "option '--timebase' requires an argument"},
  });
}

TEST(CommandLineArgParser, NoWordsAfterTheProgramNameMakeNoCall) {
  for (const int argc : {0, 1}) {
    RecordingParser parser;
    declareUsual(parser);
    const char* argv[] = {"-h", nullptr};
    parser.parse(argc, argv);
    EXPECT_TRUE(parser.calls.empty()) << "argc " << argc;
  }
}

TEST(CommandLineArgParser, ProgramNameIsNeverExamined) {
  RecordingParser parser;
  declareUsual(parser);
  const char* argv[] = {"-x", "a"};
  parser.parse(2, argv);
  EXPECT_EQ(parser.calls, std::vector<std::string>{"operand a"});
}

TEST(CommandLineArgParser, PendingOptionDoesNotCarryIntoTheNextParse) {
  RecordingParser parser;
  declareUsual(parser);
  EXPECT_EQ(parseWords(parser, {"-o"}).error,
            "option requires an argument -- o");
  parser.calls.clear();
  const Outcome second = parseWords(parser, {"x"});
  EXPECT_EQ(second.calls, std::vector<std::string>{"operand x"});
  EXPECT_EQ(second.error, "");
}

TEST(CommandLineArgParser, LastDeclarationOfANameWins) {
  RecordingParser parser;
  parser.addOption("v");
  parser.addOptionWithArgument("v");
  parser.addOptionWithArgument("o");
  parser.addOption("o");
  parser.addOption("long");
  parser.addOptionWithArgument("long");
  const Outcome outcome =
      parseWords(parser, {"-v", "x", "-o", "y", "--long", "z"});
  EXPECT_EQ(outcome.calls,
            (std::vector<std::string>{"option v=x", "option o=", "operand y",
                                      "option long=z"}));
  EXPECT_EQ(outcome.error, "");
}

TEST(CommandLineArgParser, EmptyNameIsNotDeclared) {
  RecordingParser parser;
  parser.addOption("");
  parser.addOptionWithArgument("");
  EXPECT_EQ(parseWords(parser, {"--"}).error, "unrecognized option '--'");
  EXPECT_EQ(parseWords(parser, {"-"}).error, "unrecognized option '-'");
}

TEST(CommandLineArgParser, UndeclaredParserRejectsEveryOption) {
  tonekit::CommandLineArgParser parser;
  const char* argv[] = {"seqsmith", "a", "-v"};
  try {
    parser.parse(3, argv);
    FAIL() << "no exception";
  } catch (const tonekit::CommandLineArgParserException& failure) {
    EXPECT_STREQ(failure.what(), "invalid option -- v");
  }
}

}  // namespace
