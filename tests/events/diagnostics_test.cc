// The diagnostics: their messages, and the positions they carry.
#include "events/diagnostics.h"

#include <gtest/gtest.h>

#include <memory>

#include "events/event.h"
#include "smf/smf_parser.h"

namespace {

// Makes `parser` the current parser for the life of the guard.
class CurrentParserGuard {
 public:
  explicit CurrentParserGuard(SmfParser* parser) : saved_(currentParser) {
    currentParser = parser;
  }
  ~CurrentParserGuard() { currentParser = saved_; }
  CurrentParserGuard(const CurrentParserGuard&) = delete;
  CurrentParserGuard& operator=(const CurrentParserGuard&) = delete;

 private:
  SmfParser* saved_;
};

// A parser whose time map holds the header's 4/4 at division 480 and, when
// `numerator` is not 0, a time signature of `numerator`/4 at tick 0.
std::unique_ptr<SmfParser> parserWith(std::uint8_t numerator) {
  auto parser = std::make_unique<SmfParser>();
  parser->division = 480;
  parser->timeSignatures.append(
      std::make_unique<BeatEvent>(0, 4, 2, 24, 8, 480));
  if (numerator != 0) {
    parser->timeSignatures.back().closeAt(0);
    parser->timeSignatures.append(
        std::make_unique<BeatEvent>(0, numerator, 2, 24, 8, 480));
  }
  return parser;
}

TEST(Diagnostics, ChannelEventPositionComesFromTheCurrentParser) {
  const struct {
    std::uint8_t numeratorAtZero;  // 0: the header's 4/4 only
    std::uint32_t measure, beat, tick;
  } cases[] = {
      {0, 1, 0, 10},
      {3, 1, 1, 10},
      {2, 2, 0, 10},
  };
  for (const auto& c : cases) {
    const auto parser = parserWith(c.numeratorAtZero);
    const CurrentParserGuard guard(parser.get());
    const ChannelEventException e("Unmatch Note Off Event", 9, 1930);
    SCOPED_TRACE(static_cast<int>(c.numeratorAtZero));
    EXPECT_STREQ(e.what(), "Unmatch Note Off Event");
    EXPECT_EQ(e.message, "Unmatch Note Off Event");
    EXPECT_EQ(e.fileName, "");
    EXPECT_EQ(e.channel, 9);
    EXPECT_EQ(e.measure, c.measure);
    EXPECT_EQ(e.beat, c.beat);
    EXPECT_EQ(e.tick, c.tick);
  }
}

TEST(Diagnostics, ChannelEventWithoutCurrentParserKeepsTheAbsoluteTick) {
  const CurrentParserGuard guard(nullptr);
  const ChannelEventException e("Unmatch Note On Event", 15, 1930);
  EXPECT_STREQ(e.what(), "Unmatch Note On Event");
  EXPECT_EQ(e.channel, 15);
  EXPECT_EQ(e.measure, 0u);
  EXPECT_EQ(e.beat, 0u);
  EXPECT_EQ(e.tick, 1930u);
}

TEST(Diagnostics, ChannelEventUsesTheTimeSignaturesReadSoFar) {
  const auto parser = parserWith(0);
  const CurrentParserGuard guard(parser.get());
  const ChannelEventException before("x", 0, 5760);
  EXPECT_EQ(before.measure, 3u);
  EXPECT_EQ(before.beat, 0u);
  parser->timeSignatures.back().closeAt(3840);
  parser->timeSignatures.append(
      std::make_unique<BeatEvent>(3840, 3, 2, 24, 8, 480));
  const ChannelEventException after("x", 0, 5760);
  EXPECT_EQ(after.measure, 3u);
  EXPECT_EQ(after.beat, 1u);
  EXPECT_EQ(after.tick, 0u);
}

TEST(Diagnostics, MetaEventPositionIsAlwaysTheAbsoluteTick) {
  const auto parser = parserWith(3);
  const CurrentParserGuard guard(parser.get());
  const MetaEventException e("Time Signature is not on a measure border", 1000);
  EXPECT_STREQ(e.what(), "Time Signature is not on a measure border");
  EXPECT_EQ(e.fileName, "");
  EXPECT_EQ(e.measure, 0u);
  EXPECT_EQ(e.beat, 0u);
  EXPECT_EQ(e.tick, 1000u);
}

TEST(Diagnostics, WhatIsExactlyTheMessage) {
  const CurrentParserGuard guard(nullptr);
  ParseException parse("Not SMF file");
  parse.fileName = "song.mid";  // the driver's addition stays out of what()
  const MetaEventException meta("Too small TPQN", 3840);
  const ChannelEventException channel("Unmatch Note On Event", 0, 0);
  const ControlChangeEventException control("Invalid bank_select value", 0, 5,
                                            960);
  const struct {
    const std::exception* exception;
    const char* text;
  } cases[] = {
      {&parse, "Not SMF file"},
      {&meta, "Too small TPQN"},
      {&channel, "Unmatch Note On Event"},
      {&control, "Invalid bank_select value"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.exception->what(), c.text);
    EXPECT_NE(dynamic_cast<const ParseException*>(c.exception), nullptr);
  }
  EXPECT_EQ(control.controller, 0);
  EXPECT_EQ(control.value, 5);
  EXPECT_EQ(control.measure, 0u);
  EXPECT_EQ(control.beat, 0u);
  EXPECT_EQ(control.tick, 960u);
  EXPECT_EQ(control.fileName, "");
}

TEST(Diagnostics, ACaughtCopyKeepsEveryField) {
  const auto parser = parserWith(3);
  const CurrentParserGuard guard(parser.get());
  try {
    try {
      throw ChannelEventException("Unmatch Note Off Event", 9, 1930);
    } catch (ParseException& e) {
      e.fileName = "song.mid";  // as the driver does, then throws it on
      throw;
    }
  } catch (const ChannelEventException& e) {
    EXPECT_EQ(e.fileName, "song.mid");
    EXPECT_STREQ(e.what(), "Unmatch Note Off Event");
    EXPECT_EQ(e.channel, 9);
    EXPECT_EQ(e.measure, 1u);
    EXPECT_EQ(e.beat, 1u);
    EXPECT_EQ(e.tick, 10u);
  }
}

}  // namespace
