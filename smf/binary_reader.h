// BinaryReader: sequential reading of the primitive items of a Standard
// MIDI File from a buffered file stream: big-endian 32- and 16-bit
// integers, bytes and variable-length quantities.
//
// A read that finds fewer bytes than it needs throws tonekit::strm::failure;
// a variable-length quantity that does not end within four bytes throws
// ParseException "Invalid file format".
#ifndef SEQSMITH_SMF_BINARY_READER_H_
#define SEQSMITH_SMF_BINARY_READER_H_

#include <cstdint>
#include <cstdio>
#include <string>

namespace tonekit::strm {

// The file ended in the middle of an item.
class failure {};

}  // namespace tonekit::strm

class BinaryReader {
 public:
  BinaryReader() = default;
  ~BinaryReader() { close(); }
  BinaryReader(const BinaryReader&) = delete;
  BinaryReader& operator=(const BinaryReader&) = delete;

  // Opens `fileName` for binary reading. Returns false, holding no file,
  // when it cannot be opened or is a directory.
  bool open(const std::string& fileName);
  // Reads from an already open stream, which the reader then owns and
  // closes (for example a memory stream from fmemopen).
  void adopt(std::FILE* stream);
  // Closes the file, if one is held.
  void close();

  BinaryReader& readU32(std::uint32_t& value);
  BinaryReader& readU16(std::uint16_t& value);
  BinaryReader& readU8(std::uint8_t& value) {
    value = getOrFail();
    return *this;
  }
  // A MIDI variable-length quantity, 0..268435455.
  BinaryReader& readVarLen(std::uint32_t& value) {
    const std::uint8_t first = getOrFail();
    if ((first & 0x80u) == 0) {  // most delta times are one byte
      value = first;
      return *this;
    }
    return readVarLenAfter(first, value);
  }

  // Reads a variable-length byte count and passes over that many bytes.
  void skipBlock();
  // Reads up to `length` bytes into `data`, stopping at the end of the
  // file; returns how many arrived. Memory grows with the bytes that
  // actually arrive, never with `length` alone.
  std::uint32_t readData(std::uint32_t length, std::string& data);
  // Passes over up to `length` bytes, stopping at the end of the file (the
  // position afterwards is what reading them would have left).
  void discard(std::uint32_t length);

  // Byte offset from the start of the file.
  std::int64_t tell() const { return position_; }
  // Moves forward by `count` bytes; moving past the end is allowed, the
  // next read then fails.
  void seekForward(std::int64_t count);
  // True when no byte is left; the position does not change.
  bool atEnd();

 private:
  int get() {
    const int c = getc_unlocked(file_);
    if (c != EOF) ++position_;
    return c;
  }
  std::uint8_t getOrFail() {
    const int c = get();
    if (c == EOF) throw tonekit::strm::failure{};
    return static_cast<std::uint8_t>(c);
  }
  void findSize();
  // The rest of a variable-length quantity whose first byte was `first`.
  BinaryReader& readVarLenAfter(std::uint8_t first, std::uint32_t& value);

  std::FILE* file_ = nullptr;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;  // bytes in the file, -1 when it cannot be known
};

#endif  // SEQSMITH_SMF_BINARY_READER_H_
