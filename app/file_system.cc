#include "app/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace {

// An open descriptor, closed on every way out.
class FileHandle {
 public:
  explicit FileHandle(const std::string& name)
      : fd_(::open(name.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }

 private:
  int fd_;
};

std::optional<timespec> lastWriteTime(const std::string& name) {
  FileHandle file(name);
  if (!file.isOpen()) return std::nullopt;
  struct stat info {};
  if (fstat(file.fd(), &info) != 0) return std::nullopt;
  return info.st_mtim;
}

}  // namespace

int compareWriteTimes(const std::string& inputName,
                      const std::string& outputName) {
  const std::optional<timespec> input = lastWriteTime(inputName);
  if (!input) return -1;
  const std::optional<timespec> output = lastWriteTime(outputName);
  if (!output) return -1;
  if (output->tv_sec != input->tv_sec) {
    return output->tv_sec > input->tv_sec ? 1 : -1;
  }
  if (output->tv_nsec != input->tv_nsec) {
    return output->tv_nsec > input->tv_nsec ? 1 : -1;
  }
  return 0;
}

bool isSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  if (stat(first.c_str(), &a) != 0 || stat(second.c_str(), &b) != 0) {
    return false;
  }
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
