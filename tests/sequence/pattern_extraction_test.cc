// Pattern extraction: which measures become patterns, how they are
// numbered and labelled, and that grouping measures by their contents
// gives exactly what comparing every pair of measures gives.
#include "sequence/pattern_extraction.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "events/labels.h"
#include "sequence/track_assembly.h"
#include "tests/sequence/sequence_fixture.h"

namespace {

using seqtest::describe;
using seqtest::parseSmf;
using smftest::SmfFile;
using Strings = std::vector<std::string>;
using Patterns = std::vector<std::unique_ptr<Pattern>>;

// One event from a word: "n60" a note of key 60 (velocity 100, duration
// 12), "n60v90" and "n60d24" other velocity and duration, "w12" a rest,
// "p3" a program change, "t" a text line.
std::unique_ptr<Event> eventOf(const std::string& word, std::uint32_t tick) {
  const int number = word.size() > 1 ? std::stoi(word.substr(1)) : 0;
  switch (word[0]) {
    case 'n': {
      int velocity = 100;
      std::uint32_t duration = 12;
      if (const auto v = word.find('v'); v != std::string::npos) {
        velocity = std::stoi(word.substr(v + 1));
      }
      if (const auto d = word.find('d'); d != std::string::npos) {
        duration = static_cast<std::uint32_t>(std::stoul(word.substr(d + 1)));
      }
      auto note = std::make_unique<NoteEvent>(tick, number, velocity);
      note->end(tick + duration);
      return note;
    }
    case 'w':
      return std::make_unique<WaitEvent>(tick,
                                         static_cast<std::uint32_t>(number));
    case 'p':
      return std::make_unique<ProgramChangeEvent>(tick, number);
    default:
      return std::make_unique<TextEvent>(tick, "; text");
  }
}

// A measure from words separated by spaces, its events from `tick` on.
Measure measureOf(const std::string& words, std::uint32_t tick = 0) {
  Measure measure;
  std::istringstream in(words);
  std::string word;
  while (in >> word) measure.events.append(eventOf(word, tick++));
  return measure;
}

std::vector<Measure> measuresOf(const Strings& layouts) {
  std::vector<Measure> measures;
  std::uint32_t tick = 0;
  for (const std::string& layout : layouts) {
    measures.push_back(measureOf(layout, tick));
    tick += 1920;
  }
  return measures;
}

// The pattern a replaced measure calls, or null.
const Pattern* callee(const Measure& measure) {
  if (measure.events.size() != 1) return nullptr;
  const auto* call = dynamic_cast<const PatternEvent*>(&measure.events[0]);
  return call != nullptr ? call->pattern : nullptr;
}

const std::string kNine = "w12 n60 w12 n62 w12 n64 w12 n65 w12";

TEST(ExtractPatterns, EveryOccurrenceOfARepeatedMeasureBecomesACall) {
  std::vector<Measure> measures =
      measuresOf({kNine, "w12 n60 w12 n62 w12 n64 w12 n67 w12", kNine, kNine});
  std::vector<const Event*> firstEvents;
  for (const auto& event : measures[0].events.items()) {
    firstEvents.push_back(event.get());
  }

  const Patterns patterns = extractPatterns(measures, 2, "SMF_song");

  ASSERT_EQ(patterns.size(), 1u);
  EXPECT_EQ(patterns[0]->patternLabel, "SMF_song_Track_2_0");
  EXPECT_FALSE(patterns[0]->replaced);
  EXPECT_EQ(describe(patterns[0]->events),
            "wait 12 | cn4 100, 12 | wait 12 | dn4 100, 12 | wait 12 | "
            "en4 100, 12 | wait 12 | fn4 100, 12 | wait 12");
  // The body is the first occurrence's own events.
  ASSERT_EQ(patterns[0]->events.size(), firstEvents.size());
  for (std::size_t i = 0; i < firstEvents.size(); ++i) {
    EXPECT_EQ(&patterns[0]->events[i], firstEvents[i]) << i;
  }
  for (const std::size_t m : {0u, 2u, 3u}) {
    EXPECT_TRUE(measures[m].replaced) << m;
    EXPECT_EQ(callee(measures[m]), patterns[0].get()) << m;
  }
  EXPECT_FALSE(measures[1].replaced);
  EXPECT_EQ(describe(measures[1].events),
            "wait 12 | cn4 100, 12 | wait 12 | dn4 100, 12 | wait 12 | "
            "en4 100, 12 | wait 12 | gn4 100, 12 | wait 12");
}

TEST(ExtractPatterns, TwoMeasuresMakeAPatternOnlyWhenLongAndEqualEnough) {
  const struct {
    const char* first;
    const char* second;
    bool pattern;
  } cases[] = {
      {"w12 n60 w12 n62 w12 n64 w12", "w12 n60 w12 n62 w12 n64 w12", false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62 w12 n64 w12 p3",
       true},
      {"w12 n60 w12 n62 w12 n64 w12 t", "w12 n60 w12 n62 w12 n64 w12 t", false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62 w12 n64 w12 p4",
       false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62d24 w12 n64 w12 p3",
       false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62v90 w12 n64 w12 p3",
       false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62 w12 n64 w24 p3",
       false},
      {"w12 n60 w12 n62 w12 n64 w12 p3", "w12 n60 w12 n62 w12 n64 w12 p3 w1",
       false},
  };
  for (const auto& c : cases) {
    std::vector<Measure> measures = measuresOf({c.first, c.second});

    const Patterns patterns = extractPatterns(measures, 0, "SMF_song");

    EXPECT_EQ(patterns.size(), c.pattern ? 1u : 0u)
        << c.first << " / " << c.second;
    EXPECT_EQ(measures[0].replaced, c.pattern) << c.first;
    EXPECT_EQ(measures[1].replaced, c.pattern) << c.second;
  }
}

TEST(ExtractPatterns, PatternsAreNumberedPerTrackInOrderOfFirstOccurrence) {
  const std::string a = kNine;
  const std::string b = "n60 n64 n67 w24 n60 n64 n67 w24";
  for (const int track : {0, 3}) {
    std::vector<Measure> measures =
        measuresOf({"w192", a, b, "w96 n72 w96", a, b, a});
    const std::string stem = "SMF_song_Track_" + std::to_string(track) + "_";

    const Patterns patterns = extractPatterns(measures, track, "SMF_song");

    ASSERT_EQ(patterns.size(), 2u) << track;
    EXPECT_EQ(patterns[0]->patternLabel, stem + "0");
    EXPECT_EQ(patterns[1]->patternLabel, stem + "1");
    EXPECT_EQ(describe(patterns[1]->events),
              "cn4 100, 12 | en4 100, 12 | gn4 100, 12 | wait 24 | "
              "cn4 100, 12 | en4 100, 12 | gn4 100, 12 | wait 24");
    EXPECT_EQ(describe(measures),
              (Strings{"wait 192", "call " + stem + "0", "call " + stem + "1",
                       "wait 96 | cn5 100, 12 | wait 96", "call " + stem + "0",
                       "call " + stem + "1", "call " + stem + "0"}));
  }
}

TEST(ExtractPatterns, TheLastMeasureIsReplacedButNeverStartsAPattern) {
  std::vector<Measure> measures = measuresOf({"w192", kNine, "w192", kNine});
  const Patterns patterns = extractPatterns(measures, 1, "SMF_song");
  ASSERT_EQ(patterns.size(), 1u);
  EXPECT_EQ(describe(measures),
            (Strings{"wait 192", "call SMF_song_Track_1_0", "wait 192",
                     "call SMF_song_Track_1_0"}));

  std::vector<Measure> single = measuresOf({kNine});
  EXPECT_TRUE(extractPatterns(single, 1, "SMF_song").empty());
  EXPECT_FALSE(single[0].replaced);
}

TEST(ExtractPatterns, AMeasureShortenedByTheLeadingSkipDiffersFromItsRepeat) {
  // Channel 1 plays the same bar twice, its first note an eighth after the
  // bar line; a program change in the third bar keeps the second one full.
  // Unless another channel starts at tick 0, the skip eats the first rest.
  for (const bool earlyChannel : {false, true}) {
    SmfFile file;
    smftest::Track& track = file.addTrack();
    for (int bar = 0; bar < 2; ++bar) {
      for (int beat = 0; beat < 4; ++beat) {
        const std::uint32_t delta = beat > 0 ? 120 : bar == 0 ? 240 : 1080;
        track.noteOn(delta, 1, 60 + beat, 100).noteOff(120, 1, 60 + beat);
      }
    }
    track.program(1320, 1, 5).endOfTrack();
    if (earlyChannel) {
      file.addTrack().noteOn(0, 2, 48, 100).noteOff(480, 2, 48).endOfTrack();
    }
    const auto parser = parseSmf(file);
    const TrackAllocation allocation = allocateTracks(*parser, 48);
    std::vector<Measure> measures =
        splitMeasures(*parser, 1, 48, allocation.leadingSkip);
    ASSERT_EQ(measures.size(), 3u);

    const Patterns patterns = extractPatterns(measures, 1, "SMF_song");

    EXPECT_EQ(patterns.size(), earlyChannel ? 1u : 0u) << earlyChannel;
    if (!earlyChannel) {
      EXPECT_EQ(describe(measures[0].events),
                "cn4 100, 12 | wait 24 | cs4 100, 12 | wait 24 | "
                "dn4 100, 12 | wait 24 | ds4 100, 12 | wait 96");
    }
  }
}

// ---- The plain algorithm, comparing every pair of measures.

Patterns referenceExtract(std::vector<Measure>& measures, int track,
                          const std::string& label) {
  Patterns patterns;
  int counter = 0;
  for (std::size_t w = 0; w + 1 < measures.size(); ++w) {
    Measure& first = measures[w];
    if (first.replaced || first.events.size() < 8) continue;
    Pattern* current = nullptr;
    for (std::size_t j = w + 1; j < measures.size(); ++j) {
      Measure& later = measures[j];
      if (later.replaced || !(first.events == later.events)) continue;
      if (current == nullptr) {
        patterns.push_back(std::make_unique<Pattern>());
        current = patterns.back().get();
        current->patternLabel =
            trackLabel(label, track) + "_" + std::to_string(counter++);
      }
      later.events.clear();
      later.events.append(std::make_unique<PatternEvent>(0, *current));
      later.replaced = true;
    }
    if (current != nullptr) {
      current->events = std::move(first.events);
      first.events = EventList();
      first.events.append(std::make_unique<PatternEvent>(0, *current));
      first.replaced = true;
    }
  }
  return patterns;
}

// A measure as compared below: the number of the pattern it calls, or its
// contents.
std::string outcome(const Measure& measure, const Patterns& patterns) {
  if (!measure.replaced) return describe(measure.events);
  const Pattern* pattern = callee(measure);
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    if (patterns[i].get() == pattern) return "call #" + std::to_string(i);
  }
  return "call of an unknown pattern";
}

// Random tracks made mostly of a few recurring measures (sometimes with
// one event changed), with lengths around the threshold of eight events
// and an occasional text line.
class TrackGenerator {
 public:
  explicit TrackGenerator(unsigned seed) : random_(seed) {}

  std::vector<Measure> track() {
    Strings palette;
    for (int i = pick(1, 4); i > 0; --i) palette.push_back(words(pick(6, 10)));
    Strings layouts;
    for (int m = pick(1, 40); m > 0; --m) {
      if (pick(0, 9) < 7) {
        std::string layout = palette[static_cast<std::size_t>(
            pick(0, static_cast<int>(palette.size()) - 1))];
        if (pick(0, 9) == 0) layout += " " + word();
        layouts.push_back(layout);
      } else {
        layouts.push_back(words(pick(5, 11)));
      }
    }
    std::vector<Measure> measures;
    for (const std::string& layout : layouts) {
      measures.push_back(
          measureOf(layout, static_cast<std::uint32_t>(pick(0, 100000))));
    }
    return measures;
  }

 private:
  int pick(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  std::string word() {
    static const char* const kWords[] = {"n60",    "n60", "n62", "n60d24",
                                         "n60v90", "w12", "w12", "w24",
                                         "p0",     "p1"};
    if (pick(0, 49) == 0) return "t";
    return kWords[pick(0, 9)];
  }
  std::string words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i == 0 ? "" : " ") + word();
    return text;
  }

  std::mt19937 random_;
};

TEST(ExtractPatterns, GivesWhatComparingEveryPairOfMeasuresGives) {
  TrackGenerator generator(20240611);
  int patternsSeen = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<Measure> measures = generator.track();
    std::vector<Measure> expected;
    for (const Measure& measure : measures) {
      expected.push_back(Measure{measure.events, false});
    }
    const int track = round % 16;

    const Patterns patterns = extractPatterns(measures, track, "SMF_x");
    const Patterns reference = referenceExtract(expected, track, "SMF_x");

    ASSERT_EQ(patterns.size(), reference.size()) << "round " << round;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      ASSERT_EQ(patterns[i]->patternLabel, reference[i]->patternLabel)
          << "round " << round;
      ASSERT_EQ(describe(patterns[i]->events), describe(reference[i]->events))
          << "round " << round << ", pattern " << i;
    }
    ASSERT_EQ(measures.size(), expected.size());
    for (std::size_t m = 0; m < measures.size(); ++m) {
      ASSERT_EQ(measures[m].replaced, expected[m].replaced)
          << "round " << round << ", measure " << m;
      ASSERT_EQ(outcome(measures[m], patterns), outcome(expected[m], reference))
          << "round " << round << ", measure " << m;
    }
    patternsSeen += static_cast<int>(patterns.size());
  }
  // The layouts must exercise the search, not only its refusals.
  EXPECT_GT(patternsSeen, 1000);
}

}  // namespace
