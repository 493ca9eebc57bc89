// TextStream: the text output that events render into. It collects text in
// memory and hands it to its sink, when it has one, in large pieces as
// lines end. Numbers are written in decimal without padding, grouping or
// locale.
#ifndef SEQSMITH_EVENTS_TEXT_STREAM_H_
#define SEQSMITH_EVENTS_TEXT_STREAM_H_

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

// Where a TextStream's text goes. write may throw; the stream then keeps
// the text it could not hand over.
class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void write(std::string_view text) = 0;
};

class TextStream {
 public:
  // Without a sink the text stays in the stream until clear().
  explicit TextStream(TextSink* sink = nullptr) : sink_(sink) {}
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  TextStream& operator<<(std::string_view text) {
    buffer_.append(text);
    return *this;
  }
  TextStream& operator<<(const char* text) {
    return *this << std::string_view(text);
  }
  TextStream& operator<<(const std::string& text) {
    return *this << std::string_view(text);
  }
  TextStream& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }
  TextStream& operator<<(std::int32_t value) { return appendNumber(value); }
  TextStream& operator<<(std::uint32_t value) { return appendNumber(value); }

  // Ends the line with CR LF, the line end of the sequence text, and hands
  // the text to the sink once enough of it has gathered.
  TextStream& endLine() {
    buffer_.append("\r\n");
    spill();
    return *this;
  }
  // Hands the text to the sink once enough of it has gathered, even in
  // the middle of a line: a very long line is not held whole in memory.
  void spill() {
    if (sink_ != nullptr && buffer_.size() >= kSinkPiece) flush();
  }
  // Hands everything gathered so far to the sink.
  void flush() {
    if (sink_ == nullptr || buffer_.empty()) return;
    sink_->write(buffer_);
    buffer_.clear();
  }

  // The text not yet handed to a sink.
  const std::string& text() const { return buffer_; }
  std::size_t size() const { return buffer_.size(); }
  void clear() { buffer_.clear(); }

 private:
  template <typename Int>
  TextStream& appendNumber(Int value) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, result.ptr);
    return *this;
  }

  static constexpr std::size_t kSinkPiece = std::size_t{256} << 10;

  TextSink* sink_;
  std::string buffer_;
};

#endif  // SEQSMITH_EVENTS_TEXT_STREAM_H_
