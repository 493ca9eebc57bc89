// Decoding the events of a track chunk: running status, the channel
// message kinds, controllers and parameter numbers, meta events and their
// length checks, and the status bytes that are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/smf/parse_util.h"

namespace smftest {
namespace {

using Strings = std::vector<std::string>;

// One track chunk of these raw events, closed by End of Track.
Bytes oneTrack(const Bytes& events) {
  SmfFile file;
  file.addTrack().raw(events).endOfTrack();
  return file.bytes();
}

TEST(TrackDecoder, RunningStatusSurvivesMetaAndSysexEvents) {
  SmfFile file;
  file.addTrack()
      .noteOn(0, 0, 60, 64)
      .text(0, "hello")
      .raw({0x00, 62, 64})  // note on 62 under running status 90
      .sysex(0, {1, 2, 3, 4, 5})
      .raw({0x00, 64, 64})  // still 90 after the sysex
      .raw({0x00, 0xF7, 0x01, 0xF7})
      .raw({0x60, 60, 0, 0x00, 62, 0, 0x00, 64, 0})  // velocity 0 ends them
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 0),
            (Strings{"note@0 60 64 96", "note@0 62 64 96", "note@0 64 64 96"}));
}

TEST(TrackDecoder, RunningStatusOfOneDataByteMessages) {
  const auto parser = parseOk(oneTrack({0x00, 0xC5, 16, 0x10, 17}));
  EXPECT_EQ(eventsOf(*parser, 5), (Strings{"program@0 16", "program@16 17"}));
}

TEST(TrackDecoder, LoneDataByteIsConsumedAloneAndRaisesChannelZero) {
  const auto parser = parseOk(oneTrack({0x0A, 0x3C, 0x05, 0xC1, 7}));
  EXPECT_TRUE(parser->channels[0].events.empty());
  EXPECT_EQ(parser->channels[0].lastTick, 10u);
  EXPECT_EQ(eventsOf(*parser, 1), Strings{"program@15 7"});
}

TEST(TrackDecoder, NoteOnWithVelocityZeroEndsANoteLikeNoteOff) {
  const auto parser =
      parseOk(oneTrack({0x00, 0x90, 60, 100, 0x60, 0x90, 60, 0, 0x00, 0x90, 61,
                        100, 0x10, 0x80, 61, 0x7F}));
  EXPECT_EQ(eventsOf(*parser, 0),
            (Strings{"note@0 60 100 96", "note@96 61 100 16"}));
}

TEST(TrackDecoder, ControllersAndChannelModeMessages) {
  Bytes events = {0x00, 0xB2, 7,    100,  0x00, 0xB2, 0,    3,    0x00, 0xB2,
                  32,   1,    0x00, 0xB2, 119,  5,    0x00, 0xB2, 96,   1};
  for (std::uint8_t mode = 120; mode < 128; ++mode) {
    events.insert(events.end(), {0x01, 0xB2, mode, 0});
  }
  const auto parser = parseOk(oneTrack(events));
  EXPECT_EQ(eventsOf(*parser, 2),
            (Strings{"cc@0 7 100", "cc@0 0 3", "cc@0 32 1", "cc@0 119 5",
                     "cc@0 96 1"}));
  // The dropped mode messages still raise the channel's last tick.
  EXPECT_EQ(parser->channels[2].lastTick, 8u);
}

TEST(TrackDecoder, ParameterNumbersAndDataEntry) {
  const struct {
    const char* name;
    std::vector<Bytes> tracks;  // raw events, one entry per track chunk
    int channel;
    Strings events;
  } cases[] = {
      {"registered 0 0",
       {{0x00, 0xB0, 101, 0, 0x00, 0xB0, 100, 0, 0x00, 0xB0, 6, 2}},
       0,
       {"rpn@0 0 0 2"}},
      {"non-registered 1 8 on channel 3",
       {{0x00, 0xB3, 99, 1, 0x00, 0xB3, 98, 8, 0x00, 0xB3, 6, 64}},
       3,
       {"nrpn@0 1 8 64"}},
      {"data entry before any selection",
       {{0x00, 0xB0, 6, 5}},
       0,
       {"rpn@0 127 127 5"}},
      {"registers shared across channels",
       {{0x00, 0xB0, 101, 0, 0x00, 0xB1, 6, 12}},
       1,
       {"rpn@0 0 127 12"}},
      {"registers kept after a data entry, data entry low byte ignored",
       {{0x00, 0xB0, 99, 2, 0x00, 0xB0, 6, 1, 0x00, 0xB0, 38, 9, 0x00, 0xB0, 6,
         3}},
       0,
       {"nrpn@0 2 127 1", "nrpn@0 2 127 3"}},
      {"a registered selection after a non-registered one",
       {{0x00, 0xB0, 99, 1, 0x00, 0xB0, 98, 2, 0x00, 0xB0, 100, 3,
         0x00, 0xB0, 6,  4, 0x00, 0xB0, 98, 5, 0x00, 0xB0, 6,   6}},
       0,
       {"rpn@0 127 3 4", "nrpn@0 1 5 6"}},
      {"registers reset for each track chunk",
       {{0x00, 0xB0, 99, 1, 0x00, 0xB0, 98, 2}, {0x00, 0xB0, 6, 7}},
       0,
       {"rpn@0 127 127 7"}},
  };
  for (const auto& c : cases) {
    SmfFile file;
    for (const Bytes& events : c.tracks)
      file.addTrack().raw(events).endOfTrack();
    const auto parser = parseOk(file);
    EXPECT_EQ(eventsOf(*parser, c.channel), c.events) << c.name;
    EXPECT_EQ(busyChannels(*parser), std::vector<int>{c.channel}) << c.name;
  }
}

TEST(TrackDecoder, PitchBendValues) {
  // The event keeps the centred 14-bit value divided by 64, rounded down.
  const auto parser = parseOk(
      oneTrack({0x00, 0xE0, 0x00, 0x40, 0x00, 0xE0, 0x7F, 0x7F, 0x00, 0xE0,
                0x00, 0x00, 0x00, 0xE0, 0x7F, 0x3F, 0x00, 0xE0, 0x40, 0x40}));
  EXPECT_EQ(eventsOf(*parser, 0),
            (Strings{"bend@0 0", "bend@0 127", "bend@0 -128", "bend@0 -1",
                     "bend@0 1"}));
}

TEST(TrackDecoder, PressureMessagesOnlyRaiseTheLastTick) {
  SmfFile file;
  file.addTrack().raw({0x83, 0x60, 0xC5, 16}).endOfTrack();  // tick 480
  file.addTrack()
      .raw({0x32, 0xD5, 0x20})        // tick 50: below 480, no change
      .raw({0x00, 0xA6, 60, 10})      // key pressure on channel 6
      .raw({0x83, 0x00, 0xD6, 0x20})  // tick 434 on channel 6
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 5), Strings{"program@480 16"});
  EXPECT_EQ(parser->channels[5].lastTick, 480u);
  EXPECT_TRUE(parser->channels[6].events.empty());
  EXPECT_EQ(parser->channels[6].lastTick, 434u);
}

TEST(TrackDecoder, MetaEventsLeaveLastTickAndRunningStatusAlone) {
  SmfFile file;
  file.addTrack()
      .program(10, 4, 1)
      .tempo(500, 500000)
      .text(0, "loop_start")
      .meta(0, 0x59, {0x02, 0x00})
      .sysex(0, {1})
      .endOfTrack();
  const auto parser = parseOk(file);
  for (const ChannelTrack& channel : parser->channels) {
    EXPECT_EQ(channel.lastTick, &channel == &parser->channels[4] ? 10u : 0u);
  }
}

TEST(TrackDecoder, TempoIsFiledUnderChannelZeroFromAnyTrack) {
  SmfFile file;
  file.addTrack().tempo(0, 500000).endOfTrack();
  file.addTrack()
      .program(0, 9, 1)
      .raw({0x60, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20})
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 0), (Strings{"tempo@0 120", "tempo@96 120"}));
  EXPECT_EQ(eventsOf(*parser, 9), Strings{"program@0 1"});
}

TEST(TrackDecoder, TimeSignatures) {
  SmfFile file;
  file.addTrack()
      .meta(0, 0x58, {0x03, 0x02})       // 3/4, no metronome bytes
      .timeSignature(1440, 6, 3, 36, 8)  // 6/8 after one measure
      .meta(1440, 0x59, {0x02, 0x00})    // key signature: nothing
      .meta(0, 0x00, {0x00, 0x01})       // sequence number: nothing
      .meta(0, 0x21, {0x00})             // port: nothing
      .meta(0, 0x7F, Bytes(300, 0x2A))   // sequencer-specific: nothing
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(
      timeSignaturesOf(*parser),
      (Strings{"beat@0 4/4 24 8", "beat@0 3/4 24 8", "beat@1440 6/8 36 8"}));
  EXPECT_TRUE(busyChannels(*parser).empty());
}

TEST(TrackDecoder, EndOfTrackDataIsPassedOver) {
  SmfFile file;
  file.addTrack().program(0, 1, 5).meta(0, 0x2F, {'M', 'T'});
  file.addTrack().program(0, 1, 6).endOfTrack();
  EXPECT_EQ(eventsOf(*parseOk(file), 1),
            (Strings{"program@0 5", "program@0 6"}));
}

TEST(TrackDecoder, MetaEventDiagnostics) {
  SmfFile lateSignature;
  lateSignature.addTrack().timeSignature(1920, 3, 2).endOfTrack();
  lateSignature.addTrack().timeSignature(960, 4, 2).endOfTrack();

  const struct {
    const char* name;
    Bytes bytes;
    Failure expected;
  } cases[] = {
      {"tempo of four bytes",
       oneTrack({0x81, 0x00, 0xFF, 0x51, 0x04, 0x07, 0xA1, 0x20, 0x00}),
       metaError("Set Tempo Event len != 3", 128)},
      {"tempo of two bytes", oneTrack({0x05, 0xFF, 0x51, 0x02, 0x07, 0xA1}),
       metaError("Set Tempo Event len != 3", 5)},
      {"tempo of value 0", oneTrack({0x07, 0xFF, 0x51, 0x03, 0, 0, 0}),
       metaError("Set Tempo Event value == 0", 7)},
      {"length checked before value",
       oneTrack({0x07, 0xFF, 0x51, 0x04, 0, 0, 0, 0}),
       metaError("Set Tempo Event len != 3", 7)},
      {"time signature of three bytes",
       oneTrack({0x09, 0xFF, 0x58, 0x03, 0x04, 0x02, 0x18}),
       metaError("Time Signature Event len != 4", 9)},
      {"time signature of five bytes",
       oneTrack({0x09, 0xFF, 0x58, 0x05, 0x04, 0x02, 0x18, 0x08, 0x00}),
       metaError("Time Signature Event len != 4", 9)},
      {"time signature off a measure border",
       oneTrack({0x64, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}),
       metaError("Time Signature is not on a measure border", 100)},
      {"time signature before the last one", lateSignature.bytes(),
       metaError("Time Signature is not on a measure border", 960)},
      {"numerator 0", oneTrack({0x00, 0xFF, 0x58, 0x02, 0x00, 0x02}),
       metaError("Invalid Time Signature", 0)},
      {"exponent 8", oneTrack({0x00, 0xFF, 0x58, 0x02, 0x04, 0x08}),
       metaError("Invalid Time Signature", 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseFailure(c.bytes), c.expected) << c.name;
  }

  SmfFile coarse(1, 3);  // 3 ticks per quarter: an eighth is no whole tick
  coarse.addTrack().timeSignature(0, 3, 3).endOfTrack();
  EXPECT_EQ(parseFailure(coarse), metaError("Too small TPQN", 0));
}

TEST(TrackDecoder, RefusedStatusBytesAreReportedAsTheRawByte) {
  for (int status = 0xF1; status <= 0xFE; ++status) {
    if (status == 0xF7) continue;
    const Bytes bytes =
        oneTrack({0x90, 0x00, static_cast<std::uint8_t>(status)});
    EXPECT_EQ(parseFailure(bytes),
              metaError("Unexpected status - " +
                            std::string(1, static_cast<char>(status)),
                        0x800))
        << std::hex << status;
  }
}

}  // namespace
}  // namespace smftest
