// The container: header checks, the chunk loop, the bound of a track
// chunk's declared length, and every container diagnostic.
#include <gtest/gtest.h>

#include <string>

#include "tests/smf/parse_util.h"

namespace smftest {
namespace {

// A track with one note on channel 0, so that reading it shows.
Track& noteTrack(SmfFile& file, int key = 60) {
  return file.addTrack().noteOn(0, 0, key, 100).noteOff(96, 0, key);
}

Bytes fileWithTracks(int tracks, int announced) {
  SmfFile file;
  for (int i = 0; i < tracks; ++i) noteTrack(file).endOfTrack();
  file.announceTracks(announced);
  return file.bytes();
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes chunkHeader(const std::string& id, std::uint32_t length) {
  Bytes out(id.begin(), id.end());
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(length >> shift));
  }
  return out;
}

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

TEST(SmfParser, ContainerDiagnostics) {
  const Bytes twoTracks = fileWithTracks(2, 2);
  const std::size_t firstTrackEvents = 14 + 8;  // header, chunk header

  SmfFile noEndOfTrack;
  noteTrack(noEndOfTrack);
  SmfFile secondWithoutEnd;
  noteTrack(secondWithoutEnd).endOfTrack();
  noteTrack(secondWithoutEnd);
  SmfFile emptyDeclared;
  noteTrack(emptyDeclared).endOfTrack().declaredLength(0);
  SmfFile longDelta;
  longDelta.addTrack().raw({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100});

  const struct {
    const char* name;
    Bytes bytes;
    Failure expected;
  } cases[] = {
      {"RIFF wrapper",
       Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'R', 'M', 'I', 'D'} + twoTracks,
       parseError("Not SMF file")},
      {"track chunk first", chunkHeader("MTrk", 4) + kEndOfTrack,
       parseError("Not SMF file")},
      {"header length 5", SmfFile().headerData({0, 0, 0, 0, 1}).bytes(),
       parseError("Too small MThd chunkSize - 5")},
      {"header length 0", SmfFile().headerData({}).bytes(),
       parseError("Too small MThd chunkSize - 0")},
      {"format 2", SmfFile(2).bytes(), parseError("Unsupported Format - 2")},
      {"format 65535", SmfFile(0xFFFF).bytes(),
       parseError("Unsupported Format - 65535")},
      {"time-code division E7 28", SmfFile(1, 0xE728).bytes(),
       parseError("Not Support SMPTE division")},
      {"time-code division 80 00", SmfFile(1, 0x8000).bytes(),
       parseError("Not Support SMPTE division")},
      {"division 0", SmfFile(1, 0).bytes(), parseError("Invalid division - 0")},
      {"format checked before division", SmfFile(2, 0xE728).bytes(),
       parseError("Unsupported Format - 2")},
      {"one track announced, two present", fileWithTracks(2, 1),
       parseError("Too much MTrk chunk")},
      {"no track announced, one present", fileWithTracks(1, 0),
       parseError("Too much MTrk chunk")},
      {"two tracks announced, one present", fileWithTracks(1, 2),
       parseError("Too few MTrk chunk ( 1 / 2 )")},
      {"three tracks announced, none present", fileWithTracks(0, 3),
       parseError("Too few MTrk chunk ( 0 / 3 )")},
      {"track without End of Track", noEndOfTrack.bytes(),
       parseError("MTrk chunk parse overflow - 0")},
      {"second track without End of Track", secondWithoutEnd.bytes(),
       parseError("MTrk chunk parse overflow - 1")},
      {"track declaring length 0", emptyDeclared.bytes(),
       parseError("MTrk chunk parse overflow - 0")},
      {"empty file", Bytes{}, parseError("Unexpected EOF - <path>")},
      {"cut in the header identifier", truncated(twoTracks, 3),
       parseError("Unexpected EOF - <path>")},
      {"cut in the header fields", truncated(twoTracks, 11),
       parseError("Unexpected EOF - <path>")},
      {"cut in a chunk header", truncated(twoTracks, 14 + 6),
       parseError("Unexpected EOF - <path>")},
      {"cut in a note-on", truncated(twoTracks, firstTrackEvents + 3),
       parseError("Unexpected EOF - <path>")},
      {"cut in End of Track", truncated(twoTracks, twoTracks.size() - 1),
       parseError("Unexpected EOF - <path>")},
      {"delta time of five bytes", longDelta.bytes(),
       parseError("Invalid file format")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseFailure(c.bytes), c.expected) << c.name;
  }
}

TEST(SmfParser, CannotOpenAMissingFileOrADirectory) {
  TempDir dir;
  for (const std::string& path : {dir.file("missing.mid"), dir.path()}) {
    SmfParser parser;
    try {
      parser.parse(path, ProgramOptions{}, kLabel);
      ADD_FAILURE() << "no exception for " << path;
    } catch (const ParseException& e) {
      EXPECT_EQ(typeid(e), typeid(ParseException)) << path;
      EXPECT_STREQ(e.what(), "Cannot open file") << path;
    }
  }
}

TEST(SmfParser, UnexpectedEofNamesTheFileAsGiven) {
  TempDir dir;
  writeBytes(dir.file("cut.mid"), truncated(fileWithTracks(1, 1), 20));
  const std::string name = dir.path() + "/./cut.mid";
  SmfParser parser;
  try {
    parser.parse(name, ProgramOptions{}, kLabel);
    FAIL() << "no exception";
  } catch (const ParseException& e) {
    EXPECT_EQ(typeid(e), typeid(ParseException));
    EXPECT_EQ(std::string(e.what()), "Unexpected EOF - " + name);
  }
}

TEST(SmfParser, HeaderWithoutTracksGivesAnEmptyFourFourFile) {
  const auto parser = parseOk(SmfFile(0, 96));
  EXPECT_EQ(parser->format, 0u);
  EXPECT_EQ(parser->trackCount, 0u);
  EXPECT_EQ(parser->division, 96u);
  EXPECT_TRUE(busyChannels(*parser).empty());
  EXPECT_EQ(timeSignaturesOf(*parser),
            std::vector<std::string>{"beat@0 4/4 24 8"});
}

TEST(SmfParser, LongerHeaderHasItsExtraBytesPassedOver) {
  SmfFile file;
  file.headerData({0x00, 0x01, 0x00, 0x01, 0x01, 0xE0, 'M', 'T'});
  noteTrack(file).endOfTrack();
  const auto parser = parseOk(file);
  EXPECT_EQ(parser->division, 480u);
  EXPECT_EQ(eventsOf(*parser, 0), std::vector<std::string>{"note@0 60 100 96"});
}

TEST(SmfParser, HugeHeaderLengthPassesOverTheRestOfTheFile) {
  // Length - 6 is a forward move of four billion bytes, never a step back.
  const Bytes bytes = chunkHeader("MThd", 0xFFFFFFFF) +
                      Bytes{0, 1, 0, 1, 0x01, 0xE0} + chunkHeader("MTrk", 4) +
                      kEndOfTrack;
  EXPECT_EQ(parseFailure(bytes), parseError("Too few MTrk chunk ( 0 / 1 )"));
}

TEST(SmfParser, OtherChunksArePassedOverAndNotCounted) {
  SmfFile file;
  file.addChunk("Junk", {1, 2, 3});
  noteTrack(file, 60).endOfTrack();
  file.addChunk("MThd", {0, 2, 0, 9, 0x80, 0x00});  // a second header
  noteTrack(file, 62).endOfTrack();
  file.addChunk("XFIH", {});
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 0),
            (std::vector<std::string>{"note@0 60 100 96", "note@0 62 100 96"}));
}

TEST(SmfParser, OtherChunkRunningPastTheEndEndsTheChunkLoop) {
  SmfFile enough;
  noteTrack(enough).endOfTrack();
  enough.addChunk("Junk", {1, 2});
  Bytes bytes = enough.bytes();
  bytes[bytes.size() - 3] = 0x40;  // the Junk chunk declares 16,386 bytes
  EXPECT_EQ(parseFailure(bytes), Failure{});

  SmfFile tooFew;
  noteTrack(tooFew).endOfTrack();
  tooFew.addChunk("Junk", {1, 2}).announceTracks(2);
  bytes = tooFew.bytes();
  bytes[bytes.size() - 3] = 0x40;
  EXPECT_EQ(parseFailure(bytes), parseError("Too few MTrk chunk ( 1 / 2 )"));
}

TEST(SmfParser, BytesAfterEndOfTrackAreReadAsTheNextChunk) {
  // The declared length does not locate the next chunk: what follows End
  // of Track is a chunk header, even inside the declared length.
  SmfFile hidden;
  noteTrack(hidden)
      .endOfTrack()
      .raw(chunkHeader("MTrk", 4) + kEndOfTrack)
      .declaredLength(12 + 12);  // note, End of Track, the hidden chunk
  EXPECT_EQ(parseFailure(hidden), parseError("Too much MTrk chunk"));

  SmfFile padded;
  noteTrack(padded).endOfTrack().raw({0, 0, 0});
  EXPECT_EQ(parseFailure(padded), parseError("Unexpected EOF - <path>"));

  SmfFile junkPadding;
  noteTrack(junkPadding).endOfTrack().raw(chunkHeader("Junk", 0));
  EXPECT_EQ(parseFailure(junkPadding), Failure{});
}

TEST(SmfParser, EventStartingBeforeTheDeclaredEndIsReadWhole) {
  // The first chunk declares one byte less than it holds: End of Track
  // starts before that end, and the second chunk follows right after it.
  SmfFile file;
  noteTrack(file, 60).endOfTrack().declaredLength(12 - 1);
  noteTrack(file, 62).endOfTrack().declaredLength(0xFFFFFFFF);
  const auto parser = parseOk(file);
  EXPECT_EQ(eventsOf(*parser, 0),
            (std::vector<std::string>{"note@0 60 100 96", "note@0 62 100 96"}));
}

TEST(SmfParser, DataRunningPastTheEndOfTheFile) {
  // Nothing is raised inside the data; the chunk loop's next check gives
  // the overflow when the position has reached the declared end, else the
  // next read finds the end of the file.
  const Bytes sysexPastEnd = {0x00, 0xF0, 0x10, 1, 2};
  const Bytes textPastEnd = {0x00, 0xFF, 0x01, 0x10, 'a', 'b'};
  const Bytes hugeMeta = {0x00, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
  const Bytes tempoCut = {0x00, 0xFF, 0x51, 0x03, 0x07};
  const struct {
    const char* name;
    Bytes events;
    std::optional<std::uint32_t> declared;
    Failure expected;
  } cases[] = {
      {"sysex, declared as stored",
       sysexPastEnd,
       {},
       parseError("MTrk chunk parse overflow - 0")},
      {"sysex, declared longer", sysexPastEnd, 0xFFFFFFFF,
       parseError("Unexpected EOF - <path>")},
      {"text, declared as stored",
       textPastEnd,
       {},
       parseError("MTrk chunk parse overflow - 0")},
      {"text, declared longer", textPastEnd, 100,
       parseError("Unexpected EOF - <path>")},
      {"268,435,455 announced bytes",
       hugeMeta,
       {},
       parseError("MTrk chunk parse overflow - 0")},
      {"tempo, declared longer", tempoCut, 100,
       parseError("Unexpected EOF - <path>")},
  };
  for (const auto& c : cases) {
    SmfFile file;
    Track& track = file.addTrack().raw(c.events);
    if (c.declared) track.declaredLength(*c.declared);
    EXPECT_EQ(parseFailure(file), c.expected) << c.name;
  }
}

TEST(SmfParser, ZeroFilledTempoIsTakenAsItStands) {
  SmfFile file;
  file.addTrack().raw({0x83, 0x60, 0xFF, 0x51, 0x03});
  EXPECT_EQ(parseFailure(file), metaError("Set Tempo Event value == 0", 480));
}

}  // namespace
}  // namespace smftest
