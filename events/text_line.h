// TextLine: the text of a text event. A text for all tracks is read once
// and placed in all sixteen channels, and its "$$" and "$" marks stand for
// each channel's own track name and track label. The reader keeps such a
// text once and the sixteen lines (and every copy of them) refer to it; the
// marks are spelled out as the line is written. A long text full of marks
// costs its own size in memory, not sixteen times its spelled-out size.
#ifndef SEQSMITH_EVENTS_TEXT_LINE_H_
#define SEQSMITH_EVENTS_TEXT_LINE_H_

#include <cstdint>
#include <string>

#include "events/text_stream.h"

class TextLine {
 public:
  // A text with marks, as the file has it, and the sequence label the
  // marks refer to. Its owner keeps it while lines made from it exist.
  struct Marked {
    std::string text;
    std::string label;
  };

  // A line written exactly as `text` stands; the line owns its text.
  explicit TextLine(std::string text) : own_(std::move(text)) {}
  // `marked` for channel `channel`, borrowed: each "$$" (the first pair
  // first) becomes trackName(channel) + "_", then each remaining "$"
  // becomes trackLabel(label, channel) + "_".
  TextLine(const Marked& marked, std::int32_t channel)
      : marked_(&marked), channel_(channel) {}

  // Writes the line, without a line end. A long line reaches the stream's
  // sink in pieces.
  void writeTo(TextStream& out) const;
  // The line as it is written.
  std::string str() const;
  // Both lines were made from one text, held once.
  bool sharesTextWith(const TextLine& other) const {
    return marked_ != nullptr && marked_ == other.marked_;
  }

 private:
  std::string own_;                 // the text when there are no marks
  const Marked* marked_ = nullptr;  // not owned
  std::int32_t channel_ = -1;
};

#endif  // SEQSMITH_EVENTS_TEXT_LINE_H_
