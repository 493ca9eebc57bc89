// Writes the MIDI files the benchmark converts: songs shaped like the ones
// composers feed the converter, made from a fixed seed so that every run
// measures the same bytes.
//
//   make_bench_files [--seed N] --size SIZE OUTPUT.mid
//       one song of about SIZE bytes (a count with an optional K or M
//       suffix: 1M is 1048576 bytes): a conductor track and sixteen
//       channel tracks
//   make_bench_files [--seed N] --batch COUNT DIRECTORY
//       COUNT short songs of 2 to 5 KB, DIRECTORY/song0000.mid and on,
//       each with a conductor track and a few channel tracks
//
// A song is a chain of sections drawn from a small set (verse, chorus and
// the like), each in its own meter and tempo and played many times. Inside
// a section every part repeats a phrase of a few measures, now and then
// with a changed note, so that most measures of a track repeat and some do
// not. The parts: melodies with legato and repeated notes that overlap,
// chords, pads held over the bar line, arpeggios, bass, strummed and
// stabbed chords and drums, with program and bank changes, volume, pan,
// expression, modulation, damper, pitch bend and bend range data entry.
// The conductor track holds tempo and time signature changes (on measure
// borders), a loop marker pair and section comments for all tracks.
// Channel messages use running status; a few parts end their notes with a
// note-on of velocity 0. Every note-on has its note-off in the same track.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/smf_builder.h"

namespace {

constexpr int kDivision = 480;
constexpr std::uint32_t kDefaultSeed = 20240611;

// Random numbers that are the same on every platform: the sequence of
// std::mt19937 is fixed by the standard, the library's distributions are
// not, so they are not used.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}

  int between(int low, int high) {
    const auto span = static_cast<std::uint32_t>(high - low + 1);
    return low + static_cast<int>(engine_() % span);
  }
  bool chance(int percent) { return between(0, 99) < percent; }
  template <class T>
  const T& pick(const std::vector<T>& values) {
    return values[static_cast<std::size_t>(
        between(0, static_cast<int>(values.size()) - 1))];
  }

 private:
  std::mt19937 engine_;
};

struct Meter {
  int numerator;
  int exponent;  // the denominator is 2 to this power

  std::uint32_t beatTicks() const { return 4u * kDivision >> exponent; }
  std::uint32_t measureTicks() const {
    return static_cast<std::uint32_t>(numerator) * beatTicks();
  }
  bool operator==(const Meter&) const = default;
};

// What happens in one measure of one part, at offsets from the measure's
// start.
enum class ItemKind { kNote, kControl, kProgram, kBend };

struct Item {
  std::uint32_t at;
  ItemKind kind;
  int a;  // key, controller, program or bend value
  int b;  // velocity or controller value
  std::uint32_t length;
};

using Bar = std::vector<Item>;

int clampTo(int value, int low, int high) {
  return std::max(low, std::min(high, value));
}

// Collects the items of one measure, keeping them inside it.
class BarBuilder {
 public:
  explicit BarBuilder(std::uint32_t measureTicks) : measure_(measureTicks) {}

  void note(std::uint32_t at, int key, int velocity, std::uint32_t length) {
    if (at >= measure_) return;
    bar_.push_back({at, ItemKind::kNote, clampTo(key, 0, 127),
                    clampTo(velocity, 1, 127), std::max(length, 10u)});
  }
  void control(std::uint32_t at, int controller, int value) {
    if (at >= measure_) at = measure_ - 1;
    bar_.push_back(
        {at, ItemKind::kControl, controller, clampTo(value, 0, 127), 0});
  }
  void program(std::uint32_t at, int program) {
    bar_.push_back({at, ItemKind::kProgram, program, 0, 0});
  }
  void bend(std::uint32_t at, int value) {
    if (at >= measure_) at = measure_ - 1;
    bar_.push_back({at, ItemKind::kBend, clampTo(value, 0, 16383), 0, 0});
  }
  std::uint32_t measure() const { return measure_; }
  Bar take() { return std::move(bar_); }

 private:
  std::uint32_t measure_;
  Bar bar_;
};

// Harmony: a chord as a root (0 to 11 above C) and its tones.
struct Chord {
  int root;
  bool minor;

  // The n-th (from 0) tone of the triad counted upward from the root,
  // over as many octaves as needed.
  int tone(int n) const {
    static const int kMajor[3] = {0, 4, 7};
    static const int kMinor[3] = {0, 3, 7};
    const int* tones = minor ? kMinor : kMajor;
    return root + 12 * (n / 3) + tones[n % 3];
  }
};

enum class Role {
  kLead,
  kChords,
  kPad,
  kArpeggio,
  kBass,
  kStrum,
  kStabs,
  kDrums
};

struct Part {
  int channel;
  Role role;
  int base;  // the key of the part's lowest C
  const char* name;
};

const std::vector<Part>& allParts() {
  static const std::vector<Part> parts = {
      {0, Role::kLead, 60, "lead"},       {1, Role::kLead, 72, "flute"},
      {2, Role::kChords, 48, "piano"},    {3, Role::kPad, 48, "strings"},
      {4, Role::kArpeggio, 60, "harp"},   {5, Role::kBass, 36, "bass"},
      {6, Role::kStrum, 48, "guitar"},    {7, Role::kStabs, 60, "brass"},
      {8, Role::kPad, 60, "choir"},       {9, Role::kDrums, 0, "drums"},
      {10, Role::kArpeggio, 72, "bells"}, {11, Role::kChords, 60, "organ"},
      {12, Role::kLead, 48, "cello"},     {13, Role::kBass, 24, "synth bass"},
      {14, Role::kStabs, 72, "synth"},    {15, Role::kStrum, 60, "mandolin"},
  };
  return parts;
}

// The settings a part makes at the start of every section: bank and
// program, volume, pan, expression, and the bend range through registered
// parameter 0/0 (then the parameter selection is cleared).
void addSetup(Random& random, const Part& part, BarBuilder& bar) {
  bar.control(0, 0, random.between(0, 3));
  bar.control(0, 32, 0);
  bar.program(0, part.role == Role::kDrums ? 0 : random.between(0, 127));
  bar.control(0, 7, random.between(70, 120));
  bar.control(0, 10, random.between(20, 108));
  bar.control(0, 11, 127);
  bar.control(0, 101, 0);
  bar.control(0, 100, 0);
  bar.control(0, 6, random.pick(std::vector<int>{2, 2, 7, 12}));
  bar.control(0, 38, 0);
  bar.control(0, 101, 127);
  bar.control(0, 100, 127);
}

void addLead(Random& random, const Part& part, const Chord& chord,
             BarBuilder& bar) {
  static const std::vector<std::uint32_t> kSteps = {120, 240, 240, 360, 480};
  const std::uint32_t measure = bar.measure();
  if (random.chance(30)) {  // a modulation swell
    for (int i = 0; i < 4; ++i)
      bar.control(measure * static_cast<std::uint32_t>(i) / 4, 1, i * 20);
    bar.control(measure - 1, 1, 0);
  }
  int key = part.base + chord.tone(random.between(0, 3));
  std::uint32_t at = 0;
  bool bent = false;
  while (at < measure) {
    const std::uint32_t step = std::min(random.pick(kSteps), measure - at);
    if (random.chance(12)) {  // a rest
      at += step;
      continue;
    }
    const int velocity = random.between(70, 110);
    if (random.chance(10) && at + step < measure) {
      // The same key struck again while it still sounds.
      bar.note(at, key, velocity, step + 60);
      bar.note(at + step / 2, key, velocity - 10, step);
      at += step;
      continue;
    }
    std::uint32_t length = step * 9 / 10;
    if (random.chance(25)) length = step + 60;  // legato into the next key
    bar.note(at, key, velocity, length);
    if (!bent && step >= 360 && random.chance(25)) {
      bent = true;
      bar.bend(at + 60, 10240);
      bar.bend(at + 120, 12288);
      bar.bend(at + step - 30, 8192);
    }
    at += step;
    const int move = random.between(-2, 2);
    key =
        part.base + chord.tone(clampTo(
                        (key - part.base - chord.root) * 3 / 12 + move, 0, 5));
    if (random.chance(30)) key += random.chance(50) ? 2 : -1;  // passing tone
  }
}

void addChords(Random& random, const Part& part, const Chord& chord,
               BarBuilder& bar, bool pedal) {
  const std::uint32_t measure = bar.measure();
  const std::uint32_t step =
      measure % 960 == 0 && random.chance(50) ? 960 : measure / 2;
  if (pedal) bar.control(0, 64, 127);
  const int inversion = random.between(0, 2);
  const int voices = random.between(3, 4);
  for (std::uint32_t at = 0; at < measure; at += step) {
    for (int v = 0; v < voices; ++v) {
      bar.note(at, part.base + chord.tone(inversion + v),
               random.between(60, 90), step - 20);
    }
  }
  if (pedal) bar.control(measure - 10, 64, 0);
}

void addPad(Random& random, const Part& part, const Chord& chord,
            BarBuilder& bar) {
  const std::uint32_t measure = bar.measure();
  bar.control(0, 11, 80);
  bar.control(measure / 2, 11, 100);
  bar.control(measure * 3 / 4, 11, 90);
  // Held over the bar line: the next measure strikes the same keys again
  // while these still sound.
  for (int v = 0; v < 3; ++v)
    bar.note(0, part.base + chord.tone(v), random.between(50, 70),
             measure + 120);
}

void addArpeggio(Random& random, const Part& part, const Chord& chord,
                 BarBuilder& bar) {
  static const std::vector<std::vector<int>> kFigures = {
      {0, 1, 2, 3}, {0, 1, 2, 3, 2, 1}, {0, 2, 1, 3}, {3, 2, 1, 0}};
  const std::vector<int>& figure = random.pick(kFigures);
  const std::uint32_t step = random.chance(50) ? 120 : 240;
  std::size_t i = 0;
  for (std::uint32_t at = 0; at < bar.measure(); at += step, ++i) {
    bar.note(at, part.base + chord.tone(figure[i % figure.size()]),
             random.between(55, 85), step * 3 / 2);
  }
}

void addBass(Random& random, const Part& part, const Chord& chord,
             BarBuilder& bar) {
  const std::uint32_t step = random.chance(50) ? 240 : 480;
  int i = 0;
  for (std::uint32_t at = 0; at < bar.measure(); at += step, ++i) {
    const int key = part.base + chord.root + (i % 4 == 2 ? 7 : 0);
    // Now and then a repeated root overlaps its predecessor.
    const std::uint32_t length = random.chance(15) ? step + 40 : step * 4 / 5;
    bar.note(at, key, random.between(90, 115), length);
  }
}

void addStrum(Random& random, const Part& part, const Chord& chord,
              BarBuilder& bar) {
  const std::uint32_t measure = bar.measure();
  const std::uint32_t step =
      measure / static_cast<std::uint32_t>(measure % 480 == 0 ? measure / 480
                                                              : measure / 240);
  const bool bends = random.chance(20);
  // Now and then the strings ring into the next strum of the same chord.
  const std::uint32_t length = random.chance(30) ? step + 30 : step - 40;
  for (std::uint32_t at = 0; at < measure; at += step) {
    for (int v = 0; v < 5; ++v) {
      bar.note(at + static_cast<std::uint32_t>(v) * 10,
               part.base + chord.tone(v), random.between(60, 100), length);
    }
  }
  if (bends) {
    bar.bend(measure / 2, 9000);
    bar.bend(measure / 2 + 60, 9800);
    bar.bend(measure - 60, 8192);
  }
}

void addStabs(Random& random, const Part& part, const Chord& chord,
              BarBuilder& bar) {
  const std::uint32_t beat = 480;
  for (std::uint32_t at = beat / 2; at < bar.measure(); at += beat) {
    if (random.chance(30)) continue;
    for (int v = 0; v < 3; ++v)
      bar.note(at, part.base + chord.tone(v), random.between(80, 120), 100);
  }
}

void addDrums(Random& random, const Meter& meter, bool fill, BarBuilder& bar) {
  const std::uint32_t measure = bar.measure();
  const std::uint32_t beat = meter.beatTicks();
  int count = 0;
  for (std::uint32_t at = 0; at < measure; at += beat, ++count) {
    if (count % 2 == 0 || (meter.exponent == 3 && count % 3 == 0))
      bar.note(at, 36, random.between(100, 120), 60);
    else
      bar.note(at, 38, random.between(90, 115), 60);
  }
  // Closed hi-hats; an open one now and then rings over the next ones.
  for (std::uint32_t at = 0; at < measure; at += 120) {
    if (fill && at >= measure / 2) break;
    const bool accent = at % beat == 0;
    const int velocity =
        accent ? random.between(80, 100) : random.between(40, 60);
    if (random.chance(5))
      bar.note(at, 46, velocity, 300);
    else
      bar.note(at, 42, velocity, 100);
  }
  if (fill) {
    static const int kToms[4] = {50, 48, 47, 45};
    int i = 0;
    for (std::uint32_t at = measure / 2; at < measure; at += 120, ++i)
      bar.note(at, kToms[i / 2 % 4], random.between(90, 120), 100);
  } else if (random.chance(20)) {
    bar.note(measure - 120, 38, 35, 40);  // a ghost note
  }
}

Bar makeSetup(Random& random, const Part& part, const Meter& meter) {
  BarBuilder bar(meter.measureTicks());
  addSetup(random, part, bar);
  return bar.take();
}

Bar makeBar(Random& random, const Part& part, const Meter& meter,
            const Chord& chord, bool fill) {
  BarBuilder bar(meter.measureTicks());
  switch (part.role) {
    case Role::kLead:
      addLead(random, part, chord, bar);
      break;
    case Role::kChords:
      addChords(random, part, chord, bar, part.channel == 2);
      break;
    case Role::kPad:
      addPad(random, part, chord, bar);
      break;
    case Role::kArpeggio:
      addArpeggio(random, part, chord, bar);
      break;
    case Role::kBass:
      addBass(random, part, chord, bar);
      break;
    case Role::kStrum:
      addStrum(random, part, chord, bar);
      break;
    case Role::kStabs:
      addStabs(random, part, chord, bar);
      break;
    case Role::kDrums:
      addDrums(random, meter, fill, bar);
      break;
  }
  return bar.take();
}

// A section of the song: its meter, tempo and the measures of every part.
struct Section {
  std::string name;
  Meter meter;
  std::uint32_t tempo;                 // microseconds per quarter note
  std::vector<std::vector<Bar>> bars;  // by part, then by measure
  int plays = 0;
};

Section makeSection(Random& random, const std::vector<Part>& parts,
                    int measures, int number) {
  static const std::vector<Meter> kMeters = {{4, 2}, {4, 2}, {4, 2},  {3, 2},
                                             {6, 3}, {2, 2}, {12, 3}, {5, 2}};
  static const std::vector<std::vector<int>> kProgressions = {
      {0, 5, 7, 0}, {0, 9, 5, 7}, {0, 7, 9, 5}, {2, 7, 0, 0}, {9, 5, 0, 7}};
  static const char* const kNames[] = {"intro",  "verse", "chorus",
                                       "bridge", "break", "solo"};
  Section section;
  section.name = std::string(kNames[number % 6]) + " " + std::to_string(number);
  section.meter = random.pick(kMeters);
  section.tempo = static_cast<std::uint32_t>(random.between(40, 80)) * 10000;
  const int key = random.between(0, 11);
  const std::vector<int>& progression = random.pick(kProgressions);
  const int period = 4;
  for (const Part& part : parts) {
    std::vector<Bar> bars;
    for (int m = 0; m < measures; ++m) {
      const int degree = progression[static_cast<std::size_t>(m % period)];
      const Chord chord{(key + degree) % 12, degree == 9 || degree == 2};
      const bool fill = part.role == Role::kDrums && m == measures - 1;
      if (m >= period && !fill && !random.chance(15))
        bars.push_back(bars[static_cast<std::size_t>(m - period)]);
      else
        bars.push_back(makeBar(random, part, section.meter, chord, fill));
    }
    Bar setup = makeSetup(random, part, section.meter);
    bars[0].insert(bars[0].begin(), setup.begin(), setup.end());
    section.bars.push_back(std::move(bars));
  }
  return section;
}

// The events of one track chunk, gathered at absolute ticks and written in
// time order with delta times; channel messages use running status.
class TrackWriter {
 public:
  TrackWriter(smftest::Track& track, bool noteOnEndsNote)
      : track_(track), noteOnEndsNote_(noteOnEndsNote) {}

  void note(std::uint32_t tick, int channel, int key, int velocity,
            std::uint32_t length) {
    channelMessage(tick, kNoteOn, 0x90 | channel, key, velocity);
    if (noteOnEndsNote_)
      channelMessage(tick + length, kNoteOff, 0x90 | channel, key, 0);
    else
      channelMessage(tick + length, kNoteOff, 0x80 | channel, key, 64);
  }
  void control(std::uint32_t tick, int channel, int controller, int value) {
    channelMessage(tick, kOther, 0xB0 | channel, controller, value);
  }
  void program(std::uint32_t tick, int channel, int program) {
    channelMessage(tick, kOther, 0xC0 | channel, program, -1);
  }
  void bend(std::uint32_t tick, int channel, int value) {
    channelMessage(tick, kOther, 0xE0 | channel, value & 0x7F, value >> 7);
  }
  void tempo(std::uint32_t tick, std::uint32_t microseconds) {
    Pending event = makePending(tick, kMeta, Kind::kTempo);
    event.value = microseconds;
    pending_.push_back(std::move(event));
  }
  void timeSignature(std::uint32_t tick, const Meter& meter) {
    Pending event = makePending(tick, kMeta, Kind::kTimeSignature);
    event.data = {meter.numerator, meter.exponent,
                  meter.exponent == 3 ? 36 : 24, 8};
    pending_.push_back(std::move(event));
  }
  void meta(std::uint32_t tick, int type, const std::string& text) {
    Pending event = makePending(tick, kMeta, Kind::kMeta);
    event.type = type;
    event.text = text;
    pending_.push_back(std::move(event));
  }
  void sysex(std::uint32_t tick, std::vector<int> data) {
    Pending event = makePending(tick, kMeta, Kind::kSysex);
    event.data = std::move(data);
    pending_.push_back(std::move(event));
  }

  // Writes every gathered event before `limit`, in time order.
  void flushBefore(std::uint32_t limit) {
    std::sort(pending_.begin(), pending_.end(),
              [](const Pending& x, const Pending& y) {
                if (x.tick != y.tick) return x.tick < y.tick;
                if (x.order != y.order) return x.order < y.order;
                return x.sequence < y.sequence;
              });
    auto end = pending_.begin();
    for (; end != pending_.end() && end->tick < limit; ++end) write(*end);
    pending_.erase(pending_.begin(), end);
  }
  // Writes everything left and the end of the track.
  void finish(std::uint32_t endTick) {
    flushBefore(UINT32_MAX);
    track_.endOfTrack(std::max(endTick, last_) - last_);
  }
  std::size_t size() const { return track_.events().size() + 8; }

 private:
  // At one tick: meta events, then note-offs, then other channel messages,
  // then note-ons; otherwise in the order they were gathered.
  static constexpr int kMeta = 0;
  static constexpr int kNoteOff = 1;
  static constexpr int kOther = 2;
  static constexpr int kNoteOn = 3;

  enum class Kind { kChannel, kTempo, kTimeSignature, kMeta, kSysex };

  struct Pending {
    std::uint32_t tick = 0;
    int order = 0;
    std::uint64_t sequence = 0;
    Kind kind = Kind::kChannel;
    int status = 0;
    int first = 0;
    int second = -1;  // -1: a message with one data byte
    std::uint32_t value = 0;
    int type = 0;
    std::string text;
    std::vector<int> data;
  };

  Pending makePending(std::uint32_t tick, int order, Kind kind) {
    Pending event;
    event.tick = tick;
    event.order = order;
    event.sequence = sequence_++;
    event.kind = kind;
    return event;
  }
  void channelMessage(std::uint32_t tick, int order, int status, int first,
                      int second) {
    Pending event = makePending(tick, order, Kind::kChannel);
    event.status = status;
    event.first = first;
    event.second = second;
    pending_.push_back(std::move(event));
  }

  void write(const Pending& event) {
    const std::uint32_t delta = event.tick - last_;
    last_ = event.tick;
    switch (event.kind) {
      case Kind::kChannel: {
        smftest::Bytes bytes = smftest::varLen(delta);
        if (event.status != runningStatus_)
          bytes.push_back(static_cast<std::uint8_t>(event.status));
        runningStatus_ = event.status;
        bytes.push_back(static_cast<std::uint8_t>(event.first));
        if (event.second >= 0)
          bytes.push_back(static_cast<std::uint8_t>(event.second));
        track_.raw(bytes);
        return;
      }
      case Kind::kTempo:
        track_.tempo(delta, event.value);
        break;
      case Kind::kTimeSignature:
        track_.timeSignature(delta, event.data[0], event.data[1], event.data[2],
                             event.data[3]);
        break;
      case Kind::kMeta:
        track_.text(delta, event.text, event.type);
        break;
      case Kind::kSysex:
        track_.sysex(delta,
                     smftest::Bytes(event.data.begin(), event.data.end()));
        break;
    }
    // Readers that follow the file format's rule drop running status after
    // a meta or system exclusive event: write the next status in full.
    runningStatus_ = 0;
  }

  smftest::Track& track_;
  bool noteOnEndsNote_;
  std::vector<Pending> pending_;
  std::uint64_t sequence_ = 0;
  std::uint32_t last_ = 0;
  int runningStatus_ = 0;
};

struct SongShape {
  std::vector<Part> parts;
  std::size_t targetSize;
  int sectionsAtMost;
  int measuresLeast;
  int measuresMost;
  bool comments;  // section comments for all tracks
  bool loop;      // a loop marker pair around everything but the first section
};

void writeSong(std::uint32_t seed, const SongShape& shape,
               const std::string& path) {
  Random random(seed);
  smftest::SmfFile song(1, kDivision);
  TrackWriter conductor(song.addTrack(), false);
  std::vector<TrackWriter> tracks;
  for (const Part& part : shape.parts) {
    const bool noteOnEndsNote = part.channel % 3 == 1;
    tracks.emplace_back(song.addTrack(), noteOnEndsNote);
  }

  conductor.meta(0, 0x03, "Benchmark song");
  conductor.meta(0, 0x02, "generated, free to use");
  conductor.sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
  conductor.meta(0, 0x59, std::string("\0\0", 2));  // C major
  for (std::size_t i = 0; i < shape.parts.size(); ++i) {
    const Part& part = shape.parts[i];
    tracks[i].meta(0, 0x03, part.name);
    if (part.channel % 4 == 0) {
      tracks[i].meta(
          0, 0x01,
          "text_" + std::to_string(part.channel) + ":; part: " + part.name);
    }
  }

  auto songSize = [&] {
    std::size_t size = 14 + conductor.size();
    for (const TrackWriter& track : tracks) size += track.size();
    return size;
  };

  std::vector<Section> sections;
  Meter meter{4, 2};
  std::uint32_t tick = 0;
  int played = 0;
  while (songSize() < shape.targetSize) {
    Section* section;
    if (sections.empty() ||
        (static_cast<int>(sections.size()) < shape.sectionsAtMost &&
         random.chance(30))) {
      const int measures =
          random.between(shape.measuresLeast, shape.measuresMost);
      sections.push_back(makeSection(random, shape.parts, measures,
                                     static_cast<int>(sections.size())));
      section = &sections.back();
    } else {
      section = &sections[static_cast<std::size_t>(
          random.between(0, static_cast<int>(sections.size()) - 1))];
    }

    if (played == 1 && shape.loop) conductor.meta(tick, 0x01, "[");
    if (section->meter != meter || played == 0) {
      meter = section->meter;
      conductor.timeSignature(tick, meter);
    }
    conductor.tempo(tick, section->tempo);
    if (section->plays == 0 && shape.comments)
      conductor.meta(tick, 0x01, "text_all:; " + section->name);
    ++section->plays;
    ++played;

    const std::uint32_t measureTicks = meter.measureTicks();
    const std::size_t measures = section->bars[0].size();
    const bool slowDown = random.chance(25);
    for (std::size_t m = 0; m < measures; ++m) {
      if (slowDown && m + 1 == measures) {
        for (std::uint32_t beat = 1; beat < 4; ++beat) {
          conductor.tempo(tick + measureTicks * beat / 4,
                          section->tempo + section->tempo * beat / 20);
        }
      }
      for (std::size_t p = 0; p < shape.parts.size(); ++p) {
        const int channel = shape.parts[p].channel;
        Bar bar = section->bars[p][m];
        // A varied repetition: one note played a little louder.
        if (random.chance(8) && !bar.empty()) {
          Item& item = bar[static_cast<std::size_t>(
              random.between(0, static_cast<int>(bar.size()) - 1))];
          if (item.kind == ItemKind::kNote)
            item.b = clampTo(item.b + random.between(1, 8), 1, 127);
        }
        TrackWriter& track = tracks[p];
        for (const Item& item : bar) {
          const std::uint32_t at = tick + item.at;
          switch (item.kind) {
            case ItemKind::kNote:
              track.note(at, channel, item.a, item.b, item.length);
              break;
            case ItemKind::kControl:
              track.control(at, channel, item.a, item.b);
              break;
            case ItemKind::kProgram:
              track.program(at, channel, item.a);
              break;
            case ItemKind::kBend:
              track.bend(at, channel, item.a);
              break;
          }
        }
        track.flushBefore(tick + measureTicks);
      }
      tick += measureTicks;
      conductor.flushBefore(tick);
      if (songSize() >= shape.targetSize) break;
    }
  }
  if (shape.loop && played > 1) conductor.meta(tick, 0x01, "]");
  conductor.finish(tick);
  for (TrackWriter& track : tracks) track.finish(0);
  song.writeTo(path);
}

// "1048576", "512K", "10M".
bool parseSize(const std::string& text, std::size_t& size) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (end == text.c_str()) return false;
  std::size_t scale = 1;
  const std::string suffix(end);
  if (suffix == "K" || suffix == "k")
    scale = 1024;
  else if (suffix == "M" || suffix == "m")
    scale = 1024 * 1024;
  else if (!suffix.empty())
    return false;
  size = static_cast<std::size_t>(value) * scale;
  return size > 0;
}

int usage() {
  std::fputs(
      "usage: make_bench_files [--seed N] --size SIZE OUTPUT.mid\n"
      "       make_bench_files [--seed N] --batch COUNT DIRECTORY\n"
      "SIZE: bytes, with an optional K or M suffix (1M = 1048576)\n",
      stderr);
  return 2;
}

void writeLargeSong(std::uint32_t seed, std::size_t size,
                    const std::string& path) {
  SongShape shape{allParts(), size, 8, 8, 16, true, true};
  writeSong(seed, shape, path);
}

void writeBatch(std::uint32_t seed, int count, const std::string& directory) {
  std::filesystem::create_directories(directory);
  Random random(seed);
  for (int i = 0; i < count; ++i) {
    SongShape shape;
    std::vector<Part> parts = allParts();
    const int partCount = random.between(3, 7);
    while (static_cast<int>(parts.size()) > partCount) {
      parts.erase(parts.begin() +
                  random.between(0, static_cast<int>(parts.size()) - 1));
    }
    shape.parts = parts;
    shape.targetSize = static_cast<std::size_t>(random.between(2048, 3900));
    shape.sectionsAtMost = random.between(1, 3);
    shape.measuresLeast = 2;
    shape.measuresMost = 4;
    shape.comments = random.chance(50);
    shape.loop = random.chance(50);
    char name[32];
    std::snprintf(name, sizeof name, "/song%04d.mid", i);
    writeSong(seed + static_cast<std::uint32_t>(i) * 7919u + 1u, shape,
              directory + name);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::uint32_t seed = kDefaultSeed;
  if (args.size() >= 2 && args[0] == "--seed") {
    seed =
        static_cast<std::uint32_t>(std::strtoul(args[1].c_str(), nullptr, 0));
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 3) return usage();
  try {
    if (args[0] == "--size") {
      std::size_t size = 0;
      if (!parseSize(args[1], size)) return usage();
      writeLargeSong(seed, size, args[2]);
    } else if (args[0] == "--batch") {
      const int count = std::atoi(args[1].c_str());
      if (count <= 0) return usage();
      writeBatch(seed, count, args[2]);
    } else {
      return usage();
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bench_files: %s\n", e.what());
    return 1;
  }
  return 0;
}
