// Helpers for the sequence tests: a parser filled from builder-made bytes,
// and events shown as the text they render, so that a measure reads as
// "cn4 100, 48 | wait 144".
#ifndef SEQSMITH_TESTS_SEQUENCE_SEQUENCE_FIXTURE_H_
#define SEQSMITH_TESTS_SEQUENCE_SEQUENCE_FIXTURE_H_

#include <memory>
#include <string>
#include <vector>

#include "cmdline/program_options.h"
#include "events/event_list.h"
#include "events/measure.h"
#include "events/text_stream.h"
#include "smf/smf_parser.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace seqtest {

// Reads `file` as song.mid with the sequence label SMF_song.
inline std::unique_ptr<SmfParser> parseSmf(const smftest::SmfFile& file) {
  const smftest::TempDir dir;
  const std::string path = dir.file("song.mid");
  file.writeTo(path);
  auto parser = std::make_unique<SmfParser>();
  const ProgramOptions options;
  parser->parse(path, options, "SMF_song");
  return parser;
}

// The rendered events joined by " | ", every tab shown as one space and
// ",\t" as ", ".
inline std::string describe(const EventList& events) {
  std::string text;
  for (const auto& event : events.items()) {
    TextStream out;
    event->render(out);
    std::string rendered;
    for (const char c : out.text()) {
      if (c == '\t') {
        if (rendered.empty() || rendered.back() != ' ') rendered += ' ';
      } else {
        rendered += c;
      }
    }
    if (!text.empty()) text += " | ";
    text += rendered;
  }
  return text;
}

inline std::vector<std::string> describe(const std::vector<Measure>& measures) {
  std::vector<std::string> texts;
  for (const Measure& measure : measures) {
    texts.push_back(describe(measure.events));
  }
  return texts;
}

}  // namespace seqtest

#endif  // SEQSMITH_TESTS_SEQUENCE_SEQUENCE_FIXTURE_H_
