// Text lines: the "$$" and "$" marks spelled out per channel as the line
// is written, and a long line handed to the sink in pieces.
#include "events/text_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TextLine::Marked marked(std::string text) {
  return TextLine::Marked{std::move(text), "SMF_a"};
}

TEST(TextLine, SpellsOutMarksForItsChannel) {
  const struct {
    std::string text;
    int channel;
    std::string line;
  } cases[] = {
      {"", 0, ""},
      {"no marks", 3, "no marks"},
      {"$", 3, "SMF_a_Track_3_"},
      {"$$", 3, "Track_3_"},
      {"$$$", 15, "Track_15_SMF_a_Track_15_"},
      {"x$$$$y$z$", 0, "xTrack_0_Track_0_ySMF_a_Track_0_zSMF_a_Track_0_"},
  };
  for (const auto& c : cases) {
    const TextLine::Marked text = marked(c.text);
    EXPECT_EQ(TextLine(text, c.channel).str(), c.line) << c.text;
  }
  EXPECT_EQ(TextLine("$$ $ as it stands").str(), "$$ $ as it stands");
}

class RecordingSink final : public TextSink {
 public:
  void write(std::string_view text) override { pieces.emplace_back(text); }
  std::vector<std::string> pieces;
};

TEST(TextLine, ALongLineReachesTheSinkInPieces) {
  // Two megabytes of marks spell out to about twenty.
  std::string text;
  for (int i = 0; i < (1 << 20); ++i) text += "$x";
  const TextLine::Marked held = marked(text);
  const TextLine line(held, 7);
  const std::string whole = line.str();
  ASSERT_EQ(whole.size(), (1u << 20) * (sizeof "SMF_a_Track_7_x" - 1));

  RecordingSink sink;
  TextStream out(&sink);
  line.writeTo(out);
  out.flush();
  std::string joined;
  for (const std::string& piece : sink.pieces) {
    EXPECT_LT(piece.size(), 1u << 20);
    joined += piece;
  }
  EXPECT_EQ(joined, whole);
}

}  // namespace
