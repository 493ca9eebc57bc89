// The program run on files that fail to read: the lines on standard error
// as the entry writes them for each kind of diagnostic, exit status 1, and
// output files left as they were. Also the notice for ignored texts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/smf_builder.h"
#include "tests/support/temp_dir.h"

namespace smftest {
namespace {

Bytes goodSong() {
  SmfFile file;
  file.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).endOfTrack();
  return file.bytes();
}

TEST(ReadDiagnostics, LinesAsTheEntryWritesThem) {
  SmfFile offOnChannel9;
  offOnChannel9.addTrack().noteOn(0, 0, 60, 1).noteOff(1930, 9, 60);
  SmfFile notEnded;
  notEnded.addTrack()
      .noteOn(0, 0, 60, 1)
      .noteOn(2400, 4, 70, 1)
      .noteOff(10, 0, 60)
      .endOfTrack();
  SmfFile longTempo;
  longTempo.addTrack().raw({0x82, 0x2C, 0xFF, 0x51, 0x04, 1, 2, 3, 4});
  SmfFile lateSignature;
  lateSignature.addTrack().timeSignature(3840, 3, 2).timeSignature(10, 4, 2);
  SmfFile badStatus;
  badStatus.addTrack().raw({0x00, 0xF8});
  SmfFile longDelta;
  longDelta.addTrack().raw({0xFF, 0xFF, 0xFF, 0xFF, 0x00});

  const struct {
    const char* name;
    Bytes bytes;
    std::string err;
  } cases[] = {
      {"unmatched note-off", offOnChannel9.bytes(),
       "seqsmith: song.mid: Unmatch Note Off Event\n"
       "         [ channel:9 measure:1 beat:0 tick:10 ]\n"},
      {"unmatched note-on", notEnded.bytes(),
       "seqsmith: song.mid: Unmatch Note On Event\n"
       "         [ channel:4 measure:1 beat:1 tick:0 ]\n"},
      {"meta event diagnostic", longTempo.bytes(),
       "seqsmith: song.mid: Set Tempo Event len != 3\n"
       "         [ measure:0 beat:0 tick:300 ]\n"},
      {"time map diagnostic keeps the raw tick", lateSignature.bytes(),
       "seqsmith: song.mid: Time Signature is not on a measure border\n"
       "         [ measure:0 beat:0 tick:3850 ]\n"},
      {"refused status byte", badStatus.bytes(),
       "seqsmith: song.mid: Unexpected status - \xF8\n"
       "         [ measure:0 beat:0 tick:0 ]\n"},
      {"container diagnostic", SmfFile(2).bytes(),
       "seqsmith: song.mid: Unsupported Format - 2\n"},
      {"not a MIDI file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0},
       "seqsmith: song.mid: Not SMF file\n"},
      {"long quantity", longDelta.bytes(),
       "seqsmith: song.mid: Invalid file format\n"},
      {"cut file", truncated(goodSong(), 30),
       "seqsmith: song.mid: Unexpected EOF - song.mid\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    writeBytes(dir.file("song.mid"), c.bytes);
    const RunResult result = runSeqsmith({"song.mid"}, dir.path());
    EXPECT_EQ(result.status, 1) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    EXPECT_FALSE(fileExists(dir.file("song.tune"))) << c.name;
  }
}

TEST(ReadDiagnostics, OperandIsNamedAsGiven) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("sub"));
  std::filesystem::create_directory(dir.file("folder.mid"));
  writeBytes(dir.file("sub/song.mid"), truncated(goodSong(), 20));
  const struct {
    std::string operand;
    std::string err;
  } cases[] = {
      {"sub/song.mid",
       "seqsmith: sub/song.mid: Unexpected EOF - sub/song.mid\n"},
      {"./sub/../sub/song.mid",
       "seqsmith: ./sub/../sub/song.mid: Unexpected EOF - "
       "./sub/../sub/song.mid\n"},
      {"missing.mid", "seqsmith: missing.mid: Cannot open file\n"},
      {"folder.mid", "seqsmith: folder.mid: Cannot open file\n"},
  };
  for (const auto& c : cases) {
    const RunResult result = runSeqsmith({c.operand}, dir.path());
    EXPECT_EQ(result.status, 1) << c.operand;
    EXPECT_EQ(result.err, c.err) << c.operand;
  }
  EXPECT_FALSE(fileExists(dir.file("folder.tune")));
}

TEST(ReadDiagnostics, FailedReadLeavesTheOutputAndStopsTheRun) {
  TempDir dir;
  writeBytes(dir.file("first.mid"), goodSong());
  writeBytes(dir.file("song.mid"), truncated(goodSong(), 30));
  writeBytes(dir.file("last.mid"), goodSong());
  writeBytes(dir.file("song.tune"), Bytes{'o', 'l', 'd', '\n'});
  const std::filesystem::file_time_type oldTime =
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(dir.file("song.tune"), oldTime);

  const RunResult result =
      runSeqsmith({"first.mid", "song.mid", "last.mid"}, dir.path());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "seqsmith: song.mid: Unexpected EOF - song.mid\n");
  EXPECT_EQ(readFile(dir.file("song.tune")), "old\n");
  EXPECT_EQ(std::filesystem::last_write_time(dir.file("song.tune")), oldTime);
  EXPECT_TRUE(fileExists(dir.file("first.tune")));
  EXPECT_FALSE(fileExists(dir.file("last.tune")));
}

TEST(ReadDiagnostics, IgnoredTextsAreNoticedOnlyWhenVerbose) {
  SmfFile file;
  file.addTrack()
      .text(0, "hello")
      .text(0, "text_16:x")
      .text(0, std::string("hel\0lo", 6))
      .text(0, "copyright", 0x02)
      .text(0, "loop_start", 0x10)  // not a text type: no notice
      .meta(0, 0x00, {0x00, 0x01})
      .text(0, "text_0:; kept")
      .noteOn(0, 0, 60, 100)
      .noteOff(480, 0, 60)
      .endOfTrack();
  TempDir dir;
  file.writeTo(dir.file("song.mid"));

  const RunResult quiet = runSeqsmith({"song.mid"}, dir.path());
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out, "");
  EXPECT_EQ(quiet.err, "");

  const RunResult verbose = runSeqsmith({"-v", "song.mid"}, dir.path());
  EXPECT_EQ(verbose.status, 0);
  EXPECT_EQ(verbose.out,
            "seqsmith: Ignored text event: hello\n"
            "seqsmith: Ignored text event: text_16:x\n"
            "seqsmith: Ignored text event: hel\n"
            "seqsmith: Ignored text event: copyright\n");
  EXPECT_EQ(verbose.err, "");
  EXPECT_NE(readFile(dir.file("song.tune")).find("\r\n; kept\r\n"),
            std::string::npos);
}

TEST(ReadDiagnostics, NoticeIsWrittenWhenTheFileThenFails) {
  SmfFile file;
  file.addTrack().text(0, "hello").noteOff(5, 3, 60).endOfTrack();
  TempDir dir;
  file.writeTo(dir.file("song.mid"));
  const RunResult result = runSeqsmith({"--verbose", "song.mid"}, dir.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "seqsmith: Ignored text event: hello\n");
  EXPECT_EQ(result.err,
            "seqsmith: song.mid: Unmatch Note Off Event\n"
            "         [ channel:3 measure:0 beat:0 tick:5 ]\n");
}

}  // namespace
}  // namespace smftest
