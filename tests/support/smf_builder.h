// Builds Standard MIDI Files for tests, saying what the bytes mean: a
// header, track chunks of events, unknown chunks; and small mutators for
// broken files.
#ifndef SEQSMITH_TESTS_SUPPORT_SMF_BUILDER_H_
#define SEQSMITH_TESTS_SUPPORT_SMF_BUILDER_H_

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace smftest {

using Bytes = std::vector<std::uint8_t>;

// A MIDI variable-length quantity (values above 0x0FFFFFFF keep 28 bits).
Bytes varLen(std::uint32_t value);

// The events of one track chunk. Every event starts with its delta time;
// channel messages are written with their status byte unless `raw` is
// used to write running status or broken bytes.
class Track {
 public:
  Track& noteOn(std::uint32_t delta, int channel, int key, int velocity);
  Track& noteOff(std::uint32_t delta, int channel, int key, int velocity = 64);
  Track& control(std::uint32_t delta, int channel, int controller, int value);
  Track& program(std::uint32_t delta, int channel, int program);
  // `value` is the 14-bit bend, 8192 in the centre.
  Track& pitchBend(std::uint32_t delta, int channel, int value);
  Track& tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter);
  Track& timeSignature(std::uint32_t delta, int numerator, int exponent,
                       int clocksPerClick = 24, int thirtySeconds = 8);
  Track& text(std::uint32_t delta, const std::string& text, int type = 0x01);
  Track& meta(std::uint32_t delta, int type, const Bytes& data);
  Track& sysex(std::uint32_t delta, const Bytes& data);
  Track& endOfTrack(std::uint32_t delta = 0);
  // Bytes written as they are (delta times included, if wanted).
  Track& raw(const Bytes& bytes);
  // Declares a chunk length other than the real one.
  Track& declaredLength(std::uint32_t length);

  const Bytes& events() const { return events_; }
  std::optional<std::uint32_t> declared() const { return declared_; }

 private:
  Track& channelMessage(std::uint32_t delta, int status, const Bytes& data);

  Bytes events_;
  std::optional<std::uint32_t> declared_;
};

// A whole file: the header chunk, then tracks and other chunks in the order
// they were added. The header announces as many tracks as were added
// unless announceTracks says otherwise.
class SmfFile {
 public:
  explicit SmfFile(int format = 1, int division = 480);

  Track& addTrack();
  SmfFile& addChunk(const std::string& id, const Bytes& data);
  SmfFile& announceTracks(int count);
  // Replaces the six header bytes by these (for a longer or shorter
  // header, or a time-code division).
  SmfFile& headerData(const Bytes& data);

  Bytes bytes() const;
  // Writes the file; throws std::runtime_error if it cannot.
  void writeTo(const std::string& path) const;

 private:
  struct Chunk {
    std::string id;
    Bytes data;
    Track* track = nullptr;
  };

  int format_;
  int division_;
  std::optional<int> announced_;
  std::optional<Bytes> headerData_;
  std::deque<Track> tracks_;
  std::vector<Chunk> chunks_;
};

// A copy of `bytes` cut to its first `length` bytes.
Bytes truncated(Bytes bytes, std::size_t length);
// A copy of `bytes` with the byte at `offset` replaced.
Bytes patched(Bytes bytes, std::size_t offset, std::uint8_t value);
// Writes `bytes` to `path`; throws std::runtime_error if it cannot.
void writeBytes(const std::string& path, const Bytes& bytes);

}  // namespace smftest

#endif  // SEQSMITH_TESTS_SUPPORT_SMF_BUILDER_H_
