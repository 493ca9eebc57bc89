// Writes demo.mid, the example song that `make run` converts: a melody, a
// bass line and drums over five measures of 4/4 at 120 quarter notes per
// minute. Measures 2 to 5 sit inside a loop marker, the melody and the
// drums repeat measures (they become patterns), and a text command adds a
// comment line to the bass track.
#include <cstdint>
#include <cstdio>
#include <exception>

#include "tests/support/smf_builder.h"

namespace {

constexpr int kQuarter = 480;
constexpr int kMeasure = 4 * kQuarter;
constexpr int kMelody = 0;
constexpr int kBass = 1;
constexpr int kDrums = 9;

// Writes events one after another, carrying silence over to the delta
// time of the next event.
class Timeline {
 public:
  explicit Timeline(smftest::Track& track) : track_(track) {}

  // Strikes `key` now and releases it after `length` ticks; the next
  // event follows `gap` ticks after the release.
  void note(int channel, int key, int velocity, std::uint32_t length,
            std::uint32_t gap) {
    track_.noteOn(take(), channel, key, velocity).noteOff(length, channel, key);
    pending_ += gap;
  }
  void end() { track_.endOfTrack(take()); }

 private:
  std::uint32_t take() {
    const std::uint32_t delta = pending_;
    pending_ = 0;
    return delta;
  }

  smftest::Track& track_;
  std::uint32_t pending_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fputs("usage: make_demo OUTPUT.mid\n", stderr);
    return 2;
  }
  smftest::SmfFile song(1, kQuarter);

  song.addTrack()
      .tempo(0, 500000)
      .timeSignature(0, 4, 2)
      .text(kMeasure, "[")
      .text(4 * kMeasure, "]")
      .endOfTrack();

  smftest::Track& melodyTrack = song.addTrack().program(0, kMelody, 0);
  Timeline melody(melodyTrack);
  const int motif[4] = {60, 64, 67, 64};
  const int answer[4] = {62, 65, 69, 65};
  for (const auto* keys : {&motif, &answer, &motif, &motif}) {
    for (int key : *keys)
      melody.note(kMelody, key, 96, kQuarter / 2, kQuarter / 2);
  }
  melody.note(kMelody, 60, 96, kMeasure, 0);
  melody.end();

  smftest::Track& bassTrack = song.addTrack()
                                  .program(0, kBass, 33)
                                  .control(0, kBass, 7, 100)
                                  .control(0, kBass, 10, 40)
                                  .text(0, "text_1:; bass: a note per measure");
  Timeline bass(bassTrack);
  for (int key : {36, 41, 36, 43, 36}) bass.note(kBass, key, 110, kMeasure, 0);
  bass.end();

  Timeline drums(song.addTrack());
  for (int measure = 0; measure < 5; ++measure) {
    for (int beat = 0; beat < 4; ++beat) {
      drums.note(kDrums, beat % 2 == 0 ? 36 : 38, 100, kQuarter / 4,
                 kQuarter / 4);
      drums.note(kDrums, 42, 80, kQuarter / 4, kQuarter / 4);
    }
  }
  drums.end();

  try {
    song.writeTo(argv[1]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make_demo: %s\n", failure.what());
    return 1;
  }
  return 0;
}
