// The program entry: runs the driver and reports the first failure on
// standard error, in one fixed format per kind of failure.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "app/driver.h"
#include "app/my_exception.h"
#include "cmdline/command_line_arg_parser.h"
#include "events/diagnostics.h"

namespace {

// Writes whole lines to standard error, after standard output has been
// flushed so that notices and errors keep their order.
void reportLines(const std::string& text) {
  std::fflush(stdout);
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

std::string diagnosticLine(const ParseException& failure) {
  return "seqsmith: " + failure.fileName + ": " + failure.what();
}

std::string positionLine(std::uint32_t measure, std::uint32_t beat,
                         std::uint32_t tick) {
  return " measure:" + std::to_string(measure) +
         " beat:" + std::to_string(beat) + " tick:" + std::to_string(tick) +
         " ]\n";
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    run(argc, argv);
    return 0;
  } catch (const MetaEventException& failure) {
    reportLines(diagnosticLine(failure) + "\n         [" +
                positionLine(failure.measure, failure.beat, failure.tick));
  } catch (const ChannelEventException& failure) {
    reportLines(diagnosticLine(failure) +
                "\n         [ channel:" + std::to_string(failure.channel) +
                positionLine(failure.measure, failure.beat, failure.tick));
  } catch (const ControlChangeEventException& failure) {
    reportLines(diagnosticLine(failure) +
                " (CC:" + std::to_string(failure.controller) +
                " value:" + std::to_string(failure.value) + ")\n         [" +
                positionLine(failure.measure, failure.beat, failure.tick));
  } catch (const ParseException& failure) {
    reportLines(diagnosticLine(failure) + "\n");
  } catch (const tonekit::CommandLineArgParserException& failure) {
    reportLines(std::string("seqsmith: ") + failure.what() +
                "\nTry 'seqsmith --help' for more information.\n");
  } catch (const my_exception& failure) {
    reportLines(std::string("seqsmith: ") + failure.what() + "\n");
  } catch (const std::exception& failure) {
    reportLines(std::string("seqsmith: Unexpected exception\n message:") +
                failure.what() + "\n");
  } catch (...) {
    reportLines("seqsmith: Unexpected exception\n");
  }
  return 1;
}
