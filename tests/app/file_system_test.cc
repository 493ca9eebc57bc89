// compareWriteTimes: the update mode's comparison of last-write times.
#include "app/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <string>

#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {
namespace {

void setWriteTime(const std::string& path, std::time_t seconds,
                  long nanoseconds) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST(CompareWriteTimes, ComparesToTheNanosecond) {
  const struct {
    std::time_t inSeconds;
    long inNanoseconds;
    std::time_t outSeconds;
    long outNanoseconds;
    int expected;
  } cases[] = {
      {1000, 500, 1000, 501, 1},      {1000, 500, 1000, 500, 0},
      {1000, 500, 1000, 499, -1},     {1000, 999999999, 1001, 0, 1},
      {1001, 0, 1000, 999999999, -1}, {1000, 0, 2000000000, 0, 1},
  };
  TempDir dir;
  const std::string in = dir.file("song.mid");
  const std::string out = dir.file("song.tune");
  writeBytes(in, {1});
  writeBytes(out, {2});
  for (const auto& c : cases) {
    setWriteTime(in, c.inSeconds, c.inNanoseconds);
    setWriteTime(out, c.outSeconds, c.outNanoseconds);
    EXPECT_EQ(compareWriteTimes(in, out), c.expected)
        << c.inSeconds << "." << c.inNanoseconds << " vs " << c.outSeconds
        << "." << c.outNanoseconds;
  }
}

TEST(CompareWriteTimes, MissingFilesGiveMinusOne) {
  TempDir dir;
  const std::string present = dir.file("present");
  writeBytes(present, {1});
  setWriteTime(present, 1000, 0);
  const std::string missing = dir.file("missing");
  EXPECT_EQ(compareWriteTimes(missing, present), -1);
  EXPECT_EQ(compareWriteTimes(present, missing), -1);
  EXPECT_EQ(compareWriteTimes(missing, missing), -1);
  EXPECT_EQ(compareWriteTimes(present, present), 0);
}

}  // namespace
}  // namespace smftest
