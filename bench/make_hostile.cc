// Writes MIDI files that are cheap to make and try to be expensive to
// convert: huge announced lengths, sums of delta times near the 32-bit
// limit, long lists of measures, signatures and texts. bench/hostile.sh
// converts each and checks that time and memory stay bounded.
//
//   make_hostile KIND OUTPUT.mid    writes one file
//   make_hostile --list             names the kinds, one a line, with what
//                                   the file holds
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/smf_builder.h"

namespace {

using smftest::Bytes;
using smftest::SmfFile;
using smftest::Track;

constexpr int kDivision = 480;
constexpr std::uint32_t kQuarter = kDivision;
constexpr std::uint32_t kBar = 4 * kQuarter;  // a 4/4 measure

constexpr std::uint32_t kMaxDelta = 0x0FFFFFFF;  // the largest delta time

// Passes `ticks` with key signatures (which make no event) where one delta
// time cannot hold them; returns the delta left for the next event.
std::uint32_t pass(Track& track, std::uint32_t ticks) {
  for (; ticks > kMaxDelta; ticks -= kMaxDelta) {
    track.meta(kMaxDelta, 0x59, {0x00, 0x00});
  }
  return ticks;
}

// Starts middle C on each of the sixteen channels at the track's current
// time, so that every track is written.
void startNoteOnEveryChannel(Track& track) {
  for (int channel = 0; channel < 16; ++channel) {
    track.noteOn(0, channel, 60, 100);
  }
}

// Ends the notes of startNoteOnEveryChannel `after` ticks on.
void endNoteOnEveryChannel(Track& track, std::uint32_t after) {
  for (int channel = 0; channel < 16; ++channel) {
    track.noteOff(channel == 0 ? after : 0, channel, 60);
  }
}

// A header announcing one track, then a track chunk that starts with
// `events` and ends where they end (no End of Track), though it declares
// room for the 268,435,455 bytes the event announces.
Bytes cutShort(const Bytes& events) {
  SmfFile file(0, kDivision);
  file.addTrack().raw(events).declaredLength(
      static_cast<std::uint32_t>(events.size()) + 0x0FFFFFFF);
  return file.bytes();
}

// A text meta event that announces the largest length a variable-length
// quantity can hold, 268,435,455 bytes, in a file of a few bytes.
Bytes hugeMeta() {
  return cutShort({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F});
}

// The same for a system exclusive block.
Bytes hugeSysex() { return cutShort({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F}); }

// A track chunk that declares 4 GiB less one byte.
Bytes hugeChunk() {
  SmfFile file(0, kDivision);
  file.addTrack().noteOn(0, 0, 60, 100).declaredLength(0xFFFFFFFFu);
  return file.bytes();
}

// Division 1 and 1/4 time: a measure of one tick. A note held for delta
// times that add up to nearly 2^32 ticks asks for four billion measures.
Bytes longDelta() {
  SmfFile file(0, 1);
  Track& track = file.addTrack();
  track.timeSignature(0, 1, 2).noteOn(0, 0, 60, 100);
  for (int i = 0; i < 15; ++i) track.control(kMaxDelta, 0, 7, i);
  track.noteOff(kMaxDelta, 0, 60).endOfTrack();
  return file.bytes();
}

// Sixteen channels, each with a note in the first and in the last of
// 999,999 measures: the most measures a track may have, sixteen times.
Bytes longChannels() {
  SmfFile file(1, kDivision);
  for (int channel = 0; channel < 16; ++channel) {
    Track& track = file.addTrack();
    track.noteOn(0, channel, 60, 100).noteOff(kQuarter, channel, 60);
    track.noteOn(pass(track, 999'998u * kBar - kQuarter), channel, 62, 100)
        .noteOff(kQuarter / 2, channel, 62)
        .endOfTrack();
  }
  return file.bytes();
}

// 40,000 time signatures, each on the border of the measure before it,
// cycling through meters of 1/8 to 15/2, with notes in every measure.
Bytes signatures() {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  constexpr int kCount = 40'000;
  std::uint32_t pending = 0;  // delta to the next event
  for (int i = 0; i < kCount; ++i) {
    const int numerator = 1 + i % 15;
    const int exponent = 1 + i % 3;  // halves, quarters, eighths
    const std::uint32_t beat = 4 * kQuarter >> exponent;
    track.timeSignature(pending, numerator, exponent);
    track.noteOn(0, 0, 40 + i % 40, 90).noteOff(beat / 2, 0, 40 + i % 40);
    pending = numerator * beat - beat / 2;
  }
  track.endOfTrack(pending);
  return file.bytes();
}

// Measures of eight notes on four channels; `keyOf(measure, note)` gives
// each note's key. Every note lasts an eighth, so with the rests between
// them each measure holds sixteen events.
Bytes measures(int count, const std::function<int(int, int)>& keyOf) {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  track.program(0, 0, 1);
  for (int m = 0; m < count; ++m) {
    for (int n = 0; n < 8; ++n) {
      const int key = keyOf(m, n);
      track.noteOn(n == 0 ? 0 : kQuarter / 4, 0, key, 100)
          .noteOff(kQuarter / 4, 0, key);
    }
  }
  track.endOfTrack();
  return file.bytes();
}

// 50,000 measures, no two alike: the measure number written in base 16
// across the keys of its notes.
Bytes distinctMeasures() {
  return measures(50'000, [](int m, int n) {
    return 20 + (n < 4 ? (m >> (4 * n)) & 0xF : 16 + n);
  });
}

// 100,000 equal measures: one pattern and 100,000 calls of it.
Bytes identicalMeasures() {
  return measures(100'000, [](int /*m*/, int n) { return 60 + n; });
}

// 20,000 texts for all tracks, each in its own measure, with a note on
// each of the sixteen channels so that every track is written and holds
// all of them.
Bytes textAll() {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  startNoteOnEveryChannel(track);
  for (int i = 0; i < 20'000; ++i) {
    track.text(i == 0 ? 0 : kBar, "text_all:    ; section " +
                                      std::to_string(i) + " of $$loop at $x");
  }
  endNoteOnEveryChannel(track, kBar);
  track.endOfTrack();
  return file.bytes();
}

// One text for all tracks of two megabytes, half of it "$" marks that
// each become a track label, with a note on each of the sixteen channels:
// sixteen listings of a very long line.
Bytes hugeTextAll() {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  startNoteOnEveryChannel(track);
  std::string text = "text_all:";
  for (int i = 0; i < (1 << 20); ++i) text += "$x";
  track.text(0, text);
  endNoteOnEveryChannel(track, kQuarter);
  track.endOfTrack();
  return file.bytes();
}

// The most track chunks a header can announce, 65,535, each holding one
// note on one of the sixteen channels at a later time than the chunk
// before: every channel list is put together from thousands of chunks.
Bytes tinyTracks() {
  SmfFile file(1, kDivision);
  for (int i = 0; i < 65'535; ++i) {
    const int channel = i % 16;
    file.addTrack()
        .noteOn(static_cast<std::uint32_t>(65'535 - i) * 8, channel,
                40 + i % 50, 100)
        .noteOff(4, channel, 40 + i % 50)
        .endOfTrack();
  }
  return file.bytes();
}

// 200,000 note-ons of one key, then their 200,000 note-offs: a long queue
// of notes waiting to be ended.
Bytes pendingNotes() {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  for (int i = 0; i < 200'000; ++i) track.noteOn(1, 0, 60, 100);
  for (int i = 0; i < 200'000; ++i) track.noteOff(1, 0, 60);
  track.endOfTrack();
  return file.bytes();
}

// 2,000,000 program changes of two bytes each (a zero delta time and the
// program under running status), all at one tick: the most events a byte
// of input can make, in one measure.
Bytes denseEvents() {
  SmfFile file(0, kDivision);
  Track& track = file.addTrack();
  track.program(0, 0, 0);
  Bytes programs;
  for (int i = 1; i < 2'000'000; ++i) {
    programs.push_back(0x00);
    programs.push_back(static_cast<std::uint8_t>(i % 128));
  }
  track.raw(programs).noteOn(0, 0, 60, 100).noteOff(kQuarter, 0, 60);
  track.endOfTrack();
  return file.bytes();
}

struct Kind {
  const char* name;
  const char* about;
  Bytes (*make)();
};

const std::vector<Kind>& kinds() {
  static const std::vector<Kind> kAll = {
      {"huge-meta", "text meta event announcing 268,435,455 bytes", hugeMeta},
      {"huge-sysex", "sysex block announcing 268,435,455 bytes", hugeSysex},
      {"huge-chunk", "track chunk declaring 4 GiB", hugeChunk},
      {"long-delta", "delta times near 2^32, one-tick measures", longDelta},
      {"long-channels", "16 channels of 999,999 measures", longChannels},
      {"signatures", "40,000 time signature changes", signatures},
      {"distinct-measures", "50,000 different measures", distinctMeasures},
      {"identical-measures", "100,000 equal measures", identicalMeasures},
      {"text-all", "20,000 texts for all 16 tracks", textAll},
      {"huge-text-all", "2 MB text of $ marks for 16 tracks", hugeTextAll},
      {"tiny-tracks", "65,535 track chunks of one note", tinyTracks},
      {"pending-notes", "200,000 overlapping notes of one key", pendingNotes},
      {"dense-events", "2,000,000 two-byte events at one tick", denseEvents},
  };
  return kAll;
}

int usage() {
  std::fputs(
      "usage: make_hostile KIND OUTPUT.mid\n"
      "       make_hostile --list\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--list") {
    for (const Kind& kind : kinds()) {
      std::printf("%s\t%s\n", kind.name, kind.about);
    }
    return 0;
  }
  if (args.size() != 2) return usage();
  for (const Kind& kind : kinds()) {
    if (args[0] != kind.name) continue;
    try {
      smftest::writeBytes(args[1], kind.make());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "make_hostile: %s\n", e.what());
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "make_hostile: no kind %s\n", args[0].c_str());
  return usage();
}
