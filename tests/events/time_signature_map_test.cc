// Time signatures and the time map: beat lengths, closing sections on
// measure borders, positions of ticks and start ticks of measures.
#include "events/time_signature_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "events/diagnostics.h"

namespace {

constexpr std::uint32_t kMax = 0xFFFFFFFFu;

std::unique_ptr<BeatEvent> signature(std::uint32_t tick, std::uint8_t numerator,
                                     std::uint8_t exponent,
                                     std::uint16_t division = 480) {
  return std::make_unique<BeatEvent>(tick, numerator, exponent, 24, 8,
                                     division);
}

// A map as the reader builds it: the header's 4/4 at tick 0, then each
// time signature closes the last entry and is appended.
class MapBuilder {
 public:
  explicit MapBuilder(std::uint16_t division = 480) : division_(division) {
    map.append(signature(0, 4, 2, division));
  }
  MapBuilder& add(std::uint32_t tick, std::uint8_t numerator,
                  std::uint8_t exponent) {
    map.back().closeAt(tick);
    map.append(signature(tick, numerator, exponent, division_));
    return *this;
  }

  TimeSignatureMap map;

 private:
  std::uint16_t division_;
};

void expectPosition(const TimeSignatureMap& map, std::uint32_t tick,
                    std::uint32_t measure, std::uint32_t beat,
                    std::uint32_t beatTick) {
  const MusicalPosition position = map.positionOf(tick);
  EXPECT_EQ(position.measure, measure) << "tick " << tick;
  EXPECT_EQ(position.beat, beat) << "tick " << tick;
  EXPECT_EQ(position.tick, beatTick) << "tick " << tick;
}

// Runs `action` and checks that it fails with a MetaEventException with
// `message` at measure 0, beat 0, `tick`.
template <typename Action>
void expectMetaFailure(Action action, const std::string& message,
                       std::uint32_t tick) {
  try {
    action();
    ADD_FAILURE() << "no failure, expected " << message;
  } catch (const MetaEventException& e) {
    EXPECT_EQ(e.message, message);
    EXPECT_STREQ(e.what(), message.c_str());
    EXPECT_EQ(e.measure, 0u);
    EXPECT_EQ(e.beat, 0u);
    EXPECT_EQ(e.tick, tick);
    EXPECT_EQ(e.fileName, "");
  }
}

TEST(BeatEvent, BeatLengthFromDivisionAndDenominator) {
  const struct {
    std::uint8_t numerator, exponent;
    std::uint16_t division;
    std::uint8_t denominator;
    std::int32_t beatTicks;
  } cases[] = {
      {4, 2, 480, 4, 480}, {6, 3, 480, 8, 240},  {3, 4, 480, 16, 120},
      {7, 6, 480, 64, 30}, {2, 7, 480, 128, 15}, {1, 0, 480, 1, 1920},
      {5, 1, 480, 2, 960}, {4, 3, 2, 8, 1},      {4, 2, 65535, 4, 65535},
      {255, 2, 1, 4, 1},
  };
  for (const auto& c : cases) {
    const BeatEvent beat(10, c.numerator, c.exponent, 36, 6, c.division);
    SCOPED_TRACE(std::to_string(c.numerator) + "/2^" +
                 std::to_string(c.exponent) + " at " +
                 std::to_string(c.division));
    EXPECT_EQ(beat.tick, 10u);
    EXPECT_EQ(beat.numerator, c.numerator);
    EXPECT_EQ(beat.denominator, c.denominator);
    EXPECT_EQ(beat.clocksPerClick, 36);
    EXPECT_EQ(beat.thirtySecondsPerQuarter, 6);
    EXPECT_EQ(beat.measureCount, -1);
    EXPECT_EQ(beat.beatTicks, c.beatTicks);
  }
}

TEST(BeatEvent, RefusesSignaturesItCannotMeasure) {
  const struct {
    std::uint8_t numerator, exponent;
    std::uint16_t division;
    const char* message;
  } cases[] = {
      {4, 3, 1, "Too small TPQN"},  // an eighth is half a tick
      {4, 7, 480, nullptr},         // 15 ticks: fine
      {4, 7, 1, "Too small TPQN"},
      {4, 5, 12, "Too small TPQN"},  // 48 / 32 is not whole
      {4, 2, 0, "Too small TPQN"},   // no division at all
      {0, 2, 480, "Invalid Time Signature"},
      {4, 8, 480, "Invalid Time Signature"},
      {4, 255, 480, "Invalid Time Signature"},
      // Checked before the beat length.
      {0, 3, 1, "Invalid Time Signature"},
      {4, 9, 1, "Invalid Time Signature"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.numerator) + "/2^" +
                 std::to_string(c.exponent) + " at " +
                 std::to_string(c.division));
    const auto build = [&] {
      BeatEvent(3840, c.numerator, c.exponent, 24, 8, c.division);
    };
    if (c.message == nullptr) {
      EXPECT_NO_THROW(build());
    } else {
      expectMetaFailure(build, c.message, 3840);
    }
  }
  // Division 2 measures eighth-note beats in whole ticks.
  EXPECT_EQ(BeatEvent(0, 6, 3, 24, 8, 2).beatTicks, 1);
}

TEST(BeatEvent, CloseAtCountsWholeMeasures) {
  const struct {
    std::uint32_t tick;
    std::uint8_t numerator, exponent;
    std::uint16_t division;
    std::uint32_t next;
    std::int32_t measureCount;
  } cases[] = {
      {0, 4, 2, 480, 3840, 2},
      {0, 4, 2, 480, 0, 0},  // same tick: an empty section
      {1920, 4, 2, 480, 1920, 0},
      {1920, 3, 2, 480, 1920 + 1440 * 5, 5},
      {0, 6, 3, 480, 1440 * 3, 3},
      // The beat count is divided as the unsigned value it is.
      {0, 255, 3, 2, kMax, 16843009},
      {0, 1, 3, 2, 0x80000000u, static_cast<std::int32_t>(0x80000000u)},
      {0, 1, 3, 2, kMax, -1},  // keeps all 32 bits
  };
  for (const auto& c : cases) {
    BeatEvent beat(c.tick, c.numerator, c.exponent, 24, 8, c.division);
    beat.closeAt(c.next);
    EXPECT_EQ(beat.measureCount, c.measureCount) << c.next;
  }
}

TEST(BeatEvent, CloseAtRefusesTicksOffAMeasureBorder) {
  const struct {
    std::uint32_t tick;
    std::uint8_t numerator;
    std::uint32_t next;
  } cases[] = {
      {0, 3, 1000},     // not even on a beat
      {0, 4, 960},      // on a beat, not on a measure border
      {0, 4, 1921},     // one tick past a border
      {0, 3, 1920},     // a border of 4/4 but not of 3/4
      {3840, 4, 1920},  // before the section: decreasing ticks
      {3840, 4, 0},
  };
  for (const auto& c : cases) {
    BeatEvent beat(c.tick, c.numerator, 2, 24, 8, 480);
    expectMetaFailure([&] { beat.closeAt(c.next); },
                      "Time Signature is not on a measure border", c.next);
  }
}

TEST(TimeSignatureMap, HeaderSignatureOnly) {
  const MapBuilder b;
  expectPosition(b.map, 0, 0, 0, 0);
  expectPosition(b.map, 1930, 1, 0, 10);
  expectPosition(b.map, 1919, 0, 3, 479);
  expectPosition(b.map, kMax, 2236962, 0, 255);
  EXPECT_EQ(b.map.measureStartTick(0), 0u);
  EXPECT_EQ(b.map.measureStartTick(5), 9600u);
  EXPECT_EQ(b.map.measureStartTick(kMax), 1920u * kMax);  // wraps
}

TEST(TimeSignatureMap, ThreeFourAfterTwoMeasuresOfFourFour) {
  MapBuilder b;
  b.add(3840, 3, 2);
  EXPECT_EQ(b.map[0].measureCount, 2);
  EXPECT_EQ(b.map[1].measureCount, -1);
  expectPosition(b.map, 3839, 1, 3, 479);
  expectPosition(b.map, 3840, 2, 0, 0);
  expectPosition(b.map, 5279, 2, 2, 479);
  expectPosition(b.map, 5280, 3, 0, 0);
  expectPosition(b.map, 5280 + 480 + 7, 3, 1, 7);
  const struct {
    std::uint32_t measure, start;
  } starts[] = {{0, 0}, {1, 1920}, {2, 3840}, {3, 5280}, {10, 3840 + 8 * 1440}};
  for (const auto& s : starts) {
    EXPECT_EQ(b.map.measureStartTick(s.measure), s.start) << s.measure;
  }
}

TEST(TimeSignatureMap, SignatureAtTickZeroReplacesTheHeader) {
  MapBuilder b;
  b.add(0, 3, 2);
  EXPECT_EQ(b.map[0].measureCount, 0);
  expectPosition(b.map, 0, 0, 0, 0);
  expectPosition(b.map, 1930, 1, 1, 10);
  EXPECT_EQ(b.map.measureStartTick(1), 1440u);

  MapBuilder twoFour;
  twoFour.add(0, 2, 2);
  expectPosition(twoFour.map, 1930, 2, 0, 10);
}

TEST(TimeSignatureMap, SeveralSignaturesAtOneTick) {
  MapBuilder b;
  b.add(3840, 3, 2).add(3840, 6, 3).add(3840 + 2 * 1440, 4, 2);
  // The last of the signatures at 3840 holds the ticks from there.
  expectPosition(b.map, 3840, 2, 0, 0);
  expectPosition(b.map, 3840 + 1440 + 250, 3, 1, 10);
  expectPosition(b.map, 3840 + 2 * 1440, 4, 0, 0);
  EXPECT_EQ(b.map.measureStartTick(2), 3840u);
  EXPECT_EQ(b.map.measureStartTick(3), 3840u + 1440);
  EXPECT_EQ(b.map.measureStartTick(4), 3840u + 2 * 1440);
  EXPECT_EQ(b.map.measureStartTick(5), 3840u + 2 * 1440 + 1920);
}

TEST(TimeSignatureMap, RefusedSignaturesAreNotAppended) {
  MapBuilder b;
  expectMetaFailure([&] { b.add(1000, 3, 2); },
                    "Time Signature is not on a measure border", 1000);
  EXPECT_EQ(b.map.size(), 1u);
  MapBuilder small(1);
  expectMetaFailure([&] { small.add(4, 6, 3); }, "Too small TPQN", 4);
  EXPECT_EQ(small.map.size(), 1u);
}

TEST(TimeSignatureMap, EmptyMap) {
  const TimeSignatureMap map;
  for (std::uint32_t tick : {0u, 1930u, kMax}) {
    expectPosition(map, tick, 0, 0, tick);
  }
  for (std::uint32_t measure : {0u, 3u, kMax}) {
    EXPECT_EQ(map.measureStartTick(measure), 0u) << measure;
  }
}

// The time map's conversions as plain walks over the entries, in 32-bit
// unsigned arithmetic.
MusicalPosition walkPositionOf(const TimeSignatureMap& map,
                               std::uint32_t tick) {
  MusicalPosition position;
  if (map.empty()) {
    position.tick = tick;
    return position;
  }
  std::uint32_t measure = 0;
  std::size_t current = 0;
  for (std::size_t next = 1; next < map.size(); ++next) {
    if (tick < map[next].tick) break;
    measure += static_cast<std::uint32_t>(map[current].measureCount);
    current = next;
  }
  const BeatEvent& c = map[current];
  const std::uint32_t delta = tick - c.tick;
  const auto beatTicks = static_cast<std::uint32_t>(c.beatTicks);
  const std::uint32_t beats = delta / beatTicks;
  position.tick = delta - beats * beatTicks;
  position.measure = measure + beats / c.numerator;
  position.beat = beats - (beats / c.numerator) * c.numerator;
  return position;
}

std::uint32_t walkMeasureStartTick(const TimeSignatureMap& map,
                                   std::uint32_t measure) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < map.size(); ++i) {
    const BeatEvent& e = map[i];
    const auto count = static_cast<std::uint32_t>(e.measureCount);
    const std::uint32_t measureTicks =
        e.numerator * static_cast<std::uint32_t>(e.beatTicks);
    if (measure < count) return sum + measureTicks * measure;
    sum += measureTicks * count;
    measure -= count;
  }
  return sum;
}

// Random maps closed on measure borders, up to the end of the 32-bit tick
// range; some start away from tick 0 and some end with a closed entry (as
// when a signature is refused after closeAt).
class RandomMap {
 public:
  explicit RandomMap(std::mt19937& random) : random_(random) {
    static constexpr std::uint16_t kDivisions[] = {1,  2,   3,   24,  48,
                                                   96, 120, 480, 960, 65535};
    division_ = kDivisions[pick(0, std::size(kDivisions) - 1)];
    std::uint32_t tick = pick(0, 9) == 0 ? pick(0, kMax) : 0;
    const std::uint32_t entries = pick(1, 8);
    for (std::uint32_t i = 0; i < entries; ++i) {
      auto entry = validSignature(tick);
      if (!map.empty()) map.back().closeAt(tick);
      const std::uint64_t measureTicks =
          std::uint64_t{entry->numerator} *
          static_cast<std::uint32_t>(entry->beatTicks);
      map.append(std::move(entry));
      const std::uint64_t room = (kMax - tick) / measureTicks;
      std::uint64_t measures = 0;
      switch (pick(0, 3)) {
        case 0:
          measures = 0;
          break;
        case 1:
          measures = std::min<std::uint64_t>(room, pick(1, 20));
          break;
        case 2:
          measures = room;
          break;
        default:
          measures = room == 0 ? 0 : pick(0, room);
          break;
      }
      tick += static_cast<std::uint32_t>(measures * measureTicks);
    }
    if (pick(0, 4) == 0) map.back().closeAt(tick);
  }

  // Ticks and measure indices to try: the ends of the range, the entries'
  // borders and their neighbours, and random values.
  std::vector<std::uint32_t> ticks() {
    std::vector<std::uint32_t> ticks = {0, 1, kMax - 1, kMax};
    for (std::size_t i = 0; i < map.size(); ++i) {
      ticks.push_back(map[i].tick - 1);
      ticks.push_back(map[i].tick);
      ticks.push_back(map[i].tick + 1);
    }
    for (int i = 0; i < 20; ++i) ticks.push_back(pick(0, kMax));
    return ticks;
  }
  std::vector<std::uint32_t> measures() {
    std::vector<std::uint32_t> measures = {0, 1, 2, kMax - 1, kMax};
    std::uint32_t first = 0;
    for (std::size_t i = 0; i < map.size(); ++i) {
      measures.push_back(first - 1);
      measures.push_back(first);
      measures.push_back(first + 1);
      first += static_cast<std::uint32_t>(map[i].measureCount);
    }
    for (int i = 0; i < 20; ++i) measures.push_back(pick(0, kMax));
    for (int i = 0; i < 20; ++i) measures.push_back(pick(0, 100));
    return measures;
  }

  TimeSignatureMap map;

 private:
  std::uint32_t pick(std::uint64_t low, std::uint64_t high) {
    return static_cast<std::uint32_t>(
        std::uniform_int_distribution<std::uint64_t>(low, high)(random_));
  }
  std::unique_ptr<BeatEvent> validSignature(std::uint32_t tick) {
    for (;;) {
      const auto numerator = static_cast<std::uint8_t>(
          pick(0, 3) == 0 ? pick(1, 255) : pick(1, 7));
      const auto exponent = static_cast<std::uint8_t>(pick(0, 7));
      try {
        return signature(tick, numerator, exponent, division_);
      } catch (const MetaEventException&) {
        // the division cannot measure this beat; try another
      }
    }
  }

  std::mt19937& random_;
  std::uint16_t division_;
};

TEST(TimeSignatureMap, AgreesWithAWalkOverTheEntries) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    RandomMap r(random);
    SCOPED_TRACE("round " + std::to_string(round));
    for (std::uint32_t tick : r.ticks()) {
      const MusicalPosition expected = walkPositionOf(r.map, tick);
      const MusicalPosition actual = r.map.positionOf(tick);
      ASSERT_EQ(actual.measure, expected.measure) << "tick " << tick;
      ASSERT_EQ(actual.beat, expected.beat) << "tick " << tick;
      ASSERT_EQ(actual.tick, expected.tick) << "tick " << tick;
    }
    for (std::uint32_t measure : r.measures()) {
      ASSERT_EQ(r.map.measureStartTick(measure),
                walkMeasureStartTick(r.map, measure))
          << "measure " << measure;
    }
  }
}

}  // namespace
