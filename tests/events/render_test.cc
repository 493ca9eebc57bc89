// The command text of every event: notes, rests, calls, tempo, program
// changes, pitch bends, text lines, time signatures, controllers and
// parameter changes.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "events/diagnostics.h"
#include "events/event.h"
#include "events/measure.h"

namespace {

std::string rendered(const Event& event) {
  TextStream out;
  EXPECT_EQ(&event.render(out), &out);  // returns the stream it was given
  return out.text();
}

TEST(Render, NoteNamesAndOctaves) {
  const struct {
    int key;
    const char* text;
  } cases[] = {
      {0, "cnm1\t100,\t48"},  {1, "csm1\t100,\t48"}, {11, "bnm1\t100,\t48"},
      {12, "cn0\t100,\t48"},  {23, "bn0\t100,\t48"}, {60, "cn4\t100,\t48"},
      {61, "cs4\t100,\t48"},  {62, "dn4\t100,\t48"}, {63, "ds4\t100,\t48"},
      {64, "en4\t100,\t48"},  {65, "fn4\t100,\t48"}, {66, "fs4\t100,\t48"},
      {67, "gn4\t100,\t48"},  {68, "gs4\t100,\t48"}, {69, "an4\t100,\t48"},
      {70, "as4\t100,\t48"},  {71, "bn4\t100,\t48"}, {127, "gn9\t100,\t48"},
      {120, "cn9\t100,\t48"},
  };
  for (const auto& c : cases) {
    NoteEvent note(0, c.key, 100);
    note.end(48);
    EXPECT_EQ(rendered(note), c.text) << c.key;
  }
}

TEST(Render, NoteVelocityAndDurationNumbers) {
  NoteEvent silent(0, 60, 0);
  silent.end(96);
  EXPECT_EQ(rendered(silent), "cn4\t0,\t96");

  NoteEvent shortNote(0, 60, 127);
  shortNote.end(1);
  shortNote.rescale(480, 48);
  EXPECT_EQ(rendered(shortNote), "cn4\t127,\t1");

  // An open note prints its duration as an unsigned number.
  EXPECT_EQ(rendered(NoteEvent(0, 69, 64)), "an4\t64,\t4294967295");
}

TEST(Render, OtherEventTexts) {
  Pattern pattern;
  pattern.patternLabel = "SMF_song_Track_3_0";
  const struct {
    std::unique_ptr<Event> event;
    const char* text;
  } cases[] = {
      {std::make_unique<WaitEvent>(0, 96), "wait\t96"},
      {std::make_unique<WaitEvent>(0, 4294967295u), "wait\t4294967295"},
      {std::make_unique<PatternEvent>(0, pattern), "call\tSMF_song_Track_3_0"},
      {std::make_unique<TempoEvent>(0, 0x07, 0xA1, 0x20), "tempo\t120"},
      {std::make_unique<TempoEvent>(0, 0x0A, 0xAE, 0x60), "tempo\t85"},
      {std::make_unique<ProgramChangeEvent>(0, 0), "prg\t0"},
      {std::make_unique<ProgramChangeEvent>(0, 127), "prg\t127"},
      {std::make_unique<PitchBendEvent>(0, 8191), "pitchbend\t127"},
      {std::make_unique<PitchBendEvent>(0, 0), "pitchbend\t0"},
      {std::make_unique<PitchBendEvent>(0, -1), "pitchbend\t-1"},
      {std::make_unique<PitchBendEvent>(0, -65), "pitchbend\t-2"},
      {std::make_unique<PitchBendEvent>(0, -8192), "pitchbend\t-128"},
      {std::make_unique<BeatEvent>(0, 3, 2, 24, 8, 480), ""},
      // Text lines are written exactly as stored, leading spaces included.
      {std::make_unique<TextEvent>(0, "    jump\tSMF_a_Track_0_LoopStart"),
       "    jump\tSMF_a_Track_0_LoopStart"},
      {std::make_unique<TextEvent>(0, "\t; note 100%\t"), "\t; note 100%\t"},
      {std::make_unique<TextAllEvent>(0, "SMF_a_Track_5_LoopStart:"),
       "SMF_a_Track_5_LoopStart:"},
      {std::make_unique<TextEvent>(0, ""), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rendered(*c.event), c.text) << c.text;
  }
}

TEST(Render, RenderingAppendsToWhatTheStreamHolds) {
  TextStream out;
  out << "    ";
  BeatEvent(0, 4, 2, 24, 8, 480).render(out);
  EXPECT_EQ(out.text(), "    ");
  PitchBendEvent(0, -8192).render(ProgramChangeEvent(0, 5).render(out));
  EXPECT_EQ(out.text(), "    prg\t5pitchbend\t-128");
}

// The controller table: command text for value 100 (2 for bank select).
const std::map<int, std::string>& controllerRows() {
  static const std::map<int, std::string> rows = {
      {0, "bank_select\t2"},
      {1, "mod_depth\t100"},
      {3, "init_pan\t100"},
      {5, "porta_time\t100"},
      {7, "volume\t100"},
      {9, "span\t100"},
      {10, "pan\t100"},
      {11, "volume2\t100"},
      {12, "main_volume\t100"},
      {13, "transpose\t36"},
      {14, "prio\t100"},
      {16, "setvar\tVAR_0,\t100"},
      {17, "setvar\tVAR_1,\t100"},
      {18, "setvar\tVAR_2,\t100"},
      {19, "setvar\tVAR_3,\t100"},
      {20, "bendrange\t100"},
      {21, "mod_speed\t100"},
      {22, "mod_type\t100"},
      {23, "mod_range\t100"},
      {26, "mod_delay\t100"},
      {27, "mod_delay\t1000"},
      {28, "sweep_pitch\t36"},
      {29, "sweep_pitch\t864"},
      {30, "biquad_type\t100"},
      {31, "biquad_value\t100"},
      {64, "damper_on"},
      {65, "porta_on"},
      {68, "monophonic_on"},
      {74, "lpf_cutoff\t100"},
      {80, "setvar\tTVAR_0,\t100"},
      {81, "setvar\tTVAR_1,\t100"},
      {82, "setvar\tTVAR_2,\t100"},
      {83, "setvar\tTVAR_3,\t100"},
      {84, "porta\t100"},
      {85, "attack\t100"},
      {86, "decay\t100"},
      {87, "sustain\t100"},
      {88, "release\t100"},
      {89, "loop_start\t100"},
      {90, "loop_end\t"},
      {91, "fxsend_a\t100"},
      {92, "fxsend_b\t100"},
      {93, "fxsend_c\t100"},
      {95, "mainsend\t100"},
      {119, "frontbypass_on"},
  };
  return rows;
}

TEST(ControllerRender, EveryControllerNumber) {
  // Every number the 8-bit field can hold: the rows above, nothing else.
  for (int controller = 0; controller < 256; ++controller) {
    const ControlChangeEvent event(0, controller, controller == 0 ? 2 : 100);
    const auto row = controllerRows().find(controller);
    const std::string expected =
        row == controllerRows().end() ? "" : row->second;
    EXPECT_EQ(rendered(event), expected) << "controller " << controller;
  }
}

TEST(ControllerRender, SwitchesTurnOnAtSixtyFour) {
  const struct {
    int controller;
    const char* on;
    const char* off;
  } switches[] = {
      {64, "damper_on", "damper_off"},
      {65, "porta_on", "porta_off"},
      {68, "monophonic_on", "monophonic_off"},
      {119, "frontbypass_on", "frontbypass_off"},
  };
  for (const auto& s : switches) {
    EXPECT_EQ(rendered(ControlChangeEvent(0, s.controller, 0)), s.off);
    EXPECT_EQ(rendered(ControlChangeEvent(0, s.controller, 63)), s.off);
    EXPECT_EQ(rendered(ControlChangeEvent(0, s.controller, 64)), s.on);
    EXPECT_EQ(rendered(ControlChangeEvent(0, s.controller, 127)), s.on);
  }
}

TEST(ControllerRender, ScaledAndCentredValues) {
  const struct {
    int controller, value;
    const char* text;
  } cases[] = {
      {13, 0, "transpose\t-64"},      {13, 64, "transpose\t0"},
      {13, 127, "transpose\t63"},     {27, 0, "mod_delay\t0"},
      {27, 12, "mod_delay\t120"},     {27, 127, "mod_delay\t1270"},
      {28, 0, "sweep_pitch\t-64"},    {28, 64, "sweep_pitch\t0"},
      {28, 127, "sweep_pitch\t63"},   {29, 0, "sweep_pitch\t-1536"},
      {29, 63, "sweep_pitch\t-24"},   {29, 64, "sweep_pitch\t0"},
      {29, 127, "sweep_pitch\t1512"}, {7, 0, "volume\t0"},
      {90, 0, "loop_end\t"},          {90, 127, "loop_end\t"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rendered(ControlChangeEvent(0, c.controller, c.value)), c.text)
        << c.controller << " " << c.value;
  }
}

TEST(ControllerRender, BankSelectAcceptsZeroToThree) {
  for (int bank = 0; bank <= 3; ++bank) {
    EXPECT_EQ(rendered(ControlChangeEvent(0, 0, bank)),
              "bank_select\t" + std::to_string(bank));
  }
  for (int bank : {4, 5, 127}) {
    TextStream out;
    out << "    ";
    try {
      ControlChangeEvent(960, 0, bank).render(out);
      ADD_FAILURE() << "bank " << bank << " was accepted";
    } catch (const ControlChangeEventException& e) {
      EXPECT_STREQ(e.what(), "Invalid bank_select value");
      EXPECT_EQ(e.message, "Invalid bank_select value");
      EXPECT_EQ(e.controller, 0);
      EXPECT_EQ(e.value, bank);
      EXPECT_EQ(e.measure, 0u);
      EXPECT_EQ(e.beat, 0u);
      EXPECT_EQ(e.tick, 960u);
      EXPECT_EQ(e.fileName, "");
    }
    EXPECT_EQ(out.text(), "    ");  // nothing written for the event
  }
}

TEST(ControllerRender, ParameterChanges) {
  const struct {
    int kind, msb, lsb, value;
    const char* text;
  } cases[] = {
      {0, 0, 0, 12, "bendrange\t12"},
      {0, 0, 0, 0, "bendrange\t0"},
      {0, 0, 1, 12, ""},
      {0, 1, 0, 12, ""},
      {1, 0, 0, 0, "env_reset"},
      {1, 0, 0, 127, "env_reset"},
      {1, 1, 0, 5, ""},
      {1, 0, 1, 5, ""},
      {2, 0, 0, 5, ""},
      {-1, 0, 0, 5, ""},
      {0, 256, 0, 2, "bendrange\t2"},  // parameter bytes keep 8 bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rendered(RpnNrpnEvent(0, c.kind, c.msb, c.lsb, c.value)), c.text)
        << c.kind << " " << c.msb << "/" << c.lsb;
  }
}

}  // namespace
