// Text meta events as commands: loop markers, lines for all tracks or for
// one, the "$" substitutions, and the texts that are ignored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/smf/parse_util.h"

namespace smftest {
namespace {

using Strings = std::vector<std::string>;

std::unique_ptr<SmfParser> parseText(const std::string& text, int type = 1) {
  SmfFile file;
  file.addTrack().text(480, text, type).endOfTrack();
  return parseOk(file);
}

// `pattern` with every "{n}" replaced by the channel number.
std::string forChannel(std::string pattern, int n) {
  for (std::size_t at; (at = pattern.find("{n}")) != std::string::npos;) {
    pattern.replace(at, 3, std::to_string(n));
  }
  return pattern;
}

TEST(TextCommands, LinesForEveryTrack) {
  const struct {
    std::string text;
    std::string line;  // "{n}" stands for the channel
  } cases[] = {
      {"[", "SMF_song_Track_{n}_LoopStart:"},
      {"loop_start", "SMF_song_Track_{n}_LoopStart:"},
      {"]", "    jump\tSMF_song_Track_{n}_LoopStart"},
      {"loop_end", "    jump\tSMF_song_Track_{n}_LoopStart"},
      {"text_all:vol $$x $y", "vol Track_{n}_x SMF_song_Track_{n}_y"},
      {"text_all   :abc", "abc"},
      {"text_all \t\n\v\f\r:abc", "abc"},
      {"text_all:", ""},
      {"text_all: x", " x"},
      {"text_all:a:b $$$ $$$$",
       "a:b Track_{n}_SMF_song_Track_{n}_ "
       "Track_{n}_Track_{n}_"},
      {std::string("loop_end\0xyz", 12),
       "    jump\tSMF_song_Track_{n}_LoopStart"},
  };
  for (const auto& c : cases) {
    const auto parser = parseText(c.text);
    for (int n = 0; n < SmfParser::kChannels; ++n) {
      EXPECT_EQ(eventsOf(*parser, n),
                Strings{"textall@480 " + forChannel(c.line, n)})
          << c.text << " channel " << n;
    }
  }
}

TEST(TextCommands, TheSixteenLinesOfATextForAllTracksShareIt) {
  // A long text full of marks is held once, not once per channel spelled
  // out (each "$" becomes a label of twenty bytes).
  const auto parser = parseText("text_all:" + std::string(1000, '$'));
  const auto& first =
      static_cast<const TextEvent&>(parser->channels[0].events[0]);
  for (int n = 1; n < SmfParser::kChannels; ++n) {
    const auto& line = static_cast<const TextEvent&>(
        parser->channels[static_cast<std::size_t>(n)].events[0]);
    EXPECT_TRUE(line.line.sharesTextWith(first.line)) << "channel " << n;
    EXPECT_EQ(line.text().size(),
              500 * (sizeof "Track_n_" - 1 + (n >= 10 ? 1 : 0)))
        << "channel " << n;
  }
}

TEST(TextCommands, LinesForOneTrack) {
  const struct {
    std::string text;
    int channel;
    std::string line;
  } cases[] = {
      {"text_3:$$$", 3, "Track_3_SMF_song_Track_3_"},
      {"text_03 :x", 3, "x"},
      {"text_0003\t: x", 3, " x"},
      {"text_7:x", 7, "x"},
      {"text_15:a$b", 15, "aSMF_song_Track_15_b"},
      {"text_0:", 0, ""},
  };
  for (const auto& c : cases) {
    const auto parser = parseText(c.text);
    EXPECT_EQ(busyChannels(*parser), std::vector<int>{c.channel}) << c.text;
    EXPECT_EQ(eventsOf(*parser, c.channel), Strings{"text@480 " + c.line})
        << c.text;
  }
}

TEST(TextCommands, OtherTextsAreIgnored) {
  const std::string ignored[] = {
      "Loop_Start", "loop_start ", " [", "[]", "text_all", "text_allx:abc",
      "text_all abc", "text_x:abc", "text_", "text_3", "text_3 x:y", "Text_3:x",
      "hello", "", "text_16:x", "text_0016:x",
      // 2^32 + 3: a number that wraps at 32 bits would name channel 3
      "text_4294967299:x", "text_99999999999999999999999999:x",
      std::string("\0loop_start", 11)};
  for (const std::string& text : ignored) {
    EXPECT_TRUE(busyChannels(*parseText(text)).empty()) << text;
  }
}

TEST(TextCommands, EveryTextTypeCarriesCommands) {
  for (int type : {0x01, 0x02, 0x03, 0x05, 0x06, 0x0F}) {
    const auto parser = parseText("loop_start", type);
    EXPECT_EQ(eventsOf(*parser, 9),
              Strings{"textall@480 SMF_song_Track_9_LoopStart:"})
        << type;
  }
  for (int type : {0x00, 0x10, 0x20, 0x7F}) {
    EXPECT_TRUE(busyChannels(*parseText("loop_start", type)).empty()) << type;
  }
}

TEST(TextCommands, LinesFollowTheEventsBeforeThem) {
  SmfFile file;
  file.addTrack()
      .program(0, 3, 1)
      .text(96, "text_3:one")
      .text(0, "text_all:two")
      .program(0, 3, 2)
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 3), (Strings{"program@0 1", "text@96 one",
                                           "textall@96 two", "program@96 2"}));
}

}  // namespace
}  // namespace smftest
