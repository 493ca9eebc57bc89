// The commands of controller changes and parameter changes.
#include <array>
#include <string_view>

#include "events/diagnostics.h"
#include "events/event.h"

namespace {

enum class Shape {
  kNone,     // no command: nothing is written
  kValue,    // text, then the transformed value
  kSwitch,   // on-text when the value is 64 or more, else off-text
  kTextOnly  // text alone
};

struct ControllerCommand {
  Shape shape = Shape::kNone;
  std::string_view text;     // command, or the on-text of a switch
  std::string_view offText;  // switches only
  std::int32_t offset = 0;   // value rows: (v + offset) * scale
  std::int32_t scale = 1;
};

constexpr ControllerCommand value(std::string_view text,
                                  std::int32_t offset = 0,
                                  std::int32_t scale = 1) {
  return {Shape::kValue, text, {}, offset, scale};
}

constexpr ControllerCommand onOff(std::string_view on, std::string_view off) {
  return {Shape::kSwitch, on, off, 0, 1};
}

constexpr std::array<ControllerCommand, 128> makeTable() {
  std::array<ControllerCommand, 128> t{};
  t[0] = value("bank_select\t");
  t[1] = value("mod_depth\t");
  t[3] = value("init_pan\t");
  t[5] = value("porta_time\t");
  t[7] = value("volume\t");
  t[9] = value("span\t");
  t[10] = value("pan\t");
  t[11] = value("volume2\t");
  t[12] = value("main_volume\t");
  t[13] = value("transpose\t", -64);
  t[14] = value("prio\t");
  t[16] = value("setvar\tVAR_0,\t");
  t[17] = value("setvar\tVAR_1,\t");
  t[18] = value("setvar\tVAR_2,\t");
  t[19] = value("setvar\tVAR_3,\t");
  t[20] = value("bendrange\t");
  t[21] = value("mod_speed\t");
  t[22] = value("mod_type\t");
  t[23] = value("mod_range\t");
  t[26] = value("mod_delay\t");
  t[27] = value("mod_delay\t", 0, 10);
  t[28] = value("sweep_pitch\t", -64);
  t[29] = value("sweep_pitch\t", -64, 24);
  t[30] = value("biquad_type\t");
  t[31] = value("biquad_value\t");
  t[64] = onOff("damper_on", "damper_off");
  t[65] = onOff("porta_on", "porta_off");
  t[68] = onOff("monophonic_on", "monophonic_off");
  t[74] = value("lpf_cutoff\t");
  t[80] = value("setvar\tTVAR_0,\t");
  t[81] = value("setvar\tTVAR_1,\t");
  t[82] = value("setvar\tTVAR_2,\t");
  t[83] = value("setvar\tTVAR_3,\t");
  t[84] = value("porta\t");
  t[85] = value("attack\t");
  t[86] = value("decay\t");
  t[87] = value("sustain\t");
  t[88] = value("release\t");
  t[89] = value("loop_start\t");
  t[90] = {Shape::kTextOnly, "loop_end\t", {}, 0, 1};
  t[91] = value("fxsend_a\t");
  t[92] = value("fxsend_b\t");
  t[93] = value("fxsend_c\t");
  t[95] = value("mainsend\t");
  t[119] = onOff("frontbypass_on", "frontbypass_off");
  return t;
}

constexpr std::array<ControllerCommand, 128> kControllers = makeTable();

constexpr std::int32_t kBankSelect = 0;
constexpr std::int32_t kHighestBank = 3;

}  // namespace

TextStream& ControlChangeEvent::render(TextStream& out) const {
  if (controller < 0 ||
      controller >= static_cast<std::int32_t>(kControllers.size())) {
    return out;
  }
  const ControllerCommand& command =
      kControllers[static_cast<std::size_t>(controller)];
  if (controller == kBankSelect && (value < 0 || value > kHighestBank)) {
    throw ControlChangeEventException("Invalid bank_select value", controller,
                                      value, tick);
  }
  switch (command.shape) {
    case Shape::kNone:
      break;
    case Shape::kValue:
      out << command.text << (value + command.offset) * command.scale;
      break;
    case Shape::kSwitch:
      out << (value >= 64 ? command.text : command.offText);
      break;
    case Shape::kTextOnly:
      out << command.text;
      break;
  }
  return out;
}

TextStream& RpnNrpnEvent::render(TextStream& out) const {
  const std::int32_t parameter = parameterMsb * 256 + parameterLsb;
  if (parameter != 0) return out;
  if (kind == kRegistered) {
    out << "bendrange\t" << value;
  } else if (kind == kNonRegistered) {
    out << "env_reset";
  }
  return out;
}
