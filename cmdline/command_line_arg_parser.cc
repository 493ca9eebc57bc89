#include "cmdline/command_line_arg_parser.h"

namespace tonekit {

void CommandLineArgParser::addOption(std::string name) {
  declare(std::move(name), false);
}

void CommandLineArgParser::addOptionWithArgument(std::string name) {
  declare(std::move(name), true);
}

void CommandLineArgParser::declare(std::string name, bool takesArgument) {
  if (name.empty()) return;
  if (name.size() == 1) {
    shortOptions[name[0]] = takesArgument;
  } else {
    longOptions[std::move(name)] = takesArgument;
  }
}

// The interface hands the strings over by value, for subclasses to keep.
// NOLINTBEGIN(performance-unnecessary-value-param)
void CommandLineArgParser::onOption(std::string /*name*/,
                                    std::string /*value*/) {}
// NOLINTEND(performance-unnecessary-value-param)

// NOLINTNEXTLINE(performance-unnecessary-value-param)
void CommandLineArgParser::onOperand(std::string /*text*/) {}

void CommandLineArgParser::parse(int argc, const char* const argv[]) {
  bool awaiting = false;
  std::string pending;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (awaiting) {
      awaiting = false;
      onOption(pending, word);
      continue;
    }
    if (word.empty() || word[0] != '-') {
      onOperand(word);
      continue;
    }
    if (word == "-") {
      throw CommandLineArgParserException("unrecognized option '-'");
    }
    if (word.compare(0, 2, "--") == 0) {
      std::string name = word.substr(2);
      auto it = longOptions.find(name);
      if (it == longOptions.end()) {
        throw CommandLineArgParserException("unrecognized option '" + word +
                                            "'");
      }
      if (it->second) {
        pending = std::move(name);
        awaiting = true;
      } else {
        onOption(std::move(name), "");
      }
      continue;
    }
    for (std::size_t k = 1; k < word.size(); ++k) {
      const char c = word[k];
      auto it = shortOptions.find(c);
      if (it == shortOptions.end()) {
        throw CommandLineArgParserException(std::string("invalid option -- ") +
                                            c);
      }
      if (it->second) {
        pending = std::string(1, c);
        awaiting = true;
      } else {
        onOption(std::string(1, c), "");
      }
    }
  }
  if (awaiting) {
    if (pending.size() == 1) {
      throw CommandLineArgParserException("option requires an argument -- " +
                                          pending);
    }
    throw CommandLineArgParserException("option '--" + pending +
                                        "' requires an argument");
  }
}

}  // namespace tonekit
