#include "events/text_line.h"

#include <string_view>

#include "events/labels.h"

void TextLine::writeTo(TextStream& out) const {
  if (marked_ == nullptr) {
    out << own_;
    return;
  }
  const std::string_view text = marked_->text;
  const std::string name = trackName(channel_) + "_";
  const std::string full = trackLabel(marked_->label, channel_) + "_";
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t mark = text.find('$', from);
    if (mark == std::string_view::npos) {
      out << text.substr(from);
      break;
    }
    out << text.substr(from, mark - from);
    // Pairs are taken from the left, so a pair starts at the first "$"
    // of every run and an odd run ends in a lone "$".
    if (mark + 1 < text.size() && text[mark + 1] == '$') {
      out << name;
      from = mark + 2;
    } else {
      out << full;
      from = mark + 1;
    }
    out.spill();
  }
}

std::string TextLine::str() const {
  TextStream out;
  writeTo(out);
  return out.text();
}
