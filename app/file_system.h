// The few file-system questions the driver asks: last-write times for the
// update mode, and whether two names are one file.
#ifndef SEQSMITH_APP_FILE_SYSTEM_H_
#define SEQSMITH_APP_FILE_SYSTEM_H_

#include <string>

// 1 when the output was last written after the input, 0 when at the same
// time (to the nanosecond), -1 when before or when either file cannot be
// opened or its time read.
int compareWriteTimes(const std::string& inputName,
                      const std::string& outputName);

// True when both names exist and are the same file (device and inode).
bool isSameFile(const std::string& first, const std::string& second);

#endif  // SEQSMITH_APP_FILE_SYSTEM_H_
