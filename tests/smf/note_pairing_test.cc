// Note-on and note-off pairing: first in, first out per channel and key,
// within one track chunk, and the two "Unmatch" diagnostics with the
// channel and the musical position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/smf/parse_util.h"

namespace smftest {
namespace {

using Strings = std::vector<std::string>;

TEST(NotePairing, NotesGetTheirDurations) {
  const struct {
    const char* name;
    Bytes events;
    Strings notes;
  } cases[] = {
      {"one note",
       {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0},
       {"note@0 60 100 96"}},
      {"same tick",
       {0x05, 0x90, 60, 100, 0x00, 0x80, 60, 0},
       {"note@5 60 100 0"}},
      {"first in, first out",
       {0x00, 0x90, 60, 1, 0x0A, 0x90, 60, 2, 0x0A, 0x80, 60, 0, 0x0A, 0x80, 60,
        0},
       {"note@0 60 1 20", "note@10 60 2 20"}},
      {"keys do not interfere",
       {0x00, 0x90, 60, 1, 0x00, 0x90, 62, 2, 0x04, 0x80, 62, 0, 0x04, 0x80, 60,
        0},
       {"note@0 60 1 8", "note@0 62 2 4"}},
      {"a key reused after it ended",
       {0x00, 0x90, 60, 1, 0x04, 0x80, 60, 0, 0x00, 0x90, 60, 2, 0x04, 0x90, 60,
        0},
       {"note@0 60 1 4", "note@4 60 2 4"}},
  };
  for (const auto& c : cases) {
    SmfFile file;
    file.addTrack().raw(c.events).endOfTrack();
    EXPECT_EQ(eventsOf(*parseOk(file), 0), c.notes) << c.name;
  }
}

TEST(NotePairing, ChannelsKeepTheirOwnNotes) {
  SmfFile file;
  file.addTrack()
      .noteOn(0, 0, 60, 1)
      .noteOn(0, 15, 60, 2)
      .noteOff(10, 15, 60)
      .noteOff(10, 0, 60)
      .endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 0), Strings{"note@0 60 1 20"});
  EXPECT_EQ(eventsOf(*parser, 15), Strings{"note@0 60 2 10"});
}

TEST(NotePairing, UnmatchedNotesAreReportedWithChannelAndPosition) {
  // Tick 1930 with 480 ticks per quarter.
  auto offAt1930 = [](int numerator) {
    SmfFile file(1, 480);
    Track& track = file.addTrack();
    if (numerator != 0) track.timeSignature(0, numerator, 2);
    track.noteOn(0, 0, 60, 100).noteOff(1930, 9, 60).endOfTrack();
    // A 3/4 read after the failure plays no part.
    file.addTrack().timeSignature(0, 3, 2).endOfTrack();
    return file;
  };
  SmfFile twice;
  twice.addTrack().noteOn(0, 2, 60, 1).noteOff(5, 2, 60).noteOff(5, 2, 60);
  SmfFile acrossChunks;
  acrossChunks.addTrack().noteOn(0, 0, 60, 100).endOfTrack(20);
  acrossChunks.addTrack().noteOff(30, 0, 60).endOfTrack();
  SmfFile pending;
  pending.addTrack()
      .noteOn(0, 2, 64, 1)
      .noteOn(1, 1, 70, 1)
      .noteOn(4, 1, 60, 1)
      .noteOn(10, 1, 60, 1)
      .noteOff(1, 2, 64)
      .noteOn(2000, 0, 50, 1)
      .noteOff(0, 0, 50)
      .endOfTrack();

  const struct {
    const char* name;
    SmfFile file;
    Failure expected;
  } cases[] = {
      {"note-off on another channel, 4/4", offAt1930(0),
       channelError("Unmatch Note Off Event", 9, 1, 0, 10)},
      {"note-off in 3/4", offAt1930(3),
       channelError("Unmatch Note Off Event", 9, 1, 1, 10)},
      {"note-off in 2/4", offAt1930(2),
       channelError("Unmatch Note Off Event", 9, 2, 0, 10)},
      {"note ended twice", twice,
       channelError("Unmatch Note Off Event", 2, 0, 0, 10)},
      {"note stopped in the next chunk", acrossChunks,
       channelError("Unmatch Note On Event", 0, 0, 0, 0)},
      {"lowest channel, lowest key, earliest note", pending,
       channelError("Unmatch Note On Event", 1, 0, 0, 5)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseFailure(c.file), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace smftest
