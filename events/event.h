// The typed events that carry a piece of music from the MIDI reader to the
// sequence writer: notes, controller and parameter changes, program changes,
// pitch bends, tempo, time signatures and text lines read from the file,
// and the rests and pattern calls that track assembly adds.
//
// Every event has an absolute `tick` in input ticks (the file's division).
// Behaviour that depends on the class goes through the virtual operations
// below; the rest of the program never asks for a concrete type except to
// merge rests (WaitEvent).
#ifndef SEQSMITH_EVENTS_EVENT_H_
#define SEQSMITH_EVENTS_EVENT_H_

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "events/event_pool.h"
#include "events/text_line.h"
#include "events/text_stream.h"

struct Pattern;

class Event {
 public:
  virtual ~Event() = default;
  Event& operator=(const Event&) = delete;

  // A new event of the same class with every field copied, tick included.
  virtual std::unique_ptr<Event> clone() const = 0;
  // Writes the event's command text, without indentation or line end.
  // ControlChangeEvent throws ControlChangeEventException for a bank
  // select value it cannot express.
  virtual TextStream& render(TextStream& out) const = 0;
  // True when `other` is of this event's class and the fields that make up
  // its content are equal. Ticks are never compared; text events are never
  // equal to anything, not even to themselves.
  virtual bool equals(const Event& other) const = 0;
  // The event's text is a whole line of its own: written without the
  // writer's indentation.
  virtual bool isVerbatim() const { return false; }
  // The event makes its channel an output track.
  virtual bool activatesTrack() const { return true; }
  // The event is part of the music rather than a setting; the silence
  // before the first content event of a piece is cut.
  virtual bool isContent() const { return true; }
  // The event comes from a meta event; at one tick it goes first.
  virtual bool isMeta() const { return false; }
  // Converts time values from one time base to another (notes only).
  virtual void rescale(std::uint32_t /*fromBase*/, std::uint32_t /*toBase*/) {}
  // A hash of the fields that `equals` compares, with the class: events
  // that are equal have equal hashes. Lets repeated measures be found
  // without comparing every pair.
  virtual std::uint64_t contentHash() const = 0;

  // Makes an event of class T in `pool`; it must be destroyed before the
  // pool. Events made otherwise (std::make_unique, on the stack) use the
  // general heap, and so do their clones.
  template <typename T, typename... Args>
  static std::unique_ptr<T> create(EventPool& pool, Args&&... args) {
    static_assert(sizeof(T) <= EventPool::kMaxSlotBytes);
    std::unique_ptr<T> event(new (pool) T(std::forward<Args>(args)...));
    static_cast<Event*>(event.get())->pooled_ = true;
    return event;
  }

  // Makes an event of class T where `neighbour` lives: in its pool, or on
  // the heap.
  template <typename T, typename... Args>
  static std::unique_ptr<T> createBeside(const Event& neighbour,
                                         Args&&... args) {
    if (!neighbour.pooled_) {
      return std::make_unique<T>(std::forward<Args>(args)...);
    }
    return create<T>(EventPool::owner(&neighbour), std::forward<Args>(args)...);
  }

  static void* operator new(std::size_t size) { return ::operator new(size); }
  static void* operator new(std::size_t size, EventPool& pool) {
    return pool.allocate(size);
  }
  // Give the memory back when a constructor throws.
  static void operator delete(void* memory) noexcept {
    ::operator delete(memory);
  }
  static void operator delete(void* memory, EventPool& /*pool*/) noexcept {
    EventPool::release(memory);
  }
  // Destroys the event and gives its memory back where it came from.
  static void operator delete(Event* event, std::destroying_delete_t) noexcept;

  const std::uint32_t tick;

 protected:
  explicit Event(std::uint32_t tick) : tick(tick) {}
  Event(const Event&) = default;

  // The clone of an event of class T: in the same pool, or on the heap.
  template <typename T>
  static std::unique_ptr<Event> copyOf(const T& event) {
    return createBeside<T>(event, event);
  }

 private:
  bool pooled_ = false;  // the event lives in an EventPool
};

// Grouping bases: events from meta events and from channel messages.
class MetaEvent : public Event {
 public:
  bool isMeta() const override { return true; }

 protected:
  using Event::Event;
};

class MidiEvent : public Event {
 protected:
  using Event::Event;
};

class NoteEvent final : public MidiEvent {
 public:
  // `key` and `velocity` keep their low 8 bits. The duration is open (all
  // bits set) until end() is called.
  NoteEvent(std::uint32_t tick, std::int32_t key, std::int32_t velocity);

  // Ends the note at `offTick`: duration = offTick - tick (32-bit wrap).
  void end(std::uint32_t offTick) { duration = offTick - tick; }

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  // duration = duration * toBase / fromBase (32-bit wrap, truncated), at
  // least 1.
  void rescale(std::uint32_t fromBase, std::uint32_t toBase) override;
  std::uint64_t contentHash() const override;

  // Eight bits each, so that they share the word the base class leaves
  // partly unused: a note takes 24 bytes instead of 32.
  std::uint8_t key;
  std::uint8_t velocity;
  std::uint32_t duration = 0xFFFFFFFFu;
};

class ProgramChangeEvent final : public MidiEvent {
 public:
  ProgramChangeEvent(std::uint32_t tick, std::int32_t program);

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isContent() const override { return false; }
  std::uint64_t contentHash() const override;

  std::int32_t program;
};

class PitchBendEvent final : public MidiEvent {
 public:
  // `centred` is the 14-bit bend minus 8192; `bend` keeps it divided by 64
  // (rounded down): -128..127.
  PitchBendEvent(std::uint32_t tick, std::int32_t centred);

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isContent() const override { return false; }
  std::uint64_t contentHash() const override;

  std::int32_t bend;
};

class ControlChangeEvent final : public MidiEvent {
 public:
  ControlChangeEvent(std::uint32_t tick, std::int32_t controller,
                     std::int32_t value);

  std::unique_ptr<Event> clone() const override;
  // Writes the command of the controller, or nothing for a controller
  // without one. Throws ControlChangeEventException "Invalid bank_select
  // value" for controller 0 with a value outside 0..3.
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isContent() const override { return false; }
  std::uint64_t contentHash() const override;

  std::int32_t controller;
  std::int32_t value;
};

class RpnNrpnEvent final : public MidiEvent {
 public:
  static constexpr std::int32_t kRegistered = 0;
  static constexpr std::int32_t kNonRegistered = 1;

  RpnNrpnEvent(std::uint32_t tick, std::int32_t kind, std::int32_t parameterMsb,
               std::int32_t parameterLsb, std::int32_t value);

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isContent() const override { return false; }
  std::uint64_t contentHash() const override;

  std::int32_t kind;
  std::int32_t parameterMsb;
  std::int32_t parameterLsb;
  std::int32_t value;
};

class TempoEvent final : public MetaEvent {
 public:
  // The three bytes of a Set Tempo event: microseconds per quarter note,
  // big-endian. They must not all be 0 (the reader refuses such a tempo).
  TempoEvent(std::uint32_t tick, std::uint8_t b0, std::uint8_t b1,
             std::uint8_t b2);

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isContent() const override { return false; }
  std::uint64_t contentHash() const override;

  std::uint32_t bpm;  // quarter notes per minute, truncated
};

// A time signature. Its part in the time map is described in
// events/time_signature_map.h.
class BeatEvent final : public MetaEvent {
 public:
  // Built from the four data bytes of a Time Signature event and the file's
  // division. Throws MetaEventException "Invalid Time Signature" (numerator
  // 0 or exponent 8 or more) or "Too small TPQN" (a beat is not a whole
  // number of ticks), both at `tick`.
  BeatEvent(std::uint32_t tick, std::uint8_t numerator, std::uint8_t exponent,
            std::uint8_t clocksPerClick, std::uint8_t thirtySecondsPerQuarter,
            std::uint16_t division);

  // Closes this time signature's section at `nextTick`, the tick of the
  // next one: sets measureCount. Throws MetaEventException "Time Signature
  // is not on a measure border" at `nextTick` when the section is not a
  // whole number of measures or `nextTick` lies before this one.
  void closeAt(std::uint32_t nextTick);

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;  // writes nothing
  bool equals(const Event& other) const override;
  std::uint64_t contentHash() const override;

  std::uint8_t numerator;
  std::uint8_t denominator;  // 1 << exponent
  std::uint8_t clocksPerClick;
  std::uint8_t thirtySecondsPerQuarter;
  std::int32_t measureCount = -1;  // measures up to the next; -1 while last
  std::int32_t beatTicks;          // division * 4 / denominator
};

// One raw line of the output language for one track.
class TextEvent : public MetaEvent {
 public:
  // A line written exactly as `text` stands.
  TextEvent(std::uint32_t tick, std::string text)
      : MetaEvent(tick), line(std::move(text)) {}
  TextEvent(std::uint32_t tick, TextLine line)
      : MetaEvent(tick), line(std::move(line)) {}

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  bool isVerbatim() const override { return true; }
  std::uint64_t contentHash() const override;

  // The line as it is written.
  std::string text() const { return line.str(); }

  TextLine line;
};

// A text line that the reader places into all sixteen channels; it does
// not make a channel an output track by itself.
class TextAllEvent final : public TextEvent {
 public:
  using TextEvent::TextEvent;

  std::unique_ptr<Event> clone() const override;
  bool activatesTrack() const override { return false; }
};

// A rest of `length` output ticks.
class WaitEvent final : public Event {
 public:
  WaitEvent(std::uint32_t tick, std::uint32_t length)
      : Event(tick), length(length) {}

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  bool equals(const Event& other) const override;
  std::uint64_t contentHash() const override;

  std::uint32_t length;
};

// A call of a pattern; refers to the pattern without owning it.
class PatternEvent final : public Event {
 public:
  PatternEvent(std::uint32_t tick, const Pattern& pattern)
      : Event(tick), pattern(&pattern) {}

  std::unique_ptr<Event> clone() const override;
  TextStream& render(TextStream& out) const override;
  // Equal only to a call of the same pattern record.
  bool equals(const Event& other) const override;
  std::uint64_t contentHash() const override;

  const Pattern* pattern;
};

// The order of events within a track: by tick, and at one tick meta events
// before the others. Used with a stable sort, so events that neither
// precedes keep their order.
bool eventBefore(const Event& a, const Event& b);

#endif  // SEQSMITH_EVENTS_EVENT_H_
