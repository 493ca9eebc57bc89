// Helpers for the reader's tests: parse bytes from a temporary file, catch
// whatever the parse throws as one comparable record, and describe events
// as short strings.
#ifndef SEQSMITH_TESTS_SMF_PARSE_UTIL_H_
#define SEQSMITH_TESTS_SMF_PARSE_UTIL_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cmdline/program_options.h"
#include "events/diagnostics.h"
#include "smf/binary_reader.h"
#include "smf/smf_parser.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {

inline const std::string kLabel = "SMF_song";

// What a parse threw: the class, the message and the position fields
// (channel -1 for the classes without one). Kind "none" when nothing.
struct Failure {
  std::string kind = "none";
  std::string message;
  std::int32_t channel = -1;
  std::uint32_t measure = 0;
  std::uint32_t beat = 0;
  std::uint32_t tick = 0;

  bool operator==(const Failure&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Failure& f) {
  return out << f.kind << " \"" << f.message << "\" channel:" << f.channel
             << " measure:" << f.measure << " beat:" << f.beat
             << " tick:" << f.tick;
}

inline Failure parseFailure(const Bytes& bytes) {
  TempDir dir;
  const std::string path = dir.file("song.mid");
  writeBytes(path, bytes);
  SmfParser parser;
  currentParser = &parser;
  Failure f;
  try {
    parser.parse(path, ProgramOptions{}, kLabel);
  } catch (const MetaEventException& e) {
    f = {"MetaEventException", e.what(), -1, e.measure, e.beat, e.tick};
  } catch (const ChannelEventException& e) {
    f = {"ChannelEventException",
         e.what(),
         e.channel,
         e.measure,
         e.beat,
         e.tick};
  } catch (const ParseException& e) {
    f = {"ParseException", e.what()};
    // The message of "Unexpected EOF - " names the temporary file.
    const std::string eof = "Unexpected EOF - ";
    if (f.message == eof + path) f.message = eof + "<path>";
  } catch (const tonekit::strm::failure&) {
    f.kind = "strm::failure";
  }
  currentParser = nullptr;
  return f;
}

inline Failure parseFailure(const SmfFile& file) {
  return parseFailure(file.bytes());
}

inline Failure parseError(const std::string& message) {
  return {"ParseException", message};
}

inline Failure metaError(const std::string& message, std::uint32_t tick) {
  return {"MetaEventException", message, -1, 0, 0, tick};
}

inline Failure channelError(const std::string& message, std::int32_t channel,
                            std::uint32_t measure, std::uint32_t beat,
                            std::uint32_t tick) {
  return {"ChannelEventException", message, channel, measure, beat, tick};
}

// Parses a file that must read without failure.
inline std::unique_ptr<SmfParser> parseOk(const Bytes& bytes) {
  TempDir dir;
  const std::string path = dir.file("song.mid");
  writeBytes(path, bytes);
  auto parser = std::make_unique<SmfParser>();
  currentParser = parser.get();
  try {
    parser->parse(path, ProgramOptions{}, kLabel);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "parse failed: " << e.what();
  }
  currentParser = nullptr;
  return parser;
}

inline std::unique_ptr<SmfParser> parseOk(const SmfFile& file) {
  return parseOk(file.bytes());
}

// One event as a short string: its class, tick and fields, for example
// "note@0 60 100 96" (key, velocity, duration).
inline std::string describe(const Event& event) {
  const std::string at = "@" + std::to_string(event.tick);
  if (auto* e = dynamic_cast<const NoteEvent*>(&event)) {
    return "note" + at + " " + std::to_string(e->key) + " " +
           std::to_string(e->velocity) + " " + std::to_string(e->duration);
  }
  if (auto* e = dynamic_cast<const ControlChangeEvent*>(&event)) {
    return "cc" + at + " " + std::to_string(e->controller) + " " +
           std::to_string(e->value);
  }
  if (auto* e = dynamic_cast<const RpnNrpnEvent*>(&event)) {
    return (e->kind == RpnNrpnEvent::kRegistered ? "rpn" : "nrpn") + at + " " +
           std::to_string(e->parameterMsb) + " " +
           std::to_string(e->parameterLsb) + " " + std::to_string(e->value);
  }
  if (auto* e = dynamic_cast<const ProgramChangeEvent*>(&event)) {
    return "program" + at + " " + std::to_string(e->program);
  }
  if (auto* e = dynamic_cast<const PitchBendEvent*>(&event)) {
    return "bend" + at + " " + std::to_string(e->bend);
  }
  if (auto* e = dynamic_cast<const TempoEvent*>(&event)) {
    return "tempo" + at + " " + std::to_string(e->bpm);
  }
  if (auto* e = dynamic_cast<const TextAllEvent*>(&event)) {
    return "textall" + at + " " + e->text();
  }
  if (auto* e = dynamic_cast<const TextEvent*>(&event)) {
    return "text" + at + " " + e->text();
  }
  if (auto* e = dynamic_cast<const BeatEvent*>(&event)) {
    return "beat" + at + " " + std::to_string(e->numerator) + "/" +
           std::to_string(e->denominator) + " " +
           std::to_string(e->clocksPerClick) + " " +
           std::to_string(e->thirtySecondsPerQuarter);
  }
  return "other" + at;
}

// The events of one channel, described.
inline std::vector<std::string> eventsOf(const SmfParser& parser, int channel) {
  std::vector<std::string> out;
  for (const auto& event :
       parser.channels[static_cast<std::size_t>(channel)].events.items()) {
    out.push_back(describe(*event));
  }
  return out;
}

// The time signatures of the file, described.
inline std::vector<std::string> timeSignaturesOf(const SmfParser& parser) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < parser.timeSignatures.size(); ++i) {
    out.push_back(describe(parser.timeSignatures[i]));
  }
  return out;
}

// The channels whose lists are not empty.
inline std::vector<int> busyChannels(const SmfParser& parser) {
  std::vector<int> out;
  for (int n = 0; n < SmfParser::kChannels; ++n) {
    if (!parser.channels[static_cast<std::size_t>(n)].events.empty()) {
      out.push_back(n);
    }
  }
  return out;
}

}  // namespace smftest

#endif  // SEQSMITH_TESTS_SMF_PARSE_UTIL_H_
