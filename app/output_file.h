// OutputFile: the output text file of one conversion. Text reaches it
// through a TextStream; every write error is reported, and a file whose
// conversion failed can be discarded.
#ifndef SEQSMITH_APP_OUTPUT_FILE_H_
#define SEQSMITH_APP_OUTPUT_FILE_H_

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "events/text_stream.h"

class OutputFile : public TextSink {
 public:
  // Creates `name` or opens it to write over it; when closed, a regular
  // file holds exactly the text written. Throws my_exception "cannot open
  // NAME for writing" when it cannot.
  explicit OutputFile(std::string name);
  // Closes the file if still open, without reporting errors; the file
  // stays (and may still hold the end of an earlier, longer text).
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Throws my_exception "cannot write NAME" when the bytes cannot be
  // written.
  void write(std::string_view text) override;
  // Flushes and closes; throws my_exception "cannot write NAME" when that
  // fails.
  void close();
  // Closes and deletes the file after a failed conversion. Only a name
  // that is itself the regular file opened is deleted: devices, pipes,
  // symbolic links and the like are left alone.
  void discard() noexcept;

 private:
  std::string name_;
  std::FILE* file_;
  bool regular_ = false;  // opened a regular file, with this identity:
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

#endif  // SEQSMITH_APP_OUTPUT_FILE_H_
