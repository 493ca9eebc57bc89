// SmfParser: reads one Standard MIDI File (format 0 or 1) into memory.
// The events of every track chunk are distributed by MIDI channel into
// sixteen event lists; the time signatures of the whole file form the time
// map. Tempo events are filed under channel 0.
#ifndef SEQSMITH_SMF_SMF_PARSER_H_
#define SEQSMITH_SMF_SMF_PARSER_H_

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

#include "events/event_list.h"
#include "events/event_pool.h"
#include "events/text_line.h"
#include "events/time_signature_map.h"

struct ProgramOptions;
class BinaryReader;
struct TrackReadState;

// The events of one MIDI channel, in the order decoded: track chunk by
// track chunk, and by time within a chunk.
struct ChannelTrack {
  EventList events;
  std::uint32_t lastTick = 0;  // greatest tick of a channel message
};

class SmfParser {
 private:
  // Holds every event read from the file and every clone made of one; it
  // outlives them all, so it comes first.
  mutable EventPool pool_;
  // The texts of text commands with "$" marks, kept once for the lines
  // that refer to them (every copy included).
  std::deque<TextLine::Marked> markedTexts_;

 public:
  static constexpr int kChannels = 16;

  SmfParser() = default;
  // Destroys every event read (the time map and the channel lists).
  virtual ~SmfParser() { pool_.close(); }
  SmfParser(const SmfParser&) = delete;
  SmfParser& operator=(const SmfParser&) = delete;

  // Reads the file `fileName`. `options` supplies `verbose` (the notice
  // for ignored texts) and `label` the stem of the loop and text-command
  // labels. Throws ParseException or one of its subclasses at the first
  // problem; "Unexpected EOF - " + fileName when the file ends inside an
  // item. The file is closed on every way out.
  void parse(const std::string& fileName, const ProgramOptions& options,
             const std::string& label);
  // The same, reading from an open stream that the parser takes over and
  // closes; `fileName` names it in messages.
  void parse(std::FILE* stream, const std::string& fileName,
             const ProgramOptions& options, const std::string& label);

  // The pool the parser's events live in. Events made from them while the
  // file is converted (clones, rests) go there too, and must be destroyed
  // before the parser.
  EventPool& eventPool() const { return pool_; }

  std::uint16_t trackCount = 0;
  std::uint16_t format = 0;
  std::uint16_t division = 0;  // ticks per quarter note
  TimeSignatureMap timeSignatures;
  std::array<ChannelTrack, kChannels> channels;

 private:
  void parseFrom(BinaryReader& reader, const std::string& fileName,
                 const ProgramOptions& options, const std::string& label);
  void readHeaderChunk(BinaryReader& reader);
  void readTrackChunk(BinaryReader& reader, std::uint32_t trackIndex,
                      std::int64_t chunkEnd, TrackReadState& state,
                      const ProgramOptions& options, const std::string& label);

  // Track event decoding.
  void readEvent(BinaryReader& reader, TrackReadState& state,
                 const ProgramOptions& options, const std::string& label);
  void readChannelMessage(BinaryReader& reader, TrackReadState& state,
                          std::uint8_t first);
  void controlChange(TrackReadState& state, int channel,
                     std::uint8_t controller, std::uint8_t value);
  void readMetaEvent(BinaryReader& reader, TrackReadState& state,
                     const ProgramOptions& options, const std::string& label);
  void addTimeSignature(std::uint32_t tick, const std::string& data);

  // Note pairing.
  void noteOn(TrackReadState& state, int channel, std::uint8_t key,
              std::uint8_t velocity);
  void noteOff(TrackReadState& state, int channel, std::uint8_t key);
  static void checkPendingNotes(const TrackReadState& state);

  // Text commands and loop markers.
  void handleTextEvent(const std::string& text, const TrackReadState& state,
                       const ProgramOptions& options, const std::string& label);
  // Keeps `payload` with `label` for the lines made from it.
  const TextLine::Marked& keepText(std::string payload,
                                   const std::string& label);
};

// The parser of the file being converted, set by the driver before each
// parse. Channel diagnostics read its time signatures to give a position.
extern SmfParser* currentParser;

#endif  // SEQSMITH_SMF_SMF_PARSER_H_
