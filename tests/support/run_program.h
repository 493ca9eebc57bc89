// Runs the built seqsmith binary as a child process, without a shell, and
// collects what it did.
#ifndef SEQSMITH_TESTS_SUPPORT_RUN_PROGRAM_H_
#define SEQSMITH_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

namespace smftest {

struct RunResult {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs seqsmith with `args` (not including the program name) in the
// directory `workDir`, with empty standard input.
RunResult runSeqsmith(const std::vector<std::string>& args,
                      const std::string& workDir);

}  // namespace smftest

#endif  // SEQSMITH_TESTS_SUPPORT_RUN_PROGRAM_H_
