#include "events/event.h"

#include <cassert>
#include <functional>
#include <string_view>
#include <typeinfo>

#include "events/diagnostics.h"
#include "events/measure.h"

namespace {

// The other event as this class, when it is exactly of this class.
template <typename T>
const T* sameClass(const T& self, const Event& other) {
  if (typeid(other) != typeid(self)) return nullptr;
  return static_cast<const T*>(&other);
}

// The first value of each class's content hash, so that events of
// different classes with the same numbers hash apart.
enum class ClassSeed : std::uint64_t {
  kNote = 0x6E6F7465,
  kProgramChange,
  kPitchBend,
  kControlChange,
  kRpnNrpn,
  kTempo,
  kBeat,
  kText,
  kWait,
  kPattern,
};

// Mixes values into a hash, starting from the class.
class Hasher {
 public:
  explicit Hasher(ClassSeed seed)
      : state_(static_cast<std::uint64_t>(seed) * 0x9E3779B97F4A7C15ull) {}
  Hasher& add(std::uint64_t value) {
    state_ ^= value + 0x9E3779B97F4A7C15ull + (state_ << 6) + (state_ >> 2);
    state_ *= 0xFF51AFD7ED558CCDull;
    state_ ^= state_ >> 33;
    return *this;
  }
  std::uint64_t value() const { return state_; }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kNoteNames[12] = {
    "cn", "cs", "dn", "ds", "en", "fn", "fs", "gn", "gs", "an", "as", "bn"};

}  // namespace

void Event::operator delete(Event* event, std::destroying_delete_t) noexcept {
  const bool pooled = event->pooled_;
  event->~Event();
  if (pooled) {
    EventPool::release(event);
  } else {
    ::operator delete(event);
  }
}

bool eventBefore(const Event& a, const Event& b) {
  if (a.tick != b.tick) return a.tick < b.tick;
  return a.isMeta() && !b.isMeta();
}

// ---- NoteEvent

NoteEvent::NoteEvent(std::uint32_t tick, std::int32_t key,
                     std::int32_t velocity)
    : MidiEvent(tick),
      key(static_cast<std::uint8_t>(key & 0xFF)),
      velocity(static_cast<std::uint8_t>(velocity & 0xFF)) {}

std::unique_ptr<Event> NoteEvent::clone() const { return copyOf(*this); }

TextStream& NoteEvent::render(TextStream& out) const {
  const std::int32_t octave = key / 12 - 1;
  out << kNoteNames[key % 12];
  if (octave < 0) {
    out << 'm' << -octave;
  } else {
    out << octave;
  }
  return out << '\t' << static_cast<std::uint32_t>(velocity) << ",\t"
             << duration;
}

bool NoteEvent::equals(const Event& other) const {
  const NoteEvent* note = sameClass(*this, other);
  return note != nullptr && note->key == key && note->velocity == velocity &&
         note->duration == duration;
}

void NoteEvent::rescale(std::uint32_t fromBase, std::uint32_t toBase) {
  duration = duration * toBase / fromBase;
  if (duration == 0) duration = 1;
}

std::uint64_t NoteEvent::contentHash() const {
  return Hasher(ClassSeed::kNote)
      .add(static_cast<std::uint32_t>(key))
      .add(static_cast<std::uint32_t>(velocity))
      .add(duration)
      .value();
}

// ---- ProgramChangeEvent

ProgramChangeEvent::ProgramChangeEvent(std::uint32_t tick, std::int32_t program)
    : MidiEvent(tick), program(program & 0xFF) {}

std::unique_ptr<Event> ProgramChangeEvent::clone() const {
  return copyOf(*this);
}

TextStream& ProgramChangeEvent::render(TextStream& out) const {
  return out << "prg\t" << program;
}

bool ProgramChangeEvent::equals(const Event& other) const {
  const ProgramChangeEvent* change = sameClass(*this, other);
  return change != nullptr && change->program == program;
}

std::uint64_t ProgramChangeEvent::contentHash() const {
  return Hasher(ClassSeed::kProgramChange)
      .add(static_cast<std::uint32_t>(program))
      .value();
}

// ---- PitchBendEvent

PitchBendEvent::PitchBendEvent(std::uint32_t tick, std::int32_t centred)
    : MidiEvent(tick), bend(centred >> 6) {}

std::unique_ptr<Event> PitchBendEvent::clone() const { return copyOf(*this); }

TextStream& PitchBendEvent::render(TextStream& out) const {
  return out << "pitchbend\t" << bend;
}

bool PitchBendEvent::equals(const Event& other) const {
  const PitchBendEvent* bendEvent = sameClass(*this, other);
  return bendEvent != nullptr && bendEvent->bend == bend;
}

std::uint64_t PitchBendEvent::contentHash() const {
  return Hasher(ClassSeed::kPitchBend)
      .add(static_cast<std::uint32_t>(bend))
      .value();
}

// ---- ControlChangeEvent (rendering in controller_render.cc)

ControlChangeEvent::ControlChangeEvent(std::uint32_t tick,
                                       std::int32_t controller,
                                       std::int32_t value)
    : MidiEvent(tick), controller(controller & 0xFF), value(value & 0xFF) {}

std::unique_ptr<Event> ControlChangeEvent::clone() const {
  return copyOf(*this);
}

bool ControlChangeEvent::equals(const Event& other) const {
  const ControlChangeEvent* change = sameClass(*this, other);
  return change != nullptr && change->controller == controller &&
         change->value == value;
}

std::uint64_t ControlChangeEvent::contentHash() const {
  return Hasher(ClassSeed::kControlChange)
      .add(static_cast<std::uint32_t>(controller))
      .add(static_cast<std::uint32_t>(value))
      .value();
}

// ---- RpnNrpnEvent (rendering in controller_render.cc)

RpnNrpnEvent::RpnNrpnEvent(std::uint32_t tick, std::int32_t kind,
                           std::int32_t parameterMsb, std::int32_t parameterLsb,
                           std::int32_t value)
    : MidiEvent(tick),
      kind(kind),
      parameterMsb(parameterMsb & 0xFF),
      parameterLsb(parameterLsb & 0xFF),
      value(value & 0xFF) {}

std::unique_ptr<Event> RpnNrpnEvent::clone() const { return copyOf(*this); }

bool RpnNrpnEvent::equals(const Event& other) const {
  const RpnNrpnEvent* change = sameClass(*this, other);
  return change != nullptr && change->kind == kind &&
         change->parameterMsb == parameterMsb &&
         change->parameterLsb == parameterLsb && change->value == value;
}

std::uint64_t RpnNrpnEvent::contentHash() const {
  return Hasher(ClassSeed::kRpnNrpn)
      .add(static_cast<std::uint32_t>(kind))
      .add(static_cast<std::uint32_t>(parameterMsb))
      .add(static_cast<std::uint32_t>(parameterLsb))
      .add(static_cast<std::uint32_t>(value))
      .value();
}

// ---- TempoEvent

TempoEvent::TempoEvent(std::uint32_t tick, std::uint8_t b0, std::uint8_t b1,
                       std::uint8_t b2)
    : MetaEvent(tick), bpm(0) {
  const std::uint32_t microseconds =
      (std::uint32_t{b0} << 16) | (std::uint32_t{b1} << 8) | b2;
  assert(microseconds != 0 && "the reader refuses a tempo of 0");
  if (microseconds != 0) bpm = 60000000u / microseconds;
}

std::unique_ptr<Event> TempoEvent::clone() const { return copyOf(*this); }

TextStream& TempoEvent::render(TextStream& out) const {
  return out << "tempo\t" << bpm;
}

bool TempoEvent::equals(const Event& other) const {
  const TempoEvent* tempo = sameClass(*this, other);
  return tempo != nullptr && tempo->bpm == bpm;
}

std::uint64_t TempoEvent::contentHash() const {
  return Hasher(ClassSeed::kTempo).add(bpm).value();
}

// ---- BeatEvent

BeatEvent::BeatEvent(std::uint32_t tick, std::uint8_t numerator,
                     std::uint8_t exponent, std::uint8_t clocksPerClick,
                     std::uint8_t thirtySecondsPerQuarter,
                     std::uint16_t division)
    : MetaEvent(tick),
      numerator(numerator),
      denominator(exponent < 8 ? static_cast<std::uint8_t>(1u << exponent) : 0),
      clocksPerClick(clocksPerClick),
      thirtySecondsPerQuarter(thirtySecondsPerQuarter),
      beatTicks(0) {
  if (numerator == 0 || exponent >= 8) {
    throw MetaEventException("Invalid Time Signature", tick);
  }
  const std::int32_t quarterTicks = std::int32_t{division} * 4;
  beatTicks = quarterTicks / denominator;
  if (beatTicks == 0 || beatTicks * denominator != quarterTicks) {
    throw MetaEventException("Too small TPQN", tick);
  }
}

void BeatEvent::closeAt(std::uint32_t nextTick) {
  if (nextTick < tick) {
    throw MetaEventException("Time Signature is not on a measure border",
                             nextTick);
  }
  const std::uint32_t span = nextTick - tick;
  const std::uint32_t ticksPerBeat = static_cast<std::uint32_t>(beatTicks);
  const std::uint32_t beats = span / ticksPerBeat;
  const std::uint32_t rest = span - beats * ticksPerBeat;
  const std::uint32_t measures = beats / numerator;
  measureCount = static_cast<std::int32_t>(measures);
  const std::uint32_t extraBeats = beats - measures * numerator;
  if (rest != 0 || extraBeats != 0) {
    throw MetaEventException("Time Signature is not on a measure border",
                             nextTick);
  }
}

std::unique_ptr<Event> BeatEvent::clone() const { return copyOf(*this); }

TextStream& BeatEvent::render(TextStream& out) const { return out; }

bool BeatEvent::equals(const Event& other) const {
  const BeatEvent* beat = sameClass(*this, other);
  return beat != nullptr && beat->numerator == numerator &&
         beat->denominator == denominator &&
         beat->clocksPerClick == clocksPerClick &&
         beat->thirtySecondsPerQuarter == thirtySecondsPerQuarter;
}

std::uint64_t BeatEvent::contentHash() const {
  return Hasher(ClassSeed::kBeat)
      .add(numerator)
      .add(denominator)
      .add(clocksPerClick)
      .add(thirtySecondsPerQuarter)
      .value();
}

// ---- TextEvent, TextAllEvent

std::unique_ptr<Event> TextEvent::clone() const { return copyOf(*this); }

TextStream& TextEvent::render(TextStream& out) const {
  line.writeTo(out);
  return out;
}

bool TextEvent::equals(const Event& /*other*/) const { return false; }

std::uint64_t TextEvent::contentHash() const {
  return Hasher(ClassSeed::kText).value();
}

std::unique_ptr<Event> TextAllEvent::clone() const { return copyOf(*this); }

// ---- WaitEvent

std::unique_ptr<Event> WaitEvent::clone() const { return copyOf(*this); }

TextStream& WaitEvent::render(TextStream& out) const {
  return out << "wait\t" << length;
}

bool WaitEvent::equals(const Event& other) const {
  const WaitEvent* wait = sameClass(*this, other);
  return wait != nullptr && wait->length == length;
}

std::uint64_t WaitEvent::contentHash() const {
  return Hasher(ClassSeed::kWait).add(length).value();
}

// ---- PatternEvent

std::unique_ptr<Event> PatternEvent::clone() const { return copyOf(*this); }

TextStream& PatternEvent::render(TextStream& out) const {
  return out << "call\t" << pattern->patternLabel;
}

bool PatternEvent::equals(const Event& other) const {
  const PatternEvent* call = sameClass(*this, other);
  return call != nullptr && call->pattern == pattern;
}

std::uint64_t PatternEvent::contentHash() const {
  return Hasher(ClassSeed::kPattern)
      .add(std::hash<const Pattern*>{}(pattern))
      .value();
}
