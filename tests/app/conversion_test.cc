// The conversion of whole files by the built program: the track blocks
// and header it writes, what becomes of the output when a conversion
// fails, write errors, special files as outputs, the refusal to write over
// the input, and the update mode.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/driver.h"
#include "cmdline/program_options.h"
#include "events/diagnostics.h"
#include "smf/smf_parser.h"
#include "tests/support/run_program.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {
namespace {

const std::string kSeparator = ";;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;";

std::string comment(int measure) {
  return "; Measure " + std::to_string(measure) +
         " ----------------------------------\r\n";
}

// The lines of track n's block after its label and "notewait_off", up to
// and not including "    fin".
std::string trackBody(const std::string& output, int track) {
  const std::string start =
      "SMF_song_Track_" + std::to_string(track) + ":\r\n    notewait_off\r\n";
  const std::size_t begin = output.find(start);
  if (begin == std::string::npos)
    return "<no track " + std::to_string(track) + ">";
  const std::size_t from = begin + start.size();
  const std::size_t end = output.find("    fin\r\n", from);
  return output.substr(from, end - from);
}

SmfFile smallSong(int key = 60) {
  SmfFile file(0, 480);
  file.addTrack()
      .tempo(0, 500000)
      .program(0, 0, 0)
      .noteOn(0, 0, key, 100)
      .noteOff(480, 0, key)
      .endOfTrack();
  return file;
}

// A note at tick 960 of channel 0 whose bank select of 4 cannot be written.
SmfFile bankSelectSong() {
  SmfFile file(0, 480);
  file.addTrack()
      .noteOn(0, 0, 60, 100)
      .noteOff(480, 0, 60)
      .control(480, 0, 0, 4)
      .endOfTrack();
  return file;
}

const std::string kBankSelectError =
    "seqsmith: : Invalid bank_select value (CC:0 value:4)\n"
    "         [ measure:0 beat:0 tick:960 ]\n";

bool isCharacterDevice(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(Conversion, HeaderAllocatesAndOpensTheTracksInUse) {
  TempDir dir;
  SmfFile file(1, 480);
  file.addTrack().tempo(0, 500000).endOfTrack();
  file.addTrack().noteOn(0, 3, 60, 100).noteOff(480, 3, 60).endOfTrack();
  file.addTrack().noteOn(0, 15, 72, 90).noteOff(240, 15, 72).endOfTrack();
  file.writeTo(dir.file("song.mid"));

  const RunResult result =
      runSeqsmith({"--timebase", "96", "song.mid"}, dir.path());

  ASSERT_EQ(result.status, 0) << result.err;
  const std::string output = readFile(dir.file("song.tune"));
  const std::size_t begin = output.find("SMF_song_Begin:");
  ASSERT_NE(begin, std::string::npos) << output;
  EXPECT_EQ(output.substr(begin, output.find("; Track 0") - begin),
            "SMF_song_Begin:\r\n"
            "    alloctrack 0x8009\r\n"
            "SMF_song_Start:\r\n"
            "    timebase 96\r\n"
            "    opentrack 3, SMF_song_Track_3\r\n"
            "    opentrack 15, SMF_song_Track_15\r\n"
            "\r\n" +
                kSeparator + "\r\n");
  EXPECT_EQ(trackBody(output, 0), comment(1) + "    tempo\t120\r\n");
  EXPECT_EQ(trackBody(output, 3),
            comment(1) + "    cn4\t100,\t96\r\n    wait\t96\r\n");
  EXPECT_EQ(trackBody(output, 15),
            comment(1) + "    cn5\t90,\t48\r\n    wait\t48\r\n");
  // The blocks follow in track order; the end label closes the file.
  EXPECT_LT(output.find("; Track 0\r\n"), output.find("; Track 3\r\n"));
  EXPECT_LT(output.find("; Track 3\r\n"), output.find("; Track 15\r\n"));
  const std::string tail = "    fin\r\n\r\nSMF_song_End:\r\n";
  EXPECT_EQ(output.substr(output.size() - tail.size()), tail);
}

TEST(Conversion, RestsMergeAcrossMeasuresBeforeTheirComments) {
  TempDir dir;
  SmfFile file(0, 480);
  file.addTrack()
      .noteOn(0, 0, 60, 100)
      .noteOff(480, 0, 60)
      .noteOn(5280, 0, 62, 100)
      .noteOff(480, 0, 62)
      .endOfTrack();
  file.writeTo(dir.file("song.mid"));

  ASSERT_EQ(runSeqsmith({"song.mid"}, dir.path()).status, 0);

  EXPECT_EQ(trackBody(readFile(dir.file("song.tune")), 0),
            comment(1) + "    cn4\t100,\t48\r\n    wait\t576\r\n" + comment(2) +
                comment(3) + comment(4) +
                "    dn4\t100,\t48\r\n    wait\t48\r\n");
}

TEST(Conversion, LoopLabelsJumpsAndTextLinesStandAtTheStartOfTheirLines) {
  TempDir dir;
  SmfFile file(0, 480);
  file.addTrack()
      .text(0, "[")
      .noteOn(0, 0, 60, 100)
      .noteOff(480, 0, 60)
      .text(1440, "text_all:; for $$all")
      .text(0, "]")
      .endOfTrack();
  file.writeTo(dir.file("song.mid"));

  ASSERT_EQ(runSeqsmith({"song.mid"}, dir.path()).status, 0);

  EXPECT_EQ(trackBody(readFile(dir.file("song.tune")), 0),
            comment(1) +
                "SMF_song_Track_0_LoopStart:\r\n"
                "    cn4\t100,\t48\r\n"
                "    wait\t192\r\n" +
                comment(2) +
                "; for Track_0_all\r\n"
                "    jump\tSMF_song_Track_0_LoopStart\r\n");
}

TEST(Conversion, TheSilenceBeforeTheFirstNoteIsCutFromEveryTrack) {
  // Time base equal to the division: the first note, at 960, starts the
  // music; the program change at 0 stays first, with no rest after it.
  TempDir dir;
  SmfFile file(1, 480);
  file.addTrack()
      .program(0, 0, 0)
      .noteOn(960, 0, 60, 100)
      .noteOff(480, 0, 60)
      .endOfTrack();
  file.addTrack().noteOn(1920, 1, 62, 100).noteOff(480, 1, 62).endOfTrack();
  file.writeTo(dir.file("song.mid"));

  ASSERT_EQ(runSeqsmith({"--timebase", "480", "song.mid"}, dir.path()).status,
            0);

  const std::string output = readFile(dir.file("song.tune"));
  EXPECT_EQ(trackBody(output, 0), comment(1) +
                                      "    prg\t0\r\n"
                                      "    cn4\t100,\t480\r\n"
                                      "    wait\t480\r\n");
  EXPECT_EQ(trackBody(output, 1), comment(1) + "    wait\t960\r\n" +
                                      comment(2) +
                                      "    dn4\t100,\t480\r\n"
                                      "    wait\t480\r\n");
}

TEST(Conversion, AFailureWhileWritingRemovesTheOutput) {
  TempDir dir;
  bankSelectSong().writeTo(dir.file("song.mid"));
  writeBytes(dir.file("song.tune"), {'o', 'l', 'd'});

  const RunResult result = runSeqsmith({"song.mid"}, dir.path());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, kBankSelectError);
  EXPECT_FALSE(fileExists(dir.file("song.tune")));
}

TEST(Conversion, TheFirstFailureEndsTheRunAndKeepsEarlierOutputs) {
  TempDir dir;
  smallSong().writeTo(dir.file("a.mid"));
  bankSelectSong().writeTo(dir.file("b.mid"));
  smallSong().writeTo(dir.file("c.mid"));

  const RunResult result = runSeqsmith({"a.mid", "b.mid", "c.mid"}, dir.path());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, kBankSelectError);
  EXPECT_NE(readFile(dir.file("a.tune")).find("SMF_a_End:"), std::string::npos);
  EXPECT_FALSE(fileExists(dir.file("b.tune")));
  EXPECT_FALSE(fileExists(dir.file("c.tune")));
}

TEST(Conversion, OneOutputNameForTwoInputsKeepsTheSecond) {
  TempDir dir;
  smallSong(60).writeTo(dir.file("a.mid"));
  smallSong(62).writeTo(dir.file("b.mid"));

  const RunResult result =
      runSeqsmith({"-o", "out.tune", "a.mid", "b.mid"}, dir.path());

  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(fileExists(dir.file("a.tune")));
  EXPECT_FALSE(fileExists(dir.file("b.tune")));
  const std::string output = readFile(dir.file("out.tune"));
  ASSERT_EQ(runSeqsmith({"b.mid"}, dir.path()).status, 0);
  std::string alone = readFile(dir.file("b.tune"));
  alone.replace(alone.find("; b.tune\r\n"), 10, "; out.tune\r\n");
  EXPECT_EQ(output, alone);
}

TEST(Conversion, AnEarlierOutputIsReplacedWhole) {
  // An existing output is written over in place: whatever it held before,
  // longer or shorter than the new listing, none of it may remain.
  TempDir dir;
  smallSong().writeTo(dir.file("song.mid"));
  ASSERT_EQ(runSeqsmith({"song.mid"}, dir.path()).status, 0);
  const std::string fresh = readFile(dir.file("song.tune"));
  ASSERT_FALSE(fresh.empty());

  for (const std::size_t before : {std::size_t{1}, fresh.size() - 1,
                                   fresh.size() + 1, std::size_t{3} << 20}) {
    writeBytes(dir.file("song.tune"), Bytes(before, 'x'));
    const RunResult result = runSeqsmith({"song.mid"}, dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readFile(dir.file("song.tune")), fresh) << before;
  }
}

TEST(Conversion, AWriteErrorFailsTheOperand) {
  // A small file fails when it is flushed, a long one (more than the
  // writer gathers before handing text on) while it is written.
  SmfFile longSong(0, 480);
  longSong.addTrack()
      .noteOn(0, 0, 60, 100)
      .noteOff(19200000, 0, 60)
      .endOfTrack();
  for (const Bytes& song : {smallSong().bytes(), longSong.bytes()}) {
    TempDir dir;
    writeBytes(dir.file("song.mid"), song);
    smallSong().writeTo(dir.file("later.mid"));
    // First on a full device of our own (when we may make one), then on
    // the system's.
    if (mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
      const RunResult result =
          runSeqsmith({"-o", dir.file("full"), "song.mid"}, dir.path());
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(result.err,
                "seqsmith: cannot write " + dir.file("full") + "\n");
      ASSERT_TRUE(isCharacterDevice(dir.file("full")));
    }

    const RunResult result =
        runSeqsmith({"-o", "/dev/full", "song.mid", "later.mid"}, dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "seqsmith: cannot write /dev/full\n");
    ASSERT_TRUE(isCharacterDevice("/dev/full"));
    EXPECT_FALSE(fileExists(dir.file("later.tune")));
  }
}

TEST(Conversion, SpecialFilesAreNeverRemoved) {
  TempDir dir;
  smallSong().writeTo(dir.file("song.mid"));
  bankSelectSong().writeTo(dir.file("bad.mid"));

  // Writing to the null device succeeds.
  RunResult result = runSeqsmith({"-o", "/dev/null", "song.mid"}, dir.path());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  ASSERT_TRUE(isCharacterDevice("/dev/null"));

  // A failure leaves a device, a pipe and a symbolic link alone; checked
  // on files of our own before the system's devices are used.
  if (mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    result = runSeqsmith({"-o", "null", "bad.mid"}, dir.path());
    EXPECT_EQ(result.err, kBankSelectError);
    ASSERT_TRUE(isCharacterDevice(dir.file("null")));
  }

  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  const int reader = open(dir.file("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  result = runSeqsmith({"-o", "pipe", "bad.mid"}, dir.path());
  close(reader);
  EXPECT_EQ(result.err, kBankSelectError);
  struct stat info {};
  ASSERT_EQ(stat(dir.file("pipe").c_str(), &info), 0);
  ASSERT_TRUE(S_ISFIFO(info.st_mode));

  writeBytes(dir.file("target.tune"), {'o', 'l', 'd'});
  ASSERT_EQ(symlink("target.tune", dir.file("link.tune").c_str()), 0);
  result = runSeqsmith({"-o", "link.tune", "bad.mid"}, dir.path());
  EXPECT_EQ(result.err, kBankSelectError);
  ASSERT_EQ(lstat(dir.file("link.tune").c_str(), &info), 0);
  ASSERT_TRUE(S_ISLNK(info.st_mode));

  result = runSeqsmith({"-o", "/dev/null", "bad.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, kBankSelectError);
  ASSERT_TRUE(isCharacterDevice("/dev/null"));

  // Standard output is a regular file here, reached through a link.
  result = runSeqsmith({"-o", "/dev/stdout", "bad.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, kBankSelectError);
  ASSERT_EQ(lstat("/dev/stdout", &info), 0);
}

TEST(Conversion, TheOutputNeverReplacesItsInput) {
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string output;
    bool hardLink;  // the output name is a second name of the input
  } cases[] = {
      {{"song.tune"}, "song.tune", "song.tune", false},
      {{"-o", "song.mid", "song.mid"}, "song.mid", "song.mid", false},
      {{"-o", "./song.mid", "song.mid"}, "song.mid", "./song.mid", false},
      {{"-o", "other.mid", "song.mid"}, "song.mid", "other.mid", true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    smallSong().writeTo(dir.file(c.input));
    const std::string before = readFile(dir.file(c.input));
    if (c.hardLink) {
      ASSERT_EQ(link(dir.file(c.input).c_str(), dir.file(c.output).c_str()), 0);
    }

    const RunResult result = runSeqsmith(c.args, dir.path());

    EXPECT_EQ(result.status, 1) << c.output;
    EXPECT_EQ(result.err, "seqsmith: cannot open " + c.output +
                              " for writing: it is the input file\n");
    EXPECT_EQ(readFile(dir.file(c.input)), before) << c.output;
  }
}

TEST(Conversion, ATrackOfTooManyMeasuresIsRefused) {
  // Division 1 in 1/4 time: every tick is a measure. A program change at
  // tick 4294967295 would need 4294967296 measures.
  TempDir dir;
  SmfFile file(0, 1);
  Track& track = file.addTrack().timeSignature(0, 1, 2);
  for (int i = 0; i < 16; ++i) track.text(0x0FFFFFFF, "x");
  track.program(15, 0, 1).endOfTrack();
  file.writeTo(dir.file("song.mid"));
  writeBytes(dir.file("song.tune"), {'o', 'l', 'd'});

  const RunResult result = runSeqsmith({"song.mid"}, dir.path());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "seqsmith: : Too many measures - 4294967296\n");
  EXPECT_FALSE(fileExists(dir.file("song.tune")));
}

TEST(Conversion, UpdateModeSkipsOnlyOutputsNewerThanTheirInput) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string output;
    long outputSecondsAfterInput;  // -1000: no output file
    bool converted;
    std::string out;
  } cases[] = {
      {"newer, quiet", {"-u", "song.mid"}, "song.tune", 10, false, ""},
      {"newer, verbose",
       {"-u", "-v", "song.mid"},
       "song.tune",
       10,
       false,
       "seqsmith: song.tune is update.\n"},
      {"newer, -o",
       {"-u", "-v", "-o", "out.tune", "song.mid"},
       "out.tune",
       10,
       false,
       "seqsmith: out.tune is update.\n"},
      {"same time", {"-u", "-v", "song.mid"}, "song.tune", 0, true, ""},
      {"older", {"-u", "-v", "song.mid"}, "song.tune", -10, true, ""},
      {"missing", {"-u", "-v", "song.mid"}, "song.tune", -1000, true, ""},
      {"not in update mode", {"song.mid"}, "song.tune", 10, true, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    smallSong().writeTo(dir.file("song.mid"));
    const std::string output = dir.file(c.output);
    if (c.outputSecondsAfterInput != -1000) {
      writeBytes(output, {'o', 'l', 'd'});
      const timespec input[2] = {{1000000000, 5}, {1000000000, 5}};
      const timespec later[2] = {{1000000000 + c.outputSecondsAfterInput, 5},
                                 {1000000000 + c.outputSecondsAfterInput, 5}};
      ASSERT_EQ(utimensat(AT_FDCWD, dir.file("song.mid").c_str(), input, 0), 0);
      ASSERT_EQ(utimensat(AT_FDCWD, output.c_str(), later, 0), 0);
    }

    const RunResult result = runSeqsmith(c.args, dir.path());

    EXPECT_EQ(result.status, 0) << c.name << ": " << result.err;
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_EQ(readFile(output) != "old", c.converted) << c.name;
  }
}

TEST(Conversion, UpdateModeWithAMissingInputReadsItAndFails) {
  TempDir dir;
  writeBytes(dir.file("song.tune"), {'o', 'l', 'd'});

  const RunResult result = runSeqsmith({"-u", "song.mid"}, dir.path());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "seqsmith: song.mid: Cannot open file\n");
  EXPECT_EQ(readFile(dir.file("song.tune")), "old");
}

TEST(Conversion, NoParserIsCurrentAfterAFileIsDone) {
  TempDir dir;
  smallSong().writeTo(dir.file("song.mid"));
  writeBytes(dir.file("bad.mid"), {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
  ProgramOptions options;
  options.outputFileName = dir.file("out.tune");

  convertFile(dir.file("song.mid"), options);
  EXPECT_EQ(currentParser, nullptr);

  try {
    convertFile(dir.file("bad.mid"), options);
    ADD_FAILURE() << "no exception";
  } catch (const ParseException& failure) {
    EXPECT_EQ(std::string(failure.what()), "Not SMF file");
  }
  EXPECT_EQ(currentParser, nullptr);
}

}  // namespace
}  // namespace smftest
