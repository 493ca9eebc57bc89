// The event classes: properties, construction, clone, equality, content
// hashes, rescaling, ordering and event lists.
#include "events/event.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "events/event_list.h"
#include "events/measure.h"

namespace {

// An event that overrides only what it must, to see the defaults of Event.
class PlainEvent final : public Event {
 public:
  explicit PlainEvent(std::uint32_t tick) : Event(tick) {}
  std::unique_ptr<Event> clone() const override {
    return std::make_unique<PlainEvent>(tick);
  }
  TextStream& render(TextStream& out) const override { return out; }
  bool equals(const Event&) const override { return false; }
  std::uint64_t contentHash() const override { return 0; }
};

// Clones `event`, checks that the clone has the same class, and returns it
// as that class.
template <typename T>
std::unique_ptr<T> cloneOf(const T& event) {
  std::unique_ptr<Event> copy = event.clone();
  EXPECT_NE(copy.get(), &event);
  EXPECT_EQ(typeid(*copy), typeid(event));
  return std::unique_ptr<T>(dynamic_cast<T*>(copy.release()));
}

// One event of every concrete class, at tick 7, with payloads chosen so
// that different classes share numbers (a note on key 7 with velocity 100,
// controller 7 with value 100, ...).
std::vector<std::unique_ptr<Event>> oneOfEachClass(const Pattern& pattern) {
  std::vector<std::unique_ptr<Event>> events;
  events.push_back(std::make_unique<NoteEvent>(7, 7, 100));
  events.push_back(std::make_unique<ProgramChangeEvent>(7, 7));
  events.push_back(std::make_unique<PitchBendEvent>(7, 7 * 64));
  events.push_back(std::make_unique<ControlChangeEvent>(7, 7, 100));
  events.push_back(std::make_unique<RpnNrpnEvent>(7, 0, 0, 7, 100));
  events.push_back(std::make_unique<TempoEvent>(7, 0x07, 0xA1, 0x20));
  events.push_back(std::make_unique<BeatEvent>(7, 4, 2, 24, 8, 480));
  events.push_back(std::make_unique<TextEvent>(7, "7"));
  events.push_back(std::make_unique<TextAllEvent>(7, "7"));
  events.push_back(std::make_unique<WaitEvent>(7, 7));
  events.push_back(std::make_unique<PatternEvent>(7, pattern));
  return events;
}

TEST(Event, ClassPropertiesTable) {
  Pattern pattern;
  const struct {
    std::unique_ptr<Event> event;
    bool verbatim, activates, content, meta;
  } cases[] = {
      {std::make_unique<PlainEvent>(0), false, true, true, false},
      {std::make_unique<NoteEvent>(0, 60, 100), false, true, true, false},
      {std::make_unique<WaitEvent>(0, 48), false, true, true, false},
      {std::make_unique<PatternEvent>(0, pattern), false, true, true, false},
      {std::make_unique<ProgramChangeEvent>(0, 1), false, true, false, false},
      {std::make_unique<PitchBendEvent>(0, 0), false, true, false, false},
      {std::make_unique<ControlChangeEvent>(0, 7, 1), false, true, false,
       false},
      {std::make_unique<RpnNrpnEvent>(0, 0, 0, 0, 2), false, true, false,
       false},
      {std::make_unique<TempoEvent>(0, 7, 0xA1, 0x20), false, true, false,
       true},
      {std::make_unique<BeatEvent>(0, 4, 2, 24, 8, 480), false, true, true,
       true},
      {std::make_unique<TextEvent>(0, "x"), true, true, true, true},
      {std::make_unique<TextAllEvent>(0, "x"), true, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(typeid(*c.event).name());
    EXPECT_EQ(c.event->isVerbatim(), c.verbatim);
    EXPECT_EQ(c.event->activatesTrack(), c.activates);
    EXPECT_EQ(c.event->isContent(), c.content);
    EXPECT_EQ(c.event->isMeta(), c.meta);
  }
}

TEST(Event, ConstructorsKeepTheLowEightBitsOfMidiFields) {
  const NoteEvent note(1, 256 + 60, 512 + 100);
  EXPECT_EQ(note.key, 60);
  EXPECT_EQ(note.velocity, 100);
  EXPECT_EQ(note.duration, 0xFFFFFFFFu);  // open until end()

  EXPECT_EQ(ProgramChangeEvent(1, 0x1FF).program, 0xFF);

  const ControlChangeEvent change(1, 0x107, -1);
  EXPECT_EQ(change.controller, 7);
  EXPECT_EQ(change.value, 0xFF);

  // The kind is stored as it comes; the other fields keep 8 bits.
  const RpnNrpnEvent parameter(1, 5, 0x301, 0x402, 0x50C);
  EXPECT_EQ(parameter.kind, 5);
  EXPECT_EQ(parameter.parameterMsb, 1);
  EXPECT_EQ(parameter.parameterLsb, 2);
  EXPECT_EQ(parameter.value, 12);
}

TEST(Event, PitchBendKeepsTheCentredValueShiftedRightBySix) {
  const struct {
    std::int32_t centred, bend;
  } cases[] = {
      {8191, 127}, {64, 1},   {63, 0},   {0, 0},
      {-1, -1},    {-64, -1}, {-65, -2}, {-8192, -128},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PitchBendEvent(0, c.centred).bend, c.bend) << c.centred;
  }
}

TEST(Event, TempoIsSixtyMillionDividedByTheMicroseconds) {
  const struct {
    std::uint8_t b0, b1, b2;
    std::uint32_t bpm;
  } cases[] = {
      {0x07, 0xA1, 0x20, 120},        // 500000
      {0x0A, 0xAE, 0x60, 85},         // 700000, truncated
      {0xFF, 0xFF, 0xFF, 3},          // 16777215
      {0x00, 0x00, 0x01, 60000000u},  // 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TempoEvent(0, c.b0, c.b1, c.b2).bpm, c.bpm) << c.bpm;
  }
}

TEST(Event, TempoOfZeroNeverDivides) {
  // The reader refuses it; the constructor asserts in debug builds and
  // must not divide by zero in any build.
  EXPECT_DEBUG_DEATH(TempoEvent(0, 0, 0, 0), "tempo of 0");
}

TEST(Event, CloneCopiesEveryFieldAndTheTick) {
  const auto note = [] {
    NoteEvent n(11, 61, 99);
    n.end(59);
    return cloneOf(n);
  }();
  EXPECT_EQ(note->tick, 11u);
  EXPECT_EQ(note->key, 61);
  EXPECT_EQ(note->velocity, 99);
  EXPECT_EQ(note->duration, 48u);

  const auto program = cloneOf(ProgramChangeEvent(12, 5));
  EXPECT_EQ(program->tick, 12u);
  EXPECT_EQ(program->program, 5);

  const auto bend = cloneOf(PitchBendEvent(13, -8192));
  EXPECT_EQ(bend->tick, 13u);
  EXPECT_EQ(bend->bend, -128);

  const auto change = cloneOf(ControlChangeEvent(14, 10, 33));
  EXPECT_EQ(change->tick, 14u);
  EXPECT_EQ(change->controller, 10);
  EXPECT_EQ(change->value, 33);

  const auto parameter = cloneOf(RpnNrpnEvent(15, 1, 2, 3, 4));
  EXPECT_EQ(parameter->tick, 15u);
  EXPECT_EQ(parameter->kind, 1);
  EXPECT_EQ(parameter->parameterMsb, 2);
  EXPECT_EQ(parameter->parameterLsb, 3);
  EXPECT_EQ(parameter->value, 4);

  const auto tempo = cloneOf(TempoEvent(16, 0x0A, 0xAE, 0x60));
  EXPECT_EQ(tempo->tick, 16u);
  EXPECT_EQ(tempo->bpm, 85u);

  const auto beat = [] {
    BeatEvent b(17, 6, 3, 36, 7, 480);
    b.closeAt(17 + 3 * 1440);
    return cloneOf(b);
  }();
  EXPECT_EQ(beat->tick, 17u);
  EXPECT_EQ(beat->numerator, 6);
  EXPECT_EQ(beat->denominator, 8);
  EXPECT_EQ(beat->clocksPerClick, 36);
  EXPECT_EQ(beat->thirtySecondsPerQuarter, 7);
  EXPECT_EQ(beat->measureCount, 3);
  EXPECT_EQ(beat->beatTicks, 240);

  const auto text = cloneOf(TextEvent(18, "    jump\tX"));
  EXPECT_EQ(text->tick, 18u);
  EXPECT_EQ(text->text(), "    jump\tX");

  const auto textAll = cloneOf(TextAllEvent(19, "L:"));
  EXPECT_EQ(textAll->tick, 19u);
  EXPECT_EQ(textAll->text(), "L:");
  EXPECT_FALSE(textAll->activatesTrack());

  const auto wait = cloneOf(WaitEvent(20, 96));
  EXPECT_EQ(wait->tick, 20u);
  EXPECT_EQ(wait->length, 96u);

  Pattern pattern;
  const auto call = cloneOf(PatternEvent(21, pattern));
  EXPECT_EQ(call->tick, 21u);
  EXPECT_EQ(call->pattern, &pattern);
}

TEST(Event, NoEventEqualsAnEventOfAnotherClass) {
  Pattern pattern;
  const auto events = oneOfEachClass(pattern);
  for (std::size_t i = 0; i < events.size(); ++i) {
    for (std::size_t j = 0; j < events.size(); ++j) {
      if (i == j) continue;
      EXPECT_FALSE(events[i]->equals(*events[j]))
          << typeid(*events[i]).name() << " vs " << typeid(*events[j]).name();
    }
  }
}

TEST(Event, AClonedEventEqualsItsOriginalExceptTextEvents) {
  Pattern pattern;
  for (const auto& event : oneOfEachClass(pattern)) {
    const bool isText = dynamic_cast<const TextEvent*>(event.get()) != nullptr;
    const auto copy = event->clone();
    SCOPED_TRACE(typeid(*event).name());
    EXPECT_EQ(event->equals(*copy), !isText);
    EXPECT_EQ(event->equals(*event), !isText);
  }
}

// Pairs of events of one class at different ticks: equal exactly when the
// compared fields are. Shared by the equality and content hash tests.
struct EqualityCase {
  const char* name;
  std::unique_ptr<Event> a, b;
  bool equal;
};

std::vector<EqualityCase> equalityCases(const Pattern& p1, const Pattern& p2) {
  const auto note = [](std::uint32_t tick, int key, int velocity,
                       std::uint32_t length) {
    auto n = std::make_unique<NoteEvent>(tick, key, velocity);
    n->end(tick + length);
    return n;
  };
  const auto beat = [](std::uint32_t tick, std::uint8_t n, std::uint8_t e,
                       std::uint8_t c, std::uint8_t t) {
    return std::make_unique<BeatEvent>(tick, n, e, c, t, 480);
  };
  std::vector<EqualityCase> cases;
  const auto add = [&](const char* name, std::unique_ptr<Event> a,
                       std::unique_ptr<Event> b, bool equal) {
    cases.push_back({name, std::move(a), std::move(b), equal});
  };
  add("note same", note(0, 60, 100, 48), note(96, 60, 100, 48), true);
  add("note key", note(0, 60, 100, 48), note(0, 61, 100, 48), false);
  add("note velocity", note(0, 60, 100, 48), note(0, 60, 101, 48), false);
  add("note duration", note(0, 60, 100, 48), note(0, 60, 100, 47), false);
  add("program same", std::make_unique<ProgramChangeEvent>(0, 5),
      std::make_unique<ProgramChangeEvent>(9, 5), true);
  add("program differs", std::make_unique<ProgramChangeEvent>(0, 5),
      std::make_unique<ProgramChangeEvent>(0, 6), false);
  add("bend same", std::make_unique<PitchBendEvent>(0, -64),
      std::make_unique<PitchBendEvent>(9, -1), true);
  add("bend differs", std::make_unique<PitchBendEvent>(0, -64),
      std::make_unique<PitchBendEvent>(0, -65), false);
  add("control same", std::make_unique<ControlChangeEvent>(0, 7, 100),
      std::make_unique<ControlChangeEvent>(9, 7, 100), true);
  add("control number", std::make_unique<ControlChangeEvent>(0, 7, 100),
      std::make_unique<ControlChangeEvent>(0, 10, 100), false);
  add("control value", std::make_unique<ControlChangeEvent>(0, 7, 100),
      std::make_unique<ControlChangeEvent>(0, 7, 99), false);
  add("parameter same", std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 3),
      std::make_unique<RpnNrpnEvent>(9, 0, 1, 2, 3), true);
  add("parameter kind", std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 3),
      std::make_unique<RpnNrpnEvent>(0, 1, 1, 2, 3), false);
  add("parameter msb", std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 3),
      std::make_unique<RpnNrpnEvent>(0, 0, 0, 2, 3), false);
  add("parameter lsb", std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 3),
      std::make_unique<RpnNrpnEvent>(0, 0, 1, 0, 3), false);
  add("parameter value", std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 3),
      std::make_unique<RpnNrpnEvent>(0, 0, 1, 2, 4), false);
  // 500000 and 499999 microseconds both give 120 bpm: bpm is compared.
  add("tempo same bpm", std::make_unique<TempoEvent>(0, 0x07, 0xA1, 0x20),
      std::make_unique<TempoEvent>(9, 0x07, 0xA1, 0x1F), true);
  add("tempo differs", std::make_unique<TempoEvent>(0, 0x07, 0xA1, 0x20),
      std::make_unique<TempoEvent>(0, 0x0A, 0xAE, 0x60), false);
  add("beat same", beat(0, 3, 2, 24, 8), beat(9, 3, 2, 24, 8), true);
  add("beat numerator", beat(0, 3, 2, 24, 8), beat(0, 4, 2, 24, 8), false);
  add("beat denominator", beat(0, 3, 2, 24, 8), beat(0, 3, 3, 24, 8), false);
  add("beat clocks", beat(0, 3, 2, 24, 8), beat(0, 3, 2, 12, 8), false);
  add("beat 32nds", beat(0, 3, 2, 24, 8), beat(0, 3, 2, 24, 6), false);
  add("wait same", std::make_unique<WaitEvent>(0, 48),
      std::make_unique<WaitEvent>(9, 48), true);
  add("wait differs", std::make_unique<WaitEvent>(0, 48),
      std::make_unique<WaitEvent>(0, 96), false);
  add("call same pattern", std::make_unique<PatternEvent>(0, p1),
      std::make_unique<PatternEvent>(9, p1), true);
  add("call other pattern", std::make_unique<PatternEvent>(0, p1),
      std::make_unique<PatternEvent>(0, p2), false);
  add("text same text", std::make_unique<TextEvent>(0, "a"),
      std::make_unique<TextEvent>(0, "a"), false);
  add("text-all same text", std::make_unique<TextAllEvent>(0, "a"),
      std::make_unique<TextAllEvent>(0, "a"), false);
  return cases;
}

TEST(Event, EqualsComparesThePayloadButNotTheTick) {
  Pattern p1, p2;
  // Same label: patterns compare by identity, not by contents.
  p1.patternLabel = p2.patternLabel = "SMF_a_Track_0_0";
  for (const auto& c : equalityCases(p1, p2)) {
    EXPECT_EQ(c.a->equals(*c.b), c.equal) << c.name;
    EXPECT_EQ(c.b->equals(*c.a), c.equal) << c.name;
  }
}

TEST(Event, BeatEventEqualityIgnoresTheMeasureCount) {
  BeatEvent closed(0, 4, 2, 24, 8, 480);
  closed.closeAt(3840);
  const BeatEvent open(0, 4, 2, 24, 8, 480);
  EXPECT_TRUE(closed.equals(open));
  EXPECT_EQ(closed.contentHash(), open.contentHash());
}

TEST(Event, EqualEventsHaveEqualContentHashes) {
  Pattern p1, p2;
  for (const auto& c : equalityCases(p1, p2)) {
    if (c.equal) {
      EXPECT_EQ(c.a->contentHash(), c.b->contentHash()) << c.name;
    } else if (dynamic_cast<const TextEvent*>(c.a.get()) == nullptr) {
      EXPECT_NE(c.a->contentHash(), c.b->contentHash()) << c.name;
    }
  }
  Pattern pattern;
  for (const auto& event : oneOfEachClass(pattern)) {
    EXPECT_EQ(event->contentHash(), event->clone()->contentHash())
        << typeid(*event).name();
  }
}

TEST(Event, ContentHashesOfDifferentPayloadsDiffer) {
  // Many distinct events of every class, several of which share numbers
  // across classes: no two should share a hash.
  std::vector<std::unique_ptr<Event>> events;
  for (int key = 0; key < 128; ++key) {
    for (int velocity : {0, 1, 64, 127}) {
      for (std::uint32_t length : {1u, 12u, 48u, 0xFFFFFFFFu}) {
        auto note = std::make_unique<NoteEvent>(0, key, velocity);
        note->end(length);
        events.push_back(std::move(note));
      }
    }
  }
  for (int v = 0; v < 256; ++v) {
    events.push_back(std::make_unique<ProgramChangeEvent>(0, v));
    events.push_back(std::make_unique<PitchBendEvent>(0, (v - 128) * 64));
    events.push_back(std::make_unique<WaitEvent>(0, v));
    for (int c : {0, 1, 7, 64}) {
      events.push_back(std::make_unique<ControlChangeEvent>(0, c, v));
      events.push_back(std::make_unique<RpnNrpnEvent>(0, c & 1, c, 0, v));
    }
  }
  for (std::uint32_t b2 = 1; b2 < 256; ++b2) {
    events.push_back(std::make_unique<TempoEvent>(0, 0, 0, b2));  // distinct
  }
  for (std::uint8_t n = 1; n < 13; ++n) {
    for (std::uint8_t e = 0; e < 5; ++e) {
      events.push_back(std::make_unique<BeatEvent>(0, n, e, 24, 8, 480));
    }
  }
  std::vector<Pattern> patterns(32);
  for (const Pattern& p : patterns) {
    events.push_back(std::make_unique<PatternEvent>(0, p));
  }
  std::set<std::uint64_t> hashes;
  for (const auto& event : events) hashes.insert(event->contentHash());
  EXPECT_EQ(hashes.size(), events.size());
}

TEST(Event, EndSetsTheDurationFromTheNoteOffTick) {
  NoteEvent note(100, 60, 90);
  note.end(148);
  EXPECT_EQ(note.duration, 48u);
  note.end(100);
  EXPECT_EQ(note.duration, 0u);
  note.end(99);  // 32-bit wrap
  EXPECT_EQ(note.duration, 0xFFFFFFFFu);
  EXPECT_EQ(note.tick, 100u);
}

TEST(Event, RescaleConvertsNoteDurationsOnly) {
  const struct {
    std::uint32_t duration, rescaled;
  } cases[] = {
      {1, 1},  // 48 / 480 = 0, raised to 1
      {0, 1},
      {9, 1},
      {10, 1},
      {480, 48},
      {250, 25},
      {259, 25},
      {1920, 192},
      // The product wraps at 32 bits: 100000000 * 48 mod 2^32, / 480.
      {100000000, 1052151},
  };
  for (const auto& c : cases) {
    NoteEvent note(3000, 60, 100);
    note.end(3000 + c.duration);
    note.rescale(480, 48);
    EXPECT_EQ(note.duration, c.rescaled) << c.duration;
    EXPECT_EQ(note.tick, 3000u);
  }

  Pattern pattern;
  for (const auto& event : oneOfEachClass(pattern)) {
    if (typeid(*event) == typeid(NoteEvent)) continue;
    const auto before = event->clone();
    event->rescale(480, 48);
    SCOPED_TRACE(typeid(*event).name());
    EXPECT_EQ(event->tick, 7u);
    EXPECT_EQ(event->contentHash(), before->contentHash());
  }
  WaitEvent wait(0, 480);
  wait.rescale(480, 48);
  EXPECT_EQ(wait.length, 480u);
  BeatEvent beat(0, 4, 2, 24, 8, 480);
  beat.rescale(480, 48);
  EXPECT_EQ(beat.beatTicks, 480);
}

TEST(Event, EventBeforeOrdersByTickThenMetaFirst) {
  const TempoEvent tempo0(0, 7, 0xA1, 0x20);
  const TextEvent text0(0, "x");
  const ControlChangeEvent control0(0, 7, 1);
  const NoteEvent note0(0, 60, 1);
  const NoteEvent noteLast(0xFFFFFFFFu, 60, 1);
  const TempoEvent tempo3(3, 7, 0xA1, 0x20);

  EXPECT_TRUE(eventBefore(tempo0, control0));
  EXPECT_FALSE(eventBefore(control0, tempo0));
  EXPECT_FALSE(eventBefore(tempo0, text0));  // both meta: equivalent
  EXPECT_FALSE(eventBefore(text0, tempo0));
  EXPECT_FALSE(eventBefore(note0, control0));  // neither meta
  EXPECT_FALSE(eventBefore(control0, note0));
  EXPECT_TRUE(eventBefore(note0, tempo3));  // tick first
  EXPECT_FALSE(eventBefore(tempo3, note0));
  EXPECT_TRUE(eventBefore(tempo3, noteLast));  // unsigned ticks
}

// Sorts like track assembly and returns the events' rendered texts.
std::vector<std::string> sortedTexts(EventList& list) {
  std::stable_sort(
      list.items().begin(), list.items().end(),
      [](const auto& a, const auto& b) { return eventBefore(*a, *b); });
  std::vector<std::string> texts;
  for (const auto& event : list.items()) {
    TextStream out;
    event->render(out);
    texts.push_back(out.text());
  }
  return texts;
}

TEST(Event, StableSortUnderEventBeforePutsMetaEventsFirstAtATick) {
  EventList sameTick;
  sameTick.append(std::make_unique<ControlChangeEvent>(0, 7, 100));
  sameTick.append(std::make_unique<TempoEvent>(0, 0x07, 0xA1, 0x20));
  sameTick.append(std::make_unique<NoteEvent>(0, 60, 100));
  EXPECT_EQ(sortedTexts(sameTick),
            (std::vector<std::string>{"tempo\t120", "volume\t100",
                                      "cn4\t100,\t4294967295"}));

  EventList laterFirst;
  laterFirst.append(std::make_unique<NoteEvent>(5, 60, 100));
  laterFirst.append(std::make_unique<TempoEvent>(3, 0x07, 0xA1, 0x20));
  EXPECT_EQ(sortedTexts(laterFirst),
            (std::vector<std::string>{"tempo\t120", "cn4\t100,\t4294967295"}));

  // Ties keep their stored order, within the meta events and without.
  EventList mixed;
  mixed.append(std::make_unique<ProgramChangeEvent>(10, 1));
  mixed.append(std::make_unique<TextEvent>(10, "A"));
  mixed.append(std::make_unique<ProgramChangeEvent>(10, 2));
  mixed.append(std::make_unique<TextAllEvent>(10, "B"));
  mixed.append(std::make_unique<ProgramChangeEvent>(0, 3));
  mixed.append(std::make_unique<TextEvent>(10, "C"));
  EXPECT_EQ(
      sortedTexts(mixed),
      (std::vector<std::string>{"prg\t3", "A", "B", "C", "prg\t1", "prg\t2"}));
}

EventList listOf(std::initializer_list<int> programs) {
  EventList list;
  for (int p : programs)
    list.append(std::make_unique<ProgramChangeEvent>(0, p));
  return list;
}

TEST(EventList, EqualWhenEventsArePairwiseEqualInOrder) {
  EXPECT_TRUE(EventList() == EventList());
  EXPECT_TRUE(listOf({1, 2, 3}) == listOf({1, 2, 3}));
  EXPECT_FALSE(listOf({1, 2, 3}) == listOf({1, 3, 2}));
  EXPECT_FALSE(listOf({1, 2, 3}) == listOf({1, 2, 3, 4}));
  EXPECT_FALSE(listOf({1, 2, 3, 4}) == listOf({1, 2, 3}));
  EXPECT_FALSE(listOf({1, 2}) == EventList());
  EXPECT_FALSE(EventList() == listOf({1}));

  EventList withText = listOf({1});
  withText.append(std::make_unique<TextEvent>(0, "a"));
  EXPECT_FALSE(withText == withText);

  // Ticks do not count.
  EventList shifted;
  shifted.append(std::make_unique<ProgramChangeEvent>(500, 1));
  EXPECT_TRUE(shifted == listOf({1}));
}

TEST(EventList, CopiesHoldClonesOfEveryEvent) {
  EventList original;
  original.append(std::make_unique<NoteEvent>(5, 60, 100));
  original.append(std::make_unique<TextEvent>(6, "L:"));

  const EventList copy(original);
  ASSERT_EQ(copy.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_NE(&copy[i], &original[i]);
    EXPECT_EQ(typeid(copy[i]), typeid(original[i]));
    EXPECT_EQ(copy[i].tick, original[i].tick);
  }
  EXPECT_EQ(static_cast<const TextEvent&>(copy[1]).text(), "L:");

  EventList assigned = listOf({9, 9, 9});
  assigned = original;
  ASSERT_EQ(assigned.size(), 2u);
  EXPECT_NE(&assigned[0], &original[0]);
  EXPECT_TRUE(assigned[0].equals(original[0]));

  // Changing the copy leaves the original alone.
  static_cast<NoteEvent&>(assigned[0]).end(50);
  EXPECT_EQ(static_cast<const NoteEvent&>(original[0]).duration, 0xFFFFFFFFu);

  EventList& alias = assigned;
  assigned = alias;
  ASSERT_EQ(assigned.size(), 2u);
  EXPECT_EQ(static_cast<const NoteEvent&>(assigned[0]).duration, 45u);
}

}  // namespace
