// Writes the fuzzing seed corpus into a directory: small valid files that
// use every kind of event, and one file for each diagnostic the reader and
// the writer can give.
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/smf_builder.h"

namespace {

using smftest::Bytes;
using smftest::SmfFile;
using smftest::Track;

SmfFile song(const std::function<void(Track&)>& fill, int format = 0,
             int division = 480) {
  SmfFile file(format, division);
  fill(file.addTrack());
  return file;
}

std::vector<std::pair<std::string, Bytes>> seeds() {
  std::vector<std::pair<std::string, Bytes>> out;
  auto add = [&out](std::string name, const SmfFile& file) {
    out.emplace_back(std::move(name), file.bytes());
  };

  add("every_event", song([](Track& t) {
        t.tempo(0, 500000)
            .timeSignature(0, 3, 2)
            .program(0, 0, 5)
            .control(0, 0, 7, 100)
            .control(0, 0, 0, 2)
            .control(0, 0, 64, 127)
            .control(0, 0, 29, 10)
            .control(0, 0, 101, 0)
            .control(0, 0, 100, 0)
            .control(0, 0, 6, 12)
            .control(0, 0, 99, 0)
            .control(0, 0, 98, 0)
            .control(0, 0, 6, 1)
            .pitchBend(0, 0, 0)
            .noteOn(0, 0, 60, 100)
            .raw({0x00, 0x40, 0x50})  // running status: note on 64
            .sysex(10, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
            .noteOff(470, 0, 60)
            .noteOff(0, 0, 64)
            .meta(0, 0x59, {0x00, 0x00})
            .endOfTrack();
      }));
  add("text_commands", song([](Track& t) {
        t.text(0, "loop_start")
            .text(0, "text_all:    vol $$x $y")
            .text(0, "text_2 :; a line for track 2")
            .noteOn(0, 2, 48, 90)
            .noteOff(960, 2, 48)
            .text(0, "hello")
            .text(0, "]", 0x06)
            .endOfTrack();
      }));
  add("patterns", song([](Track& t) {
        for (int measure = 0; measure < 6; ++measure) {
          for (int beat = 0; beat < 4; ++beat) {
            t.noteOn(0, 1, 60 + beat, 80).noteOff(240, 1, 60 + beat);
            t.control(240, 1, 10, 64);
          }
        }
        t.endOfTrack();
      }));
  {
    SmfFile two(1, 96);
    two.addTrack()
        .tempo(0, 600000)
        .timeSignature(0, 6, 3)
        .text(576, "[")
        .endOfTrack(1152);
    two.addTrack()
        .noteOn(96, 3, 40, 64)
        .noteOn(0, 3, 40, 64)
        .noteOff(96, 3, 40)
        .noteOff(0, 3, 40, 0)
        .endOfTrack();
    two.addChunk("XFIH", {1, 2, 3});
    add("two_tracks_unknown_chunk", two);
  }

  // One file per diagnostic.
  out.emplace_back("not_smf",
                   Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'R', 'M', 'I', 'D'});
  add("small_header", SmfFile().headerData({0, 0, 0, 1, 1}));
  add("format_2", song([](Track& t) { t.endOfTrack(); }, 2));
  add("smpte", SmfFile().headerData({0, 0, 0, 0, 0xE7, 0x28}));
  add("division_0", song([](Track& t) { t.endOfTrack(); }, 0, 0));
  {
    SmfFile file(1);
    file.addTrack().endOfTrack();
    file.addTrack().endOfTrack();
    file.announceTracks(1);
    add("too_many_tracks", file);
  }
  {
    SmfFile file(1);
    file.addTrack().endOfTrack();
    file.announceTracks(2);
    add("too_few_tracks", file);
  }
  add("overflow", song([](Track& t) { t.noteOn(0, 0, 60, 1); }));
  out.emplace_back("truncated",
                   smftest::truncated(
                       song([](Track& t) {
                         t.noteOn(0, 0, 60, 1).noteOff(10, 0, 60).endOfTrack();
                       }).bytes(),
                       26));
  add("overlong_varlen", song([](Track& t) {
        t.raw({0x80, 0x80, 0x80, 0x80, 0x00}).endOfTrack();
      }));
  add("bad_status", song([](Track& t) { t.raw({0x00, 0xF8}).endOfTrack(); }));
  add("tempo_length", song([](Track& t) {
        t.meta(0, 0x51, {7, 0xA1, 0x20, 0}).endOfTrack();
      }));
  add("tempo_zero", song([](Track& t) {
        t.meta(0, 0x51, {0, 0, 0}).endOfTrack();
      }));
  add("time_signature_length", song([](Track& t) {
        t.meta(0, 0x58, {4, 2, 24}).endOfTrack();
      }));
  add("time_signature_border",
      song([](Track& t) { t.timeSignature(1000, 3, 2).endOfTrack(); }));
  add("time_signature_invalid",
      song([](Track& t) { t.timeSignature(0, 0, 2).endOfTrack(); }));
  add("small_tpqn",
      song([](Track& t) { t.timeSignature(0, 4, 3).endOfTrack(); }, 0, 1));
  add("unmatched_off",
      song([](Track& t) { t.noteOff(1930, 9, 60).endOfTrack(); }));
  add("unmatched_on",
      song([](Track& t) { t.noteOn(10, 1, 60, 1).endOfTrack(); }));
  add("bank_select", song([](Track& t) {
        t.control(960, 0, 0, 5)
            .noteOn(0, 0, 60, 1)
            .noteOff(1, 0, 60)
            .endOfTrack();
      }));
  add("huge_meta", song([](Track& t) {
        t.raw({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
      }));
  add("many_measures", song(
                           [](Track& t) {
                             t.timeSignature(0, 1, 2)
                                 .noteOn(0, 0, 60, 1)
                                 .noteOff(0x0FFFFFFF, 0, 60)
                                 .endOfTrack();
                           },
                           0, 1));
  return out;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fputs("usage: make_seeds DIRECTORY\n", stderr);
    return 2;
  }
  try {
    for (const auto& [name, bytes] : seeds()) {
      smftest::writeBytes(std::string(argv[1]) + "/" + name + ".mid", bytes);
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make_seeds: %s\n", failure.what());
    return 1;
  }
  return 0;
}
