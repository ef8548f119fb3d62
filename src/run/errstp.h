// The single fatal stop of a run.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace vortan {

// Thrown by ERRSTP once the whole error report is written; only the program's main
// turns it into the end of the process. Tests catch it to check a fatal path.
class FatalStop : public std::exception {
 public:
  explicit FatalStop(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// Writes the 40-character message, the error block with the last card read and the
// error file, closes the listing and throws FatalStop. Never returns.
[[noreturn]] void ERRSTP(std::string_view message);

}  // namespace vortan
