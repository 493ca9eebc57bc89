// Decoding of the events inside a track chunk.
#include <string>

#include "events/diagnostics.h"
#include "smf/binary_reader.h"
#include "smf/smf_parser.h"
#include "smf/track_read_state.h"

namespace {

enum : std::uint8_t {
  kNoteOff = 0x8,
  kNoteOn = 0x9,
  kPolyPressure = 0xA,
  kControlChange = 0xB,
  kProgramChange = 0xC,
  kChannelPressure = 0xD,
  kPitchBend = 0xE,
};

enum : std::uint8_t {
  kDataEntryMsb = 6,
  kDataEntryLsb = 38,
  kNrpnLsb = 98,
  kNrpnMsb = 99,
  kRpnLsb = 100,
  kRpnMsb = 101,
  kFirstModeMessage = 120,
};

enum : std::uint8_t {
  kMetaLastText = 0x0F,
  kMetaEndOfTrack = 0x2F,
  kMetaSetTempo = 0x51,
  kMetaTimeSignature = 0x58,
};

bool takesTwoDataBytes(std::uint8_t status) {
  const std::uint8_t kind = status >> 4;
  return kind != kProgramChange && kind != kChannelPressure;
}

// Meta event data of the announced length, with the bytes that the file
// did not hold read as zeros.
std::string readPadded(BinaryReader& reader, std::uint32_t length) {
  std::string data;
  reader.readData(length, data);
  data.resize(length, '\0');
  return data;
}

std::uint8_t byteAt(const std::string& data, std::size_t i) {
  return static_cast<std::uint8_t>(data[i]);
}

}  // namespace

void SmfParser::readEvent(BinaryReader& reader, TrackReadState& state,
                          const ProgramOptions& options,
                          const std::string& label) {
  std::uint32_t delta = 0;
  std::uint8_t status = 0;
  reader.readVarLen(delta).readU8(status);
  state.tick += delta;
  if (status <= 0xEF) {
    readChannelMessage(reader, state, status);
  } else if (status == 0xF0 || status == 0xF7) {
    reader.skipBlock();
  } else if (status == 0xFF) {
    readMetaEvent(reader, state, options, label);
  } else {
    throw MetaEventException(
        "Unexpected status - " + std::string(1, static_cast<char>(status)),
        state.tick);
  }
}

void SmfParser::readChannelMessage(BinaryReader& reader, TrackReadState& state,
                                   std::uint8_t first) {
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  if (first >= 0x80) {
    status = first;
    state.runningStatus = status;
    reader.readU8(data1);
    if (takesTwoDataBytes(status)) reader.readU8(data2);
  } else if (state.runningStatus != 0) {
    status = state.runningStatus;
    data1 = first;
    if (takesTwoDataBytes(status)) reader.readU8(data2);
  }

  const int channel = status & 0x0F;
  switch (status >> 4) {
    case kNoteOff:
      noteOff(state, channel, data1);
      break;
    case kNoteOn:
      if (data2 > 0) {
        noteOn(state, channel, data1, data2);
      } else {
        noteOff(state, channel, data1);
      }
      break;
    case kControlChange:
      if (data1 < kFirstModeMessage) {
        controlChange(state, channel, data1, data2);
      }
      break;
    case kProgramChange:
      channels[static_cast<std::size_t>(channel)].events.append(
          Event::create<ProgramChangeEvent>(pool_, state.tick, data1));
      break;
    case kPitchBend: {
      const auto centred = static_cast<std::int16_t>(
          ((std::int32_t{data2} << 7) | data1) - 8192);
      channels[static_cast<std::size_t>(channel)].events.append(
          Event::create<PitchBendEvent>(pool_, state.tick, centred));
      break;
    }
    default:  // key and channel pressure, and a lone data byte
      break;
  }
  ChannelTrack& track = channels[static_cast<std::size_t>(channel)];
  if (state.tick > track.lastTick) track.lastTick = state.tick;
}

void SmfParser::controlChange(TrackReadState& state, int channel,
                              std::uint8_t controller, std::uint8_t value) {
  EventList& events = channels[static_cast<std::size_t>(channel)].events;
  switch (controller) {
    case kDataEntryMsb:
      if (state.rpnSelected) {
        events.append(Event::create<RpnNrpnEvent>(
            pool_, state.tick, RpnNrpnEvent::kRegistered, state.rpnMsb,
            state.rpnLsb, value));
      } else {
        events.append(Event::create<RpnNrpnEvent>(
            pool_, state.tick, RpnNrpnEvent::kNonRegistered, state.nrpnMsb,
            state.nrpnLsb, value));
      }
      break;
    case kDataEntryLsb:
      break;
    case kNrpnLsb:
      state.nrpnLsb = value;
      state.rpnSelected = false;
      break;
    case kNrpnMsb:
      state.nrpnMsb = value;
      state.rpnSelected = false;
      break;
    case kRpnLsb:
      state.rpnLsb = value;
      state.rpnSelected = true;
      break;
    case kRpnMsb:
      state.rpnMsb = value;
      state.rpnSelected = true;
      break;
    default:
      events.append(Event::create<ControlChangeEvent>(pool_, state.tick,
                                                      controller, value));
      break;
  }
}

void SmfParser::readMetaEvent(BinaryReader& reader, TrackReadState& state,
                              const ProgramOptions& options,
                              const std::string& label) {
  std::uint8_t type = 0;
  std::uint32_t length = 0;
  reader.readU8(type).readVarLen(length);

  if (type >= 0x01 && type <= kMetaLastText) {
    std::string text;
    reader.readData(length, text);
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    handleTextEvent(text, state, options, label);
    return;
  }
  switch (type) {
    case kMetaEndOfTrack:
      reader.discard(length);
      state.endOfTrack = true;
      break;
    case kMetaSetTempo: {
      if (length != 3) {
        throw MetaEventException("Set Tempo Event len != 3", state.tick);
      }
      const std::string data = readPadded(reader, length);
      if (data == std::string(3, '\0')) {
        throw MetaEventException("Set Tempo Event value == 0", state.tick);
      }
      channels[0].events.append(
          Event::create<TempoEvent>(pool_, state.tick, byteAt(data, 0),
                                    byteAt(data, 1), byteAt(data, 2)));
      break;
    }
    case kMetaTimeSignature: {
      if (length != 4 && length != 2) {
        throw MetaEventException("Time Signature Event len != 4", state.tick);
      }
      addTimeSignature(state.tick, readPadded(reader, length));
      break;
    }
    default:
      reader.discard(length);
      break;
  }
}

void SmfParser::addTimeSignature(std::uint32_t tick, const std::string& data) {
  // A two-byte time signature carries no metronome bytes: take the usual
  // 24 clocks per click and 8 thirty-seconds per quarter.
  const std::uint8_t clocksPerClick = data.size() == 4 ? byteAt(data, 2) : 24;
  const std::uint8_t thirtySeconds = data.size() == 4 ? byteAt(data, 3) : 8;
  timeSignatures.back().closeAt(tick);
  timeSignatures.append(
      Event::create<BeatEvent>(pool_, tick, byteAt(data, 0), byteAt(data, 1),
                               clocksPerClick, thirtySeconds, division));
}
