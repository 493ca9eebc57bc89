// Text meta events as commands: loop markers and verbatim lines of the
// sequence language for one track or for all tracks.
#include <cstdio>
#include <string>
#include <string_view>

#include "cmdline/program_options.h"
#include "events/labels.h"
#include "events/text_line.h"
#include "smf/smf_parser.h"
#include "smf/track_read_state.h"

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The payload after optional white space and a ":" that start at `pos`;
// false when something else stands there.
bool payloadAfterColon(const std::string& text, std::size_t pos,
                       std::string& payload) {
  while (pos < text.size() && isCSpace(text[pos])) ++pos;
  if (pos >= text.size() || text[pos] != ':') return false;
  payload = text.substr(pos + 1);
  return true;
}

}  // namespace

const TextLine::Marked& SmfParser::keepText(std::string payload,
                                            const std::string& label) {
  return markedTexts_.emplace_back(TextLine::Marked{std::move(payload), label});
}

void SmfParser::handleTextEvent(const std::string& text,
                                const TrackReadState& state,
                                const ProgramOptions& options,
                                const std::string& label) {
  if (text == "[" || text == "loop_start") {
    for (int n = 0; n < kChannels; ++n) {
      channels[static_cast<std::size_t>(n)].events.append(
          Event::create<TextAllEvent>(pool_, state.tick,
                                      trackLabel(label, n) + "_LoopStart:"));
    }
    return;
  }
  if (text == "]" || text == "loop_end") {
    for (int n = 0; n < kChannels; ++n) {
      channels[static_cast<std::size_t>(n)].events.append(
          Event::create<TextAllEvent>(
              pool_, state.tick,
              "    jump\t" + trackLabel(label, n) + "_LoopStart"));
    }
    return;
  }

  constexpr std::string_view kPrefix = "text_";
  constexpr std::string_view kAll = "all";
  std::string payload;
  if (text.compare(0, kPrefix.size(), kPrefix) == 0) {
    const std::size_t after = kPrefix.size();
    if (text.compare(after, kAll.size(), kAll) == 0) {
      if (payloadAfterColon(text, after + kAll.size(), payload)) {
        const TextLine::Marked& marked = keepText(std::move(payload), label);
        for (int n = 0; n < kChannels; ++n) {
          channels[static_cast<std::size_t>(n)].events.append(
              Event::create<TextAllEvent>(pool_, state.tick,
                                          TextLine(marked, n)));
        }
        return;
      }
    } else if (after < text.size() && isDigit(text[after])) {
      std::size_t pos = after;
      int channel = 0;
      while (pos < text.size() && isDigit(text[pos])) {
        if (channel < kChannels) channel = channel * 10 + (text[pos] - '0');
        ++pos;
      }
      // A number of 16 or more names no channel: the text is ignored.
      if (channel < kChannels && payloadAfterColon(text, pos, payload)) {
        channels[static_cast<std::size_t>(channel)].events.append(
            Event::create<TextEvent>(
                pool_, state.tick,
                TextLine(keepText(std::move(payload), label), channel)));
        return;
      }
    }
  }

  if (options.verbose) {
    std::fputs("seqsmith: Ignored text event: ", stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
}
