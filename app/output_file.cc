#include "app/output_file.h"

#include <sys/stat.h>

#include "app/my_exception.h"

OutputFile::OutputFile(std::string name)
    : name_(std::move(name)), file_(std::fopen(name_.c_str(), "wb")) {
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
  const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
  const bool closed = std::fclose(file) == 0;
  if (!flushed || !closed) throw my_exception("cannot write " + name_);
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
