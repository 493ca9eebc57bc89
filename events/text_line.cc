#include "events/text_line.h"

#include <string_view>

#include "events/labels.h"

TextLine::TextLine(std::string text)
    : text_(std::make_shared<const Marked>(Marked{std::move(text), {}})),
      channel_(-1) {}

TextLine::TextLine(std::shared_ptr<const Marked> marked, std::int32_t channel)
    : text_(std::move(marked)), channel_(channel) {}

void TextLine::writeTo(TextStream& out) const {
  const std::string_view text = text_->text;
  if (channel_ < 0) {
    out << text;
    return;
  }
  const std::string name = trackName(channel_) + "_";
  const std::string full = trackLabel(text_->label, channel_) + "_";
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
