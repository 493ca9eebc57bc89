// A directory for one test, removed with everything in it when the test
// ends, however it ends.
#ifndef SEQSMITH_TESTS_SUPPORT_TEMP_DIR_H_
#define SEQSMITH_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>

namespace smftest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// The whole contents of a file, or "<missing>" when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace smftest

#endif  // SEQSMITH_TESTS_SUPPORT_TEMP_DIR_H_
