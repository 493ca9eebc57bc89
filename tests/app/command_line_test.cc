// The built program's command line: the usage text, command-line errors on
// standard error with status 1, and the entry's one-line reports of an
// output that cannot be opened and of an input that is not MIDI.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/usage_text.h"

namespace smftest {
namespace {

void writeSong(const std::string& path) {
  SmfFile song(0, 480);
  song.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).endOfTrack();
  song.writeTo(path);
}

// The names of the files in `dir`, sorted.
std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CommandLine, NoArgumentsPrintsTheUsage) {
  TempDir dir;
  const RunResult result = runSeqsmith({}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, kUsageText);
  EXPECT_EQ(result.err, "");
}

TEST(CommandLine, HelpWithFilesPrintsTheUsageAndConvertsNothing) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-h", "song.mid"},
        std::vector<std::string>{"song.mid", "--help"},
        std::vector<std::string>{"-vuh", "-o", "out.tune", "song.mid"}}) {
    SCOPED_TRACE(args.front());
    TempDir dir;
    writeSong(dir.file("song.mid"));
    const RunResult result = runSeqsmith(args, dir.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kUsageText);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"song.mid"});
  }
}

TEST(CommandLine, ErrorsGiveTwoLinesOnStandardErrorAndTouchNoFile) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"-x", "song.mid"}, "invalid option -- x"},
      {{"song.mid", "-t", "96"}, "invalid option -- t"},
      {{"song.mid", "-ofile"}, "invalid option -- f"},
      {{"--bogus", "song.mid"}, "unrecognized option '--bogus'"},
      {{"--o", "x", "song.mid"}, "unrecognized option '--o'"},
      {{"--", "song.mid"}, "unrecognized option '--'"},
      {{"song.mid", "-"}, "unrecognized option '-'"},
      {{"song.mid", "-o"}, "option requires an argument -- o"},
      {{"song.mid", "--timebase"}, "option '--timebase' requires an argument"},
      {{"-h", "--timebase"}, "option '--timebase' requires an argument"},
      {{"--timebase", "abc", "-h"}, "invalid timebase \"abc\""},
      {{"song.mid", "--timebase", "96 "}, "invalid timebase \"96 \""},
      {{"--timebase", "0", "song.mid"}, "invalid timebase \"0\""},
      {{"--timebase", "", "song.mid"}, "invalid timebase \"\""},
      {{"--timebase", "-0", "song.mid"}, "invalid timebase \"-0\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TempDir dir;
    writeSong(dir.file("song.mid"));
    const RunResult result = runSeqsmith(c.args, dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "seqsmith: " + c.message +
                  "\nTry 'seqsmith --help' for more information.\n");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"song.mid"});
  }
}

TEST(CommandLine, OutputInAMissingDirectoryIsOneLine) {
  TempDir dir;
  writeSong(dir.file("song.mid"));
  const RunResult result =
      runSeqsmith({"-o", "missing/out.tune", "song.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "seqsmith: cannot open missing/out.tune for writing\n");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"song.mid"});
}

TEST(CommandLine, InputThatIsNotMidiIsReportedWithItsName) {
  TempDir dir;
  writeBytes(dir.file("song.mid"), {'T', 'e', 'x', 't', ' ', 'f', 'i', 'l', 'e',
                                    ' ', 'n', 'o', 't', ' ', 'S', 'M'});
  writeSong(dir.file("later.mid"));
  const RunResult result = runSeqsmith({"song.mid", "later.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "seqsmith: song.mid: Not SMF file\n");
  // The run ends at the first failure: the next operand is not converted.
  EXPECT_EQ(filesIn(dir.path()),
            (std::vector<std::string>{"later.mid", "song.mid"}));
}

}  // namespace
}  // namespace smftest
