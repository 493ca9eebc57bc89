// The text stream that events render into, and the label builders.
#include "events/text_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "events/labels.h"

namespace {

class RecordingSink final : public TextSink {
 public:
  void write(std::string_view text) override { pieces.emplace_back(text); }
  std::vector<std::string> pieces;
};

TEST(TextStream, WritesNumbersInPlainDecimal) {
  TextStream out;
  out << std::int32_t{0} << ' ' << std::int32_t{-64} << ' '
      << std::numeric_limits<std::int32_t>::min() << ' '
      << std::numeric_limits<std::int32_t>::max() << ' '
      << std::numeric_limits<std::uint32_t>::max() << ' ' << std::uint32_t{48};
  EXPECT_EQ(out.text(), "0 -64 -2147483648 2147483647 4294967295 48");
}

TEST(TextStream, LinesEndWithCarriageReturnAndLineFeed) {
  TextStream out;
  out << "    wait\t" << std::uint32_t{96};
  out.endLine().endLine();
  EXPECT_EQ(out.text(), "    wait\t96\r\n\r\n");
  out.clear();
  EXPECT_EQ(out.size(), 0u);
}

TEST(TextStream, HandsLargePiecesToItsSink) {
  RecordingSink sink;
  TextStream out(&sink);
  out.flush();  // nothing gathered: nothing handed over
  EXPECT_TRUE(sink.pieces.empty());

  const std::string line(1000, 'x');
  std::size_t written = 0;
  while (sink.pieces.empty()) {
    out << line;
    out.endLine();
    written += line.size() + 2;
    ASSERT_LT(written, 1024u * 1024u) << "the sink never received the text";
  }
  EXPECT_EQ(sink.pieces[0].size(), written);
  EXPECT_EQ(out.size(), 0u);

  out << "tail";
  out.flush();
  ASSERT_EQ(sink.pieces.size(), 2u);
  EXPECT_EQ(sink.pieces[1], "tail");
}

TEST(Labels, TrackNameAndTrackLabel) {
  EXPECT_EQ(trackName(0), "Track_0");
  EXPECT_EQ(trackName(15), "Track_15");
  EXPECT_EQ(trackLabel("SMF_song", 3), "SMF_song_Track_3");
  EXPECT_EQ(trackLabel("SMF_", 10), "SMF__Track_10");
}

}  // namespace
