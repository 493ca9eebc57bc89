#include "app/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/my_exception.h"

namespace {

// Opens `name` for writing, creating it when missing, but without cutting
// an existing file to nothing: it is written over from the start and cut
// to the new length when closed. A build converts the same files again and
// again; freeing all of an old output's blocks at the open only to take
// new ones costs far more on some file systems (one discard request per
// freed extent, waited for) than writing over them.
std::FILE* openForWriting(const std::string& name) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

}  // namespace

OutputFile::OutputFile(std::string name)
    : name_(std::move(name)), file_(openForWriting(name_)) {
  if (file_ == nullptr) {
    throw my_exception("cannot open " + name_ + " for writing");
  }
  struct stat info {};
  if (fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode)) {
    regular_ = true;
    device_ = info.st_dev;
    inode_ = info.st_ino;
  }
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void OutputFile::write(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    throw my_exception("cannot write " + name_);
  }
}

void OutputFile::close() {
  if (file_ == nullptr) return;
  std::FILE* file = file_;
  file_ = nullptr;
  bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
  // What an earlier, longer file held beyond the new text goes.
  if (written && regular_) {
    const off_t length = ftello(file);
    written = length >= 0 && ftruncate(fileno(file), length) == 0;
  }
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw my_exception("cannot write " + name_);
}

void OutputFile::discard() noexcept {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  // The name itself must still be that regular file: a symbolic link
  // (/dev/stdout redirected to a file, say) is left alone.
  struct stat info {};
  if (regular_ && lstat(name_.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_dev == device_ && info.st_ino == inode_) {
    std::remove(name_.c_str());
  }
}
