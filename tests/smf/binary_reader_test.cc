// The binary reader on small files: big-endian values, variable-length
// quantities, short reads, the end test with its push-back, forward moves,
// and meta data reads that never allocate more than the file holds.
#include "smf/binary_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "events/diagnostics.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {
namespace {

// A reader open on a file holding `bytes`.
class ReaderOn {
 public:
  explicit ReaderOn(const Bytes& bytes) {
    writeBytes(dir_.file("data.bin"), bytes);
    opened_ = reader_.open(dir_.file("data.bin"));
  }
  BinaryReader& operator*() { return reader_; }
  BinaryReader* operator->() { return &reader_; }
  bool opened() const { return opened_; }

 private:
  TempDir dir_;
  BinaryReader reader_;
  bool opened_ = false;
};

TEST(BinaryReader, ReadsBigEndianValuesInOneChain) {
  ReaderOn reader({0x4D, 0x54, 0x68, 0x64, 0x00, 0x06, 0x81});
  ASSERT_TRUE(reader.opened());
  std::uint32_t id = 0;
  std::uint16_t length = 0;
  std::uint8_t byte = 0;
  reader->readU32(id).readU16(length).readU8(byte);
  EXPECT_EQ(id, 0x4D546864u);
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(byte, 0x81u);
  EXPECT_EQ(reader->tell(), 7);
}

TEST(BinaryReader, ReadsVariableLengthQuantities) {
  const struct {
    Bytes bytes;
    std::uint32_t value;
  } cases[] = {
      {{0x00}, 0},
      {{0x7F}, 127},
      {{0x81, 0x00}, 128},
      {{0xC0, 0x00}, 8192},
      {{0x81, 0x80, 0x00}, 16384},
      {{0xFF, 0xFF, 0xFF, 0x7F}, 268435455},
  };
  for (const auto& c : cases) {
    Bytes bytes = c.bytes;
    bytes.push_back(0x2A);  // the next item must stay unread
    ReaderOn reader(bytes);
    std::uint32_t value = 0;
    std::uint8_t next = 0;
    reader->readVarLen(value).readU8(next);
    EXPECT_EQ(value, c.value) << c.bytes.size() << " bytes";
    EXPECT_EQ(next, 0x2A) << c.value;
  }
}

TEST(BinaryReader, RefusesAFiveByteQuantityAfterExactlyFourBytes) {
  ReaderOn reader({0x80, 0x80, 0x80, 0x80, 0x00, 0x2A});
  std::uint32_t value = 0;
  try {
    reader->readVarLen(value);
    FAIL() << "no exception";
  } catch (const ParseException& failure) {
    EXPECT_STREQ(failure.what(), "Invalid file format");
  }
  EXPECT_EQ(reader->tell(), 4);
  std::uint8_t fifth = 0xFF;
  reader->readU8(fifth);
  EXPECT_EQ(fifth, 0x00);
}

TEST(BinaryReader, ShortReadsThrowStreamFailure) {
  using Read = std::function<void(BinaryReader&)>;
  std::uint32_t u32 = 0;
  std::uint16_t u16 = 0;
  std::uint8_t u8 = 0;
  const struct {
    const char* name;
    Bytes bytes;
    Read read;
  } cases[] = {
      {"readU32 with 3 bytes",
       {1, 2, 3},
       [&](BinaryReader& r) { r.readU32(u32); }},
      {"readU16 with 1 byte", {1}, [&](BinaryReader& r) { r.readU16(u16); }},
      {"readU8 at the end", {}, [&](BinaryReader& r) { r.readU8(u8); }},
      {"readVarLen 81 then end",
       {0x81},
       [&](BinaryReader& r) { r.readVarLen(u32); }},
      {"readVarLen at the end",
       {},
       [&](BinaryReader& r) { r.readVarLen(u32); }},
      {"skipBlock without its count",
       {0xFF},
       [&](BinaryReader& r) { r.skipBlock(); }},
  };
  for (const auto& c : cases) {
    ReaderOn reader(c.bytes);
    EXPECT_THROW(c.read(*reader), tonekit::strm::failure) << c.name;
  }
}

TEST(BinaryReader, AtEndPutsThePeekedByteBack) {
  ReaderOn reader({0x11, 0x22});
  std::uint8_t byte = 0;
  reader->readU8(byte);
  EXPECT_FALSE(reader->atEnd());
  EXPECT_EQ(reader->tell(), 1);
  EXPECT_FALSE(reader->atEnd());  // asking twice changes nothing
  reader->readU8(byte);
  EXPECT_EQ(byte, 0x22);
  EXPECT_TRUE(reader->atEnd());
  EXPECT_EQ(reader->tell(), 2);
}

TEST(BinaryReader, SeekAfterAtEndCountsThePutBackByte) {
  // The chunk loop asks atEnd, then reads and seeks: the push-back must not
  // shift the position.
  ReaderOn reader({0x00, 0x01, 0x02, 0x03, 0x04});
  EXPECT_FALSE(reader->atEnd());
  reader->seekForward(3);
  EXPECT_EQ(reader->tell(), 3);
  std::uint8_t byte = 0;
  reader->readU8(byte);
  EXPECT_EQ(byte, 0x03);
}

TEST(BinaryReader, SkipBlockPassesOverItsCount) {
  ReaderOn reader({0x03, 0xAA, 0xBB, 0xCC, 0xDD});
  reader->skipBlock();
  EXPECT_EQ(reader->tell(), 4);
  std::uint8_t byte = 0;
  reader->readU8(byte);
  EXPECT_EQ(byte, 0xDD);
}

TEST(BinaryReader, SkipBlockPastTheEndRaisesNothingButTheNextReadFails) {
  ReaderOn reader({0x05, 0xAA});
  EXPECT_NO_THROW(reader->skipBlock());
  EXPECT_EQ(reader->tell(), 6);  // the position moved by the whole count
  EXPECT_TRUE(reader->atEnd());
  std::uint8_t byte = 0;
  EXPECT_THROW(reader->readU8(byte), tonekit::strm::failure);
}

// The parser can read from a memory stream or a pipe as well as from a
// file; a forward move past the end must leave the same position on each,
// or the chunk loop's bound would give another diagnostic.
TEST(BinaryReader, ForwardMovesPastTheEndAreAlikeOnEveryStream) {
  std::string bytes = "\x05\xAA";
  ReaderOn file({0x05, 0xAA});
  BinaryReader memory;
  memory.adopt(fmemopen(bytes.data(), bytes.size(), "rb"));
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], bytes.data(), bytes.size()), 2);
  close(ends[1]);
  BinaryReader fromPipe;
  fromPipe.adopt(fdopen(ends[0], "rb"));

  const std::pair<const char*, BinaryReader*> readers[] = {
      {"file", &*file}, {"memory stream", &memory}, {"pipe", &fromPipe}};
  for (const auto& [kind, reader] : readers) {
    reader->skipBlock();
    EXPECT_EQ(reader->tell(), 6) << kind;
    reader->seekForward(10);
    EXPECT_EQ(reader->tell(), 16) << kind;
    EXPECT_TRUE(reader->atEnd()) << kind;
    std::uint8_t byte = 0;
    EXPECT_THROW(reader->readU8(byte), tonekit::strm::failure) << kind;
  }
}

TEST(BinaryReader, DoesNotOpenAMissingFileOrADirectory) {
  TempDir dir;
  BinaryReader reader;
  EXPECT_FALSE(reader.open(dir.file("missing.mid")));
  EXPECT_FALSE(reader.open(dir.path()));
}

TEST(BinaryReader, ReadDataStopsAtTheEndOfTheFile) {
  ReaderOn reader({0x01, 'a', 'b', 'c'});
  std::uint8_t skip = 0;
  reader->readU8(skip);
  std::string data;
  EXPECT_EQ(reader->readData(2, data), 2u);
  EXPECT_EQ(data, "ab");
  EXPECT_EQ(reader->readData(10, data), 1u);
  EXPECT_EQ(data, "c");
  EXPECT_EQ(reader->tell(), 4);
  EXPECT_EQ(reader->readData(10, data), 0u);
  EXPECT_EQ(data, "");
}

TEST(BinaryReader, DiscardStopsAtTheEndOfTheFile) {
  ReaderOn reader({'a', 'b', 'c', 'd'});
  reader->discard(1);
  EXPECT_EQ(reader->tell(), 1);
  reader->discard(268435455);
  EXPECT_EQ(reader->tell(), 4);
  EXPECT_TRUE(reader->atEnd());
}

// A meta event may announce 268,435,455 bytes in a file of twenty: the
// buffer must stay the size of what is really there, whatever kind of
// stream the reader has.
TEST(BinaryReader, ReadDataNeverAllocatesForBytesThatAreNotThere) {
  constexpr std::uint32_t kAnnounced = 268435455;
  const Bytes twenty(20, 'x');
  auto check = [&](BinaryReader& reader, const char* kind) {
    std::string data;
    EXPECT_EQ(reader.readData(kAnnounced, data), 20u) << kind;
    EXPECT_EQ(data, std::string(20, 'x')) << kind;
    EXPECT_LE(data.capacity(), 64u) << kind;
  };

  ReaderOn file(twenty);
  check(*file, "file");

  std::string memory(twenty.begin(), twenty.end());
  BinaryReader fromMemory;
  fromMemory.adopt(fmemopen(memory.data(), memory.size(), "rb"));
  check(fromMemory, "memory stream");

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], memory.data(), memory.size()), 20);
  close(ends[1]);
  BinaryReader fromPipe;
  fromPipe.adopt(fdopen(ends[0], "rb"));
  check(fromPipe, "pipe");
}

}  // namespace
}  // namespace smftest
