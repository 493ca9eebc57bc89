// The usage text seqsmith prints, line for line, for the tests that check
// it from the inside and through the built program.
#ifndef SEQSMITH_TESTS_SUPPORT_USAGE_TEXT_H_
#define SEQSMITH_TESTS_SUPPORT_USAGE_TEXT_H_

namespace smftest {

inline constexpr char kUsageText[] =
    "Orvane_SeqSmith Ver.0.1.0\n"
    "Converts Standard MIDI Files into sequence text listings.\n"
    "\n"
    "\n"
    "Usage:\n"
    "  Orvane_SeqSmith [option...] file...\n"
    "\n"
    "Options:\n"
    "  -v, --verbose explain what is being done\n"
    "  -o filename   specify output filename\n"
    "      --timebase timebase\n"
    "                specify timebase\n"
    "  -u, --update  update only when input file is newer than output file\n"
    "  -h, --help    display this help and exit\n";

}  // namespace smftest

#endif  // SEQSMITH_TESTS_SUPPORT_USAGE_TEXT_H_
