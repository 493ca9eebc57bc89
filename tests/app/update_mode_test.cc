// The update mode run end to end: an operand whose output is strictly
// newer is skipped (with a notice when verbose); every other operand is
// converted. File times are set to the nanosecond.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {
namespace {

constexpr std::time_t kInputSeconds = 1600000000;
constexpr long kInputNanoseconds = 500000000;

void setWriteTime(const std::string& path, std::time_t seconds,
                  long nanoseconds) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// song.mid (a good song, or bytes that are no MIDI file) and an old output
// whose write time differs from the input's by `outputOffset` nanoseconds.
void prepare(const TempDir& dir, bool goodInput, const std::string& output,
             long outputOffset) {
  if (goodInput) {
    SmfFile file;
    file.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).endOfTrack();
    file.writeTo(dir.file("song.mid"));
  } else {
    writeBytes(dir.file("song.mid"), {'n', 'o', 'p', 'e'});
  }
  setWriteTime(dir.file("song.mid"), kInputSeconds, kInputNanoseconds);
  writeBytes(dir.file(output), {'o', 'l', 'd'});
  setWriteTime(dir.file(output), kInputSeconds,
               kInputNanoseconds + outputOffset);
}

TEST(UpdateMode, NewerOutputIsSkipped) {
  // The input is no MIDI file: reading it would fail.
  const struct {
    std::vector<std::string> args;
    std::string output;
    std::string out;
  } cases[] = {
      {{"-u", "song.mid"}, "song.tune", ""},
      {{"--update", "-v", "song.mid"},
       "song.tune",
       "seqsmith: song.tune is update.\n"},
      {{"-uv", "-o", "other.tune", "song.mid"},
       "other.tune",
       "seqsmith: other.tune is update.\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    prepare(dir, false, c.output, 1);
    const RunResult result = runSeqsmith(c.args, dir.path());
    EXPECT_EQ(result.status, 0) << c.args[1];
    EXPECT_EQ(result.out, c.out) << c.args[1];
    EXPECT_EQ(result.err, "") << c.args[1];
    EXPECT_EQ(readFile(dir.file(c.output)), "old") << c.args[1];
  }
}

TEST(UpdateMode, OtherOperandsAreConverted) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    long outputOffset;
  } cases[] = {
      {"equal times", {"-u", "-v", "song.mid"}, 0},
      {"older output", {"-u", "-v", "song.mid"}, -1},
      {"newer output without -u", {"-v", "song.mid"}, 1},
  };
  for (const auto& c : cases) {
    TempDir dir;
    prepare(dir, true, "song.tune", c.outputOffset);
    const RunResult result = runSeqsmith(c.args, dir.path());
    EXPECT_EQ(result.status, 0) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    EXPECT_EQ(result.err, "") << c.name;
    EXPECT_EQ(readFile(dir.file("song.tune")).rfind(";;;;", 0), 0u) << c.name;
  }
}

TEST(UpdateMode, MissingOutputIsWritten) {
  TempDir dir;
  prepare(dir, true, "unrelated.tune", 0);
  const RunResult result = runSeqsmith({"-u", "song.mid"}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(fileExists(dir.file("song.tune")));
}

TEST(UpdateMode, MissingInputIsNotSkipped) {
  TempDir dir;
  writeBytes(dir.file("gone.tune"), {'o', 'l', 'd'});
  const RunResult result = runSeqsmith({"-u", "-v", "gone.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "seqsmith: gone.mid: Cannot open file\n");
  EXPECT_EQ(readFile(dir.file("gone.tune")), "old");
}

TEST(UpdateMode, RunWithEveryOperandSkippedSucceedsWithoutUsage) {
  TempDir dir;
  prepare(dir, false, "song.tune", 1);
  writeBytes(dir.file("b.mid"), {'x'});
  writeBytes(dir.file("b.tune"), {'o', 'l', 'd'});
  setWriteTime(dir.file("b.tune"), kInputSeconds + 10, 0);
  setWriteTime(dir.file("b.mid"), kInputSeconds, 0);
  const RunResult result = runSeqsmith({"-u", "song.mid", "b.mid"}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace smftest
