// The driver's general failure: an output file that cannot be opened or
// written. Carries only its message.
#ifndef SEQSMITH_APP_MY_EXCEPTION_H_
#define SEQSMITH_APP_MY_EXCEPTION_H_

#include <exception>
#include <string>

class my_exception : public std::exception {
 public:
  explicit my_exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

#endif  // SEQSMITH_APP_MY_EXCEPTION_H_
