#include "smf/binary_reader.h"

#include <sys/stat.h>

#include <algorithm>

#include "events/diagnostics.h"

namespace {

constexpr std::size_t kChunkSize = std::size_t{16} << 10;

}  // namespace

bool BinaryReader::open(const std::string& fileName) {
  close();
  std::FILE* stream = std::fopen(fileName.c_str(), "rb");
  if (stream == nullptr) return false;
  struct stat info {};
  if (fstat(fileno(stream), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(stream);
    return false;
  }
  adopt(stream);
  return true;
}

void BinaryReader::adopt(std::FILE* stream) {
  close();
  file_ = stream;
  position_ = 0;
  findSize();
}

void BinaryReader::findSize() {
  size_ = -1;
  struct stat info {};
  const int fd = fileno(file_);
  if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    size_ = info.st_size;
    return;
  }
  if (fd < 0) {  // a memory stream: it can tell its size
    if (fseeko(file_, 0, SEEK_END) == 0) {
      const off_t end = ftello(file_);
      if (end >= 0) size_ = end;
    }
    fseeko(file_, 0, SEEK_SET);
  }
}

void BinaryReader::close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

BinaryReader& BinaryReader::readU32(std::uint32_t& value) {
  std::uint32_t result = 0;
  for (int i = 0; i < 4; ++i) result = (result << 8) | getOrFail();
  value = result;
  return *this;
}

BinaryReader& BinaryReader::readU16(std::uint16_t& value) {
  const std::uint32_t high = getOrFail();
  const std::uint32_t low = getOrFail();
  value = static_cast<std::uint16_t>((high << 8) | low);
  return *this;
}

BinaryReader& BinaryReader::readVarLenAfter(std::uint8_t first,
                                            std::uint32_t& value) {
  std::uint32_t result = first & 0x7Fu;
  for (int count = 2;; ++count) {
    const std::uint8_t byte = getOrFail();
    result = (result << 7) | (byte & 0x7Fu);
    if ((byte & 0x80u) == 0) break;
    if (count == 4) throw ParseException("Invalid file format");
  }
  value = result;
  return *this;
}

void BinaryReader::skipBlock() {
  std::uint32_t length = 0;
  readVarLen(length);
  seekForward(length);
}

std::uint32_t BinaryReader::readData(std::uint32_t length, std::string& data) {
  data.clear();
  if (size_ >= 0) {
    // The size is known: ask only for the bytes the file still holds.
    const std::int64_t left = std::max<std::int64_t>(size_ - position_, 0);
    data.resize(static_cast<std::size_t>(std::min<std::int64_t>(length, left)));
    const std::size_t got = std::fread(data.data(), 1, data.size(), file_);
    position_ += static_cast<std::int64_t>(got);
    data.resize(got);
    return static_cast<std::uint32_t>(got);
  }
  // A stream of unknown size: the buffer grows with what arrives.
  char buffer[kChunkSize];
  while (data.size() < length) {
    const std::size_t want =
        std::min<std::size_t>(length - data.size(), kChunkSize);
    const std::size_t got = std::fread(buffer, 1, want, file_);
    position_ += static_cast<std::int64_t>(got);
    data.append(buffer, got);
    if (got < want) break;
  }
  return static_cast<std::uint32_t>(data.size());
}

void BinaryReader::discard(std::uint32_t length) {
  if (size_ >= 0) {
    const std::int64_t left = std::max<std::int64_t>(size_ - position_, 0);
    seekForward(std::min<std::int64_t>(length, left));
    return;
  }
  std::uint32_t left = length;
  while (left > 0 && get() != EOF) --left;
}

void BinaryReader::seekForward(std::int64_t count) {
  if (count <= 0) return;
  if (fseeko(file_, static_cast<off_t>(count), SEEK_CUR) == 0) {
    position_ += count;
    return;
  }
  // A stream that cannot seek, or not past its end: read forward instead.
  // The position moves by the whole count all the same, as a seek past
  // the end of a file does; the next read then fails.
  const std::int64_t target = position_ + count;
  while (position_ < target && get() != EOF) {
  }
  position_ = target;
}

bool BinaryReader::atEnd() {
  const int c = getc_unlocked(file_);
  if (c == EOF) return true;
  ungetc(c, file_);
  return false;
}
