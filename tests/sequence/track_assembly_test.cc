// Track assembly on parsed files: which channels become tracks, the order
// of their events, the leading silence, and the cutting into measures.
#include "sequence/track_assembly.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "events/diagnostics.h"
#include "tests/sequence/sequence_fixture.h"

namespace {

using seqtest::describe;
using seqtest::parseSmf;
using smftest::SmfFile;
using Strings = std::vector<std::string>;

// The measures of `track` after the tracks of the file were allocated.
Strings measuresOf(const SmfFile& file, int track, std::uint32_t timebase,
                   std::uint32_t leadingSkip) {
  const auto parser = parseSmf(file);
  allocateTracks(*parser, timebase);
  return describe(splitMeasures(*parser, track, timebase, leadingSkip));
}

TEST(AllocateTracks, WritesChannelsThatHoldTrackEventsAndAlwaysTrackZero) {
  const struct {
    const char* name;
    std::function<void(SmfFile&)> build;
    std::uint16_t mask;
  } cases[] = {
      {"tempo on channel 0, notes on channel 3, loop markers and text for all",
       [](SmfFile& file) {
         file.addTrack()
             .tempo(0, 500000)
             .text(0, "[")
             .text(0, "text_all:x")
             .text(960, "]")
             .endOfTrack();
         file.addTrack().noteOn(0, 3, 60, 100).noteOff(480, 3, 60).endOfTrack();
       },
       0x0009},
      {"notes on channel 3 only",
       [](SmfFile& file) {
         file.addTrack().noteOn(0, 3, 60, 100).noteOff(480, 3, 60).endOfTrack();
       },
       0x0009},
      {"channels 0 and 15",
       [](SmfFile& file) {
         file.addTrack()
             .program(0, 0, 1)
             .noteOn(0, 15, 60, 100)
             .noteOff(480, 15, 60)
             .endOfTrack();
       },
       0x8001},
      {"a text for one track makes that track",
       [](SmfFile& file) {
         file.addTrack()
             .text(0, "text_5:x")
             .noteOn(0, 3, 60, 100)
             .noteOff(480, 3, 60)
             .endOfTrack();
       },
       0x0029},
      {"nothing at all", [](SmfFile& file) { file.addTrack().endOfTrack(); },
       0x0001},
  };
  for (const auto& c : cases) {
    SmfFile file;
    c.build(file);
    const auto parser = parseSmf(file);
    EXPECT_EQ(allocateTracks(*parser, 48).allocationMask, c.mask) << c.name;
  }
}

TEST(AllocateTracks, SortsByTickWithMetaEventsFirstAndKeepsFileOrderOtherwise) {
  SmfFile file;
  file.addTrack()
      .program(0, 0, 5)
      .tempo(0, 500000)
      .noteOn(0, 0, 60, 100)
      .noteOn(0, 0, 64, 90)
      .text(0, "text_all:x")
      .noteOn(240, 0, 72, 80)
      .noteOff(240, 0, 60)
      .noteOff(0, 0, 64)
      .noteOff(0, 0, 72)
      .endOfTrack();
  file.addTrack()
      .noteOn(0, 0, 67, 70)
      .tempo(120, 600000)
      .noteOff(120, 0, 67)
      .endOfTrack();
  const auto parser = parseSmf(file);

  allocateTracks(*parser, 48);

  EXPECT_EQ(describe(parser->channels[0].events),
            "tempo 120 | x | prg 5 | cn4 100, 480 | en4 90, 480 | "
            "gn4 70, 240 | tempo 100 | cn5 80, 240");
}

TEST(AllocateTracks, SortsTrackZeroEvenWhenItIsNotWrittenForItsOwnEvents) {
  SmfFile file;
  file.addTrack()
      .text(960, "text_all:late")
      .noteOn(0, 3, 60, 100)
      .noteOff(480, 3, 60)
      .endOfTrack();
  file.addTrack().text(0, "text_all:early").endOfTrack();
  const auto parser = parseSmf(file);
  ASSERT_EQ(describe(parser->channels[0].events), "late | early");

  EXPECT_EQ(allocateTracks(*parser, 48).allocationMask, 0x0009);

  EXPECT_EQ(describe(parser->channels[0].events), "early | late");
}

TEST(AllocateTracks, LeadingSkipIsTheEarliestContentEventInOutputTicks) {
  const struct {
    const char* name;
    std::function<void(SmfFile&)> build;
    std::uint32_t timebase;
    std::uint32_t skip;
  } cases[] = {
      {"setup events at 0, notes from 960, time base equal to the division",
       [](SmfFile& file) {
         file.addTrack()
             .tempo(0, 500000)
             .program(0, 1, 3)
             .pitchBend(0, 1, 8192)
             .control(0, 1, 7, 100)
             .noteOn(960, 1, 60, 100)
             .noteOff(480, 1, 60)
             .endOfTrack();
       },
       480, 960},
      {"the same at time base 48",
       [](SmfFile& file) {
         file.addTrack()
             .tempo(0, 500000)
             .program(0, 1, 3)
             .noteOn(960, 1, 60, 100)
             .noteOff(480, 1, 60)
             .endOfTrack();
       },
       48, 96},
      {"the earliest channel decides",
       [](SmfFile& file) {
         file.addTrack()
             .noteOn(960, 1, 60, 100)
             .noteOff(480, 1, 60)
             .endOfTrack();
         file.addTrack()
             .noteOn(480, 2, 60, 100)
             .noteOff(480, 2, 60)
             .endOfTrack();
       },
       48, 48},
      {"a text for one track is content",
       [](SmfFile& file) {
         file.addTrack()
             .text(240, "text_5:x")
             .noteOn(720, 1, 60, 100)
             .noteOff(480, 1, 60)
             .endOfTrack();
       },
       48, 24},
      {"no content event: nothing is cut",
       [](SmfFile& file) {
         file.addTrack()
             .tempo(0, 500000)
             .program(960, 1, 3)
             .pitchBend(960, 2, 0)
             .endOfTrack();
       },
       48, 0},
  };
  for (const auto& c : cases) {
    SmfFile file;
    c.build(file);
    const auto parser = parseSmf(file);
    EXPECT_EQ(allocateTracks(*parser, c.timebase).leadingSkip, c.skip)
        << c.name;
  }
}

TEST(SplitMeasures, EndsAtTheLastTickWithAnEmptyMeasureOnTheBarLine) {
  SmfFile file;
  file.addTrack().noteOn(0, 0, 60, 100).noteOff(7680, 0, 60).endOfTrack();

  EXPECT_EQ(measuresOf(file, 0, 48, 0),
            (Strings{"cn4 100, 768 | wait 192", "wait 192", "wait 192",
                     "wait 192", ""}));
}

TEST(SplitMeasures, TracksEndIndependently) {
  SmfFile file;
  file.addTrack()
      .noteOn(0, 1, 60, 100)
      .noteOff(480, 1, 60)
      .program(3520, 1, 7)
      .endOfTrack();
  file.addTrack().noteOn(0, 2, 62, 100).noteOff(19200, 2, 62).endOfTrack();

  EXPECT_EQ(measuresOf(file, 1, 48, 0),
            (Strings{"cn4 100, 48 | wait 192", "wait 192", "wait 16 | prg 7"}));
  EXPECT_EQ(measuresOf(file, 2, 48, 0).size(), 11u);
}

TEST(SplitMeasures, OffsetsAreTakenFromTheMeasureStartInOutputTicks) {
  // Division 480, time base 48: tick 5 is offset 0, tick 15 offset 1; a
  // duration of 5 ticks rescales to 0 and is raised to 1.
  SmfFile file(1, 480);
  file.addTrack()
      .noteOn(5, 1, 60, 100)
      .noteOn(10, 1, 62, 90)
      .noteOff(5, 1, 62)
      .noteOff(460, 1, 60)
      .endOfTrack();
  const auto parser = parseSmf(file);
  allocateTracks(*parser, 48);

  const std::vector<Measure> measures = splitMeasures(*parser, 1, 48, 0);

  ASSERT_EQ(describe(measures),
            (Strings{"cn4 100, 47 | wait 1 | dn4 90, 1 | wait 47"}));
  // A rest's tick is where it starts, in input ticks.
  EXPECT_EQ(measures[0].events[1].tick, 0u);
  EXPECT_EQ(measures[0].events[3].tick, 10u);
  // The parser's own notes keep their input durations.
  EXPECT_EQ(describe(parser->channels[1].events), "cn4 100, 475 | dn4 90, 5");
}

TEST(SplitMeasures, MeasureLengthsFollowTheTimeSignatures) {
  const struct {
    const char* name;
    std::function<void(SmfFile&)> build;
    Strings measures;
  } cases[] = {
      {"3/4 at tick 0 passes over the 4/4 of the header",
       [](SmfFile& file) {
         file.addTrack()
             .timeSignature(0, 3, 2)
             .noteOn(0, 0, 60, 100)
             .noteOff(2880, 0, 60)
             .endOfTrack();
       },
       {"cn4 100, 288 | wait 144", "wait 144", ""}},
      {"one bar of 4/4, then 3/4",
       [](SmfFile& file) {
         file.addTrack()
             .noteOn(0, 0, 60, 100)
             .timeSignature(1920, 3, 2)
             .noteOff(1680, 0, 60)
             .endOfTrack();
       },
       {"cn4 100, 360 | wait 192", "wait 144", "wait 24"}},
  };
  for (const auto& c : cases) {
    SmfFile file;
    c.build(file);
    EXPECT_EQ(measuresOf(file, 0, 48, 0), c.measures) << c.name;
  }
}

TEST(SplitMeasures, TrackZeroWithoutEventsIsOneEmptyMeasure) {
  SmfFile file;
  file.addTrack().noteOn(960, 3, 60, 100).noteOff(480, 3, 60).endOfTrack();

  EXPECT_EQ(measuresOf(file, 0, 48, 96), (Strings{""}));
}

TEST(SplitMeasures, TheLeadingSkipEatsTheFirstRestsOfEveryTrack) {
  // Division 480, time base 48: the first note is at tick 2880, one and a
  // half measures in, so 288 output ticks of rest are cut from each track.
  SmfFile file;
  file.addTrack()
      .program(0, 1, 0)
      .noteOn(2880, 1, 60, 100)
      .noteOff(480, 1, 60)
      .endOfTrack();
  file.addTrack().noteOn(3000, 2, 62, 100).noteOff(120, 2, 62).endOfTrack();
  const auto parser = parseSmf(file);
  const TrackAllocation allocation = allocateTracks(*parser, 48);
  ASSERT_EQ(allocation.leadingSkip, 288u);

  EXPECT_EQ(describe(splitMeasures(*parser, 1, 48, allocation.leadingSkip)),
            (Strings{"prg 0", "cn4 100, 48 | wait 48"}));
  const std::vector<Measure> second =
      splitMeasures(*parser, 2, 48, allocation.leadingSkip);
  EXPECT_EQ(describe(second), (Strings{"", "wait 12 | dn4 100, 12 | wait 12"}));
  EXPECT_EQ(second[1].events[0].tick, 1920u);
}

TEST(SplitMeasures, RefusesATrackOfMoreThanAMillionMeasures) {
  // Division 1 and 1/4 time: every tick is a measure of its own.
  const auto fileEndingAt = [](std::uint32_t tick) {
    SmfFile file(1, 1);
    file.addTrack().timeSignature(0, 1, 2).program(tick, 1, 0).endOfTrack();
    return file;
  };

  {
    const auto parser = parseSmf(fileEndingAt(1000000));
    allocateTracks(*parser, 48);
    try {
      splitMeasures(*parser, 1, 48, 0);
      ADD_FAILURE() << "no exception";
    } catch (const ParseException& failure) {
      EXPECT_EQ(typeid(failure), typeid(ParseException));
      EXPECT_EQ(std::string(failure.what()), "Too many measures - 1000001");
      EXPECT_EQ(failure.fileName, "");
    }
  }
  {
    // Exactly a million is still accepted (the skip swallows the rests).
    const auto parser = parseSmf(fileEndingAt(999999));
    allocateTracks(*parser, 48);
    const std::vector<Measure> measures =
        splitMeasures(*parser, 1, 48, 0xFFFFFFFFu);
    ASSERT_EQ(measures.size(), 1000000u);
    EXPECT_EQ(describe(measures.back().events), "prg 0");
  }
}

}  // namespace
