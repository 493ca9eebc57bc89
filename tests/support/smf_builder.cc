#include "tests/support/smf_builder.h"

#include <fstream>
#include <stdexcept>

namespace smftest {

namespace {

void appendU32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void appendU16(Bytes& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

}  // namespace

Bytes varLen(std::uint32_t value) {
  value &= 0x0FFFFFFFu;
  Bytes groups{static_cast<std::uint8_t>(value & 0x7F)};
  while ((value >>= 7) != 0) {
    groups.insert(groups.begin(),
                  static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  }
  return groups;
}

Track& Track::channelMessage(std::uint32_t delta, int status,
                             const Bytes& data) {
  append(events_, varLen(delta));
  events_.push_back(byte(status));
  append(events_, data);
  return *this;
}

Track& Track::noteOn(std::uint32_t delta, int channel, int key, int velocity) {
  return channelMessage(delta, 0x90 | channel, {byte(key), byte(velocity)});
}

Track& Track::noteOff(std::uint32_t delta, int channel, int key, int velocity) {
  return channelMessage(delta, 0x80 | channel, {byte(key), byte(velocity)});
}

Track& Track::control(std::uint32_t delta, int channel, int controller,
                      int value) {
  return channelMessage(delta, 0xB0 | channel, {byte(controller), byte(value)});
}

Track& Track::program(std::uint32_t delta, int channel, int program) {
  return channelMessage(delta, 0xC0 | channel, {byte(program)});
}

Track& Track::pitchBend(std::uint32_t delta, int channel, int value) {
  return channelMessage(delta, 0xE0 | channel,
                        {byte(value & 0x7F), byte((value >> 7) & 0x7F)});
}

Track& Track::tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
  return meta(
      delta, 0x51,
      {byte(microsecondsPerQuarter >> 16), byte(microsecondsPerQuarter >> 8),
       byte(microsecondsPerQuarter)});
}

Track& Track::timeSignature(std::uint32_t delta, int numerator, int exponent,
                            int clocksPerClick, int thirtySeconds) {
  return meta(delta, 0x58,
              {byte(numerator), byte(exponent), byte(clocksPerClick),
               byte(thirtySeconds)});
}

Track& Track::text(std::uint32_t delta, const std::string& text, int type) {
  return meta(delta, type, Bytes(text.begin(), text.end()));
}

Track& Track::meta(std::uint32_t delta, int type, const Bytes& data) {
  append(events_, varLen(delta));
  events_.push_back(0xFF);
  events_.push_back(byte(type));
  append(events_, varLen(static_cast<std::uint32_t>(data.size())));
  append(events_, data);
  return *this;
}

Track& Track::sysex(std::uint32_t delta, const Bytes& data) {
  append(events_, varLen(delta));
  events_.push_back(0xF0);
  append(events_, varLen(static_cast<std::uint32_t>(data.size())));
  append(events_, data);
  return *this;
}

Track& Track::endOfTrack(std::uint32_t delta) { return meta(delta, 0x2F, {}); }

Track& Track::raw(const Bytes& bytes) {
  append(events_, bytes);
  return *this;
}

Track& Track::declaredLength(std::uint32_t length) {
  declared_ = length;
  return *this;
}

SmfFile::SmfFile(int format, int division)
    : format_(format), division_(division) {}

Track& SmfFile::addTrack() {
  tracks_.emplace_back();
  chunks_.push_back(Chunk{"MTrk", {}, &tracks_.back()});
  return tracks_.back();
}

SmfFile& SmfFile::addChunk(const std::string& id, const Bytes& data) {
  chunks_.push_back(Chunk{id, data, nullptr});
  return *this;
}

SmfFile& SmfFile::announceTracks(int count) {
  announced_ = count;
  return *this;
}

SmfFile& SmfFile::headerData(const Bytes& data) {
  headerData_ = data;
  return *this;
}

Bytes SmfFile::bytes() const {
  Bytes out{'M', 'T', 'h', 'd'};
  Bytes header;
  if (headerData_) {
    header = *headerData_;
  } else {
    appendU16(header, format_);
    appendU16(header, announced_.value_or(static_cast<int>(tracks_.size())));
    appendU16(header, division_);
  }
  appendU32(out, static_cast<std::uint32_t>(header.size()));
  append(out, header);
  for (const Chunk& chunk : chunks_) {
    out.insert(out.end(), chunk.id.begin(), chunk.id.end());
    const Bytes& data = chunk.track ? chunk.track->events() : chunk.data;
    std::uint32_t length = static_cast<std::uint32_t>(data.size());
    if (chunk.track && chunk.track->declared())
      length = *chunk.track->declared();
    appendU32(out, length);
    append(out, data);
  }
  return out;
}

void SmfFile::writeTo(const std::string& path) const {
  writeBytes(path, bytes());
}

Bytes truncated(Bytes bytes, std::size_t length) {
  if (length < bytes.size()) bytes.resize(length);
  return bytes;
}

Bytes patched(Bytes bytes, std::size_t offset, std::uint8_t value) {
  bytes.at(offset) = value;
  return bytes;
}

void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace smftest
