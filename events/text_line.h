// TextLine: the text of a text event. A text for all tracks is read once
// and placed in all sixteen channels, and its "$$" and "$" marks stand for
// each channel's own track name and track label. The line keeps the text
// once, shared by the sixteen channels and by every copy, and spells the
// marks out as it is written: a long text full of marks costs its own size
// in memory, not sixteen times its spelled-out size.
#ifndef SEQSMITH_EVENTS_TEXT_LINE_H_
#define SEQSMITH_EVENTS_TEXT_LINE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "events/text_stream.h"

class TextLine {
 public:
  // A text with marks, shared by the lines made from it.
  struct Marked {
    std::string text;   // the payload as the file has it
    std::string label;  // the sequence label
  };

  // A line written exactly as `text` stands.
  explicit TextLine(std::string text);
  // `marked` for channel `channel`: each "$$" (the first pair first)
  // becomes trackName(channel) + "_", then each remaining "$" becomes
  // trackLabel(label, channel) + "_".
  TextLine(std::shared_ptr<const Marked> marked, std::int32_t channel);

  // Writes the line, without a line end. A long line reaches the stream's
  // sink in pieces.
  void writeTo(TextStream& out) const;
  // The line as it is written.
  std::string str() const;
  // Both lines were made from one text, held once.
  bool sharesTextWith(const TextLine& other) const {
    return text_ == other.text_;
  }

 private:
  std::shared_ptr<const Marked> text_;  // the label is unused without marks
  std::int32_t channel_;                // -1: written as it stands
};

#endif  // SEQSMITH_EVENTS_TEXT_LINE_H_
