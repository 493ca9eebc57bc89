#include "smf/smf_parser.h"

#include <string>

#include "events/diagnostics.h"
#include "smf/binary_reader.h"
#include "smf/track_read_state.h"

SmfParser* currentParser = nullptr;

namespace {

constexpr std::uint32_t kMThd = 0x4D546864;  // "MThd"
constexpr std::uint32_t kMTrk = 0x4D54726B;  // "MTrk"
constexpr std::uint32_t kHeaderLength = 6;

}  // namespace

ChannelEventException::ChannelEventException(std::string message,
                                             std::int32_t channel,
                                             std::uint32_t absoluteTick)
    : ParseException(std::move(message)), channel(channel) {
  if (currentParser == nullptr) {
    tick = absoluteTick;
    return;
  }
  const MusicalPosition position =
      currentParser->timeSignatures.positionOf(absoluteTick);
  measure = position.measure;
  beat = position.beat;
  tick = position.tick;
}

void SmfParser::parse(const std::string& fileName,
                      const ProgramOptions& options, const std::string& label) {
  BinaryReader reader;
  if (!reader.open(fileName)) throw ParseException("Cannot open file");
  parseFrom(reader, fileName, options, label);
}

void SmfParser::parse(std::FILE* stream, const std::string& fileName,
                      const ProgramOptions& options, const std::string& label) {
  BinaryReader reader;
  reader.adopt(stream);
  parseFrom(reader, fileName, options, label);
}

void SmfParser::parseFrom(BinaryReader& reader, const std::string& fileName,
                          const ProgramOptions& options,
                          const std::string& label) {
  try {
    readHeaderChunk(reader);
    PendingNotes pending;
    std::uint32_t trackIndex = 0;
    while (!reader.atEnd()) {
      std::uint32_t id = 0;
      std::uint32_t length = 0;
      reader.readU32(id).readU32(length);
      if (id != kMTrk) {
        reader.seekForward(length);
        continue;
      }
      if (trackIndex >= trackCount) {
        throw ParseException("Too much MTrk chunk");
      }
      TrackReadState state(pending);
      readTrackChunk(reader, trackIndex, reader.tell() + length, state, options,
                     label);
      ++trackIndex;
    }
    if (trackIndex < trackCount) {
      throw ParseException("Too few MTrk chunk ( " +
                           std::to_string(trackIndex) + " / " +
                           std::to_string(trackCount) + " )");
    }
  } catch (const tonekit::strm::failure&) {
    throw ParseException("Unexpected EOF - " + fileName);
  }
}

void SmfParser::readHeaderChunk(BinaryReader& reader) {
  std::uint32_t id = 0;
  std::uint32_t length = 0;
  reader.readU32(id).readU32(length);
  if (id != kMThd) throw ParseException("Not SMF file");
  if (length < kHeaderLength) {
    throw ParseException("Too small MThd chunkSize - " +
                         std::to_string(length));
  }
  std::uint16_t divisionWord = 0;
  reader.readU16(format).readU16(trackCount).readU16(divisionWord);
  if (format != 0 && format != 1) {
    throw ParseException("Unsupported Format - " + std::to_string(format));
  }
  if ((divisionWord & 0x8000u) != 0) {
    throw ParseException("Not Support SMPTE division");
  }
  if (divisionWord == 0) throw ParseException("Invalid division - 0");
  division = divisionWord;
  timeSignatures.append(std::make_unique<BeatEvent>(0, 4, 2, 24, 8, division));
  reader.seekForward(std::int64_t{length} - kHeaderLength);
}

void SmfParser::readTrackChunk(BinaryReader& reader, std::uint32_t trackIndex,
                               std::int64_t chunkEnd, TrackReadState& state,
                               const ProgramOptions& options,
                               const std::string& label) {
  while (!state.endOfTrack) {
    if (reader.tell() >= chunkEnd) {
      throw ParseException("MTrk chunk parse overflow - " +
                           std::to_string(trackIndex));
    }
    readEvent(reader, state, options, label);
  }
  checkPendingNotes(state);
}
