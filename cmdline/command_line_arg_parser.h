// A general command-line parser for short options ("-v", clusters such as
// "-uv") and long options ("--verbose"). A subclass declares the names it
// accepts and receives every option and operand, in command-line order,
// through two virtual operations. The parser never prints: syntax errors
// are thrown as CommandLineArgParserException.
//
// Rules that differ from getopt: a long option's name is the whole rest of
// its word (no "--name=value", no abbreviations); an option with an
// argument always takes the next word whole, even one that starts with
// "-"; "--" and a lone "-" are errors, not markers.
#ifndef SEQSMITH_CMDLINE_COMMAND_LINE_ARG_PARSER_H_
#define SEQSMITH_CMDLINE_COMMAND_LINE_ARG_PARSER_H_

#include <exception>
#include <map>
#include <string>

namespace tonekit {

// A command-line syntax error. what() is the message, without a program
// prefix or line end.
class CommandLineArgParserException : public std::exception {
 public:
  explicit CommandLineArgParserException(std::string message)
      : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

class CommandLineArgParser {
 public:
  CommandLineArgParser() = default;
  virtual ~CommandLineArgParser() = default;
  CommandLineArgParser(const CommandLineArgParser&) = delete;
  CommandLineArgParser& operator=(const CommandLineArgParser&) = delete;

  // Declare `name` (without dashes) as an option without / with an
  // argument. A one-character name is a short option, a longer one a long
  // option, an empty one is ignored. Declaring a name again replaces its
  // flag.
  void addOption(std::string name);
  void addOptionWithArgument(std::string name);

  // Walks argv[1..argc-1] once, calling onOption and onOperand in order.
  // Throws CommandLineArgParserException at the first syntax error, after
  // everything before it has been reported; exceptions thrown by the two
  // callbacks leave parse unchanged.
  void parse(int argc, const char* const argv[]);

 protected:
  // One option: its name without dashes and its argument ("" if none).
  virtual void onOption(std::string name, std::string value);
  // One operand word.
  virtual void onOperand(std::string text);

 private:
  void declare(std::string name, bool takesArgument);

  std::map<char, bool> shortOptions;
  std::map<std::string, bool> longOptions;
};

}  // namespace tonekit

#endif  // SEQSMITH_CMDLINE_COMMAND_LINE_ARG_PARSER_H_
