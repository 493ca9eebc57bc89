// Output naming and sequence labels.
#include "app/driver.h"

#include <gtest/gtest.h>

namespace {

TEST(Driver, OutputNameIsCutAtTheLastDotOfTheWholeOperand) {
  const struct {
    const char* operand;
    const char* output;
  } cases[] = {
      {"song.mid", "song.tune"},
      {"music.new/song", "music.tune"},
      {"song", "song.tune"},
      {"dir/a.b.mid", "dir/a.b.tune"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(outputNameFor(c.operand), c.output) << c.operand;
  }
}

TEST(Driver, SequenceLabelKeepsLettersDigitsAndUnderscores) {
  const struct {
    const char* operand;
    const char* label;
  } cases[] = {
      {"song.mid", "SMF_song"},          {"music.new/song", "SMF_song"},
      {"_intro.mid", "SMF_intro"},       {"1st take.mid", "SMF_1st_take"},
      {"a-b.c.mid", "SMF_a_b_c"},        {".mid", "SMF_"},
      {"C:\\music\\x y.mid", "SMF_x_y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sequenceLabelFor(c.operand), c.label) << c.operand;
  }
}

}  // namespace
