// The failures of a conversion. Each carries its complete message; those
// tied to a place in the music also carry a position (measure, beat and tick
// counted from 0). Nothing below the program entry prints them.
#ifndef SEQSMITH_EVENTS_DIAGNOSTICS_H_
#define SEQSMITH_EVENTS_DIAGNOSTICS_H_

#include <cstdint>
#include <exception>
#include <string>

// A failure of reading or converting one input file. `fileName` is empty
// when thrown; the driver fills it in for failures raised while the file is
// read.
class ParseException : public std::exception {
 public:
  explicit ParseException(std::string message) : message(std::move(message)) {}
  const char* what() const noexcept override { return message.c_str(); }

  std::string fileName;
  std::string message;
};

// A failure at a channel message (an unmatched note). The tick is turned
// into a musical position through the time signatures that `currentParser`
// has read so far; without a current parser the position is 0, 0, tick.
//
// The constructor is defined by the reader library, next to
// `currentParser`, so that this library does not depend on the reader.
class ChannelEventException : public ParseException {
 public:
  ChannelEventException(std::string message, std::int32_t channel,
                        std::uint32_t absoluteTick);

  std::int32_t channel;
  std::uint32_t measure = 0;
  std::uint32_t beat = 0;
  std::uint32_t tick = 0;
};

// A failure at a meta event or a status byte. The position is always
// measure 0, beat 0 and the absolute tick.
class MetaEventException : public ParseException {
 public:
  MetaEventException(std::string message, std::uint32_t absoluteTick)
      : ParseException(std::move(message)), tick(absoluteTick) {}

  std::uint32_t measure = 0;
  std::uint32_t beat = 0;
  std::uint32_t tick;
};

// A controller value that has no command (a bank select outside 0..3),
// found while the output is written. Position: 0, 0, absolute tick.
class ControlChangeEventException : public ParseException {
 public:
  ControlChangeEventException(std::string message, std::int32_t controller,
                              std::int32_t value, std::uint32_t absoluteTick)
      : ParseException(std::move(message)),
        controller(controller),
        value(value),
        tick(absoluteTick) {}

  std::int32_t controller;
  std::int32_t value;
  std::uint32_t measure = 0;
  std::uint32_t beat = 0;
  std::uint32_t tick;
};

#endif  // SEQSMITH_EVENTS_DIAGNOSTICS_H_
